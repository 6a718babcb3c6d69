#pragma once

#include <QImage>
#include <QList>
#include <QRegularExpression>
#include <QString>

class QWidget;

namespace tessaron::testing {

// What a person sees, checked on any widget tree. One audit renders the tree once (at the scale
// asked for), then reports every fault it finds at once:
//   contrast    a visible, enabled text (label, button, line edit, chip, list row) whose drawn
//               pixels stand below 4.5:1 against the commonest colour behind them (3:1 for large
//               text: 18 pt, or 14 pt bold);
//   overlap     two visible siblings that hold text cover each other;
//   cut         a text reaches past its window, or past what its ancestors show, without a scroll
//               area a person can scroll to it (across, only a bar that is on, shown and enabled;
//               one switched off reaches nothing, whatever its range);
//   room        a label or button asks for more room than it has and is not an elided label whose
//               tooltip carries its whole text;
//   rich        a label or tooltip holding text from data (the fakes' markers) is drawn as rich text;
//   unnamed     a button that shows no text has no accessible name;
//   outcome     (outcomeInView) a sheet's outcome lies outside what the sheet shows.
// A text widget is anything with a non-empty "text" property (a multi-line field: its plain text).
// Each text a widget or a list's delegate paints through PaintedText::draw is checked on its own,
// where it was drawn: contrast, room (wider than its box or its widget, or elided from a text no
// tooltip carries), overlap with the widget's other texts; and its widget's reach.
struct FaceViolation {
    QString where; // "<screen>-<state>" and the scale, as the caller named them
    QString rule;
    QString widget; // class#objectName "text"
    QString detail;

    QString toString() const;
};

// A fault the suite knows of, with the reason; `where`, `widget` are regular expressions.
struct FaceException {
    QString where;
    QString rule;
    QString widget;
    QString reason;
};

class FaceAudit {
public:
    // The texts the fakes feed as names, keys, headers and payloads: a label showing one of them
    // as rich text is a fault.
    static const QStringList& hostileTexts();

    // Audits `root` drawn at `scale`; `where` names the screen and state in the report.
    QList<FaceViolation> audit(QWidget* root, const QString& where, int scale = 1);

    // The hook for sheets that write: `outcome` must lie within what `sheet` shows.
    static QList<FaceViolation> outcomeInView(QWidget* sheet, QWidget* outcome, const QString& where);

    // Tab from the focus of `window` round its chain: every stop is shown and draws a ring when
    // the keyboard gives it focus (what is drawn in and just around it differs from the unfocused
    // picture by at least half its outline, each changed pixel at 3:1 against what it replaced; a
    // text cursor alone is not a ring). `window` must be the active window.
    static QList<FaceViolation> focusRings(QWidget* window, const QString& where);

    // WCAG contrast of two opaque colours, 1 to 21.
    static double contrast(QRgb a, QRgb b);
    // The contrast of what is drawn in `crop` against its commonest colour (1 when nothing is).
    static double drawnContrast(const QImage& crop);

    // Drops what `exceptions` excuse.
    static QList<FaceViolation> excuse(const QList<FaceViolation>& found, const QList<FaceException>& exceptions);
};

} // namespace tessaron::testing
