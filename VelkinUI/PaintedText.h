#pragma once

#include <QFont>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QString>

class QPainter;
class QWidget;

namespace tessaron::PaintedText {

// The one way a widget (or a delegate) paints its own text: drawn as QPainter::drawText draws it
// and, while a Recording runs, noted with where it lies, so a check of what a person sees reads
// painted text as it reads a label's. Outside a recording it costs one test of a flag.
//
// The text is noted on the widget painted on (a delegate's: its view's viewport); `whole` is the
// text `shown` was cut from, when it was elided. Returns the rectangle the text takes.
QRectF draw(QPainter& painter, const QRectF& box, int flags, const QString& shown, const QString& whole = {});
// One line from its baseline's start.
void draw(QPainter& painter, const QPointF& baseline, const QString& shown);

struct Drawn {
    QPointer<const QWidget> widget;
    QRectF box;    // the rectangle given, in the widget's coordinates
    QRectF bounds; // what the text takes, in the widget's coordinates
    int flags = 0;
    QString shown;
    QString whole; // the text it was elided from, or empty
    QFont font;
};

// Whether a Recording runs: text kept as a picture must then be drawn again, to be noted.
bool isRecording();

// Notes every text drawn while it lives (one at a time).
class Recording {
public:
    Recording();
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    const QList<Drawn>& drawn() const { return m_drawn; }

private:
    QList<Drawn> m_drawn;
};

} // namespace tessaron::PaintedText
