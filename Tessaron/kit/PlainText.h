#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

// Text from a broker or a person (names, keys, headers, payloads, ids, search text) is shown as it
// stands, never read as markup: a label or tooltip that took `<img src="…">` as rich text would load
// the file it names. Every label and tooltip of the application goes through here.
namespace tessaron::PlainText {

// A label that draws `text` as plain text, in a font and colour; wrapping when asked.
QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent = nullptr,
              bool wrap = false);
// The colour of a label's (or any widget's) text, set on the widget itself so it survives
// re-parenting; a light colour is made legible (TessaronPalette::legible).
void setTextColor(QWidget* widget, const QColor& color);

// `text` as a tooltip shows it: escaped into rich text, so nothing in it is read as a tag.
QString toolTip(const QString& text);
void setToolTip(QWidget* widget, const QString& text);

// A name inside a composed sentence, between first-strong isolates, so a right-to-left name or a
// direction override cannot turn the sentence around it.
QString isolate(const QString& name);

} // namespace tessaron::PlainText
