#include "VelkinUI/PaintedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>

namespace tessaron::PaintedText {

namespace {

QList<Drawn>* recording = nullptr;

void note(QPainter& painter, const QRectF& box, const QRectF& bounds, int flags, const QString& shown,
          const QString& whole)
{
    // Painting a widget, even redirected into a picture of it, the device is the widget.
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Widget)
        return;
    const auto* widget = static_cast<const QWidget*>(device);
    const QTransform& toWidget = painter.worldTransform();
    recording->append(Drawn{widget, toWidget.mapRect(box), toWidget.mapRect(bounds), flags, shown,
                            whole == shown ? QString() : whole, painter.font()});
}

} // namespace

QRectF draw(QPainter& painter, const QRectF& box, int flags, const QString& shown, const QString& whole)
{
    QRectF bounds;
    painter.drawText(box, flags, shown, &bounds);
    if (recording && !shown.trimmed().isEmpty())
        note(painter, box, bounds, flags, shown, whole);
    return bounds;
}

void draw(QPainter& painter, const QPointF& baseline, const QString& shown)
{
    painter.drawText(baseline, shown);
    if (recording && !shown.trimmed().isEmpty()) {
        const QFontMetricsF metrics(painter.font());
        const QRectF bounds(baseline.x(), baseline.y() - metrics.ascent(), metrics.horizontalAdvance(shown),
                            metrics.height());
        note(painter, bounds, bounds, Qt::AlignLeft | Qt::AlignVCenter, shown, {});
    }
}

bool isRecording() { return recording != nullptr; }

Recording::Recording()
{
    Q_ASSERT(!recording);
    recording = &m_drawn;
}

Recording::~Recording() { recording = nullptr; }

} // namespace tessaron::PaintedText
