#include "VelkinUI/ShimmerText.h"

#include "VelkinUI/AuroraBackground.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/PaintedTextAccessible.h"
#include "VelkinUI/VelkinPalette.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>

namespace tessaron {

ShimmerText::ShimmerText(const QString& text, double size, QFont::Weight weight, FontDesign design, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_size(size)
    , m_weight(weight)
    , m_design(design)
    , m_timer(new QTimer(this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    PaintedTextAccessible::mark(this);
    setAccessibleName(text);
    m_timer->setInterval(1000 / 30);
    connect(m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_timer->start();
}

void ShimmerText::setFontSize(double size)
{
    m_size = size;
    updateGeometry();
    update();
}

void ShimmerText::setWeight(QFont::Weight weight)
{
    m_weight = weight;
    updateGeometry();
    update();
}

void ShimmerText::setDesign(FontDesign design)
{
    m_design = design;
    updateGeometry();
    update();
}

QFont ShimmerText::textFont() const { return KitFont::font(m_size, m_weight, m_design); }

double ShimmerText::bandPosition(double t)
{
    const double cycle = std::fmod(t / 3.0, 1.0);
    return 1.6 * cycle - 0.3;
}

QSize ShimmerText::sizeHint() const
{
    const QFontMetricsF fm(textFont());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text))), int(std::ceil(fm.height())));
}

void ShimmerText::paintAt(QPainter& painter, double t) const
{
    const QFont font = textFont();
    const QFontMetricsF fm(font);
    QPainterPath letters;
    letters.addText(QPointF(0, fm.ascent()), font, m_text);
    const QRectF box(QPointF(0, 0), QSizeF(sizeHint()));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(letters);
    const QList<QColor> palette = Brand::palette();
    QLinearGradient fill(box.topLeft(), box.topRight());
    fill.setColorAt(0.0, palette.at(0));
    fill.setColorAt(0.5, palette.at(1));
    fill.setColorAt(1.0, palette.at(2));
    painter.fillRect(box, fill);
    const double b = bandPosition(t);
    // The band shows only while some of it lies over the text.
    if (b + 0.15 > 0.0 && b - 0.15 < 1.0) {
        QLinearGradient band(box.topLeft(), box.topRight());
        const double lo = std::max(b - 0.15, 0.0);
        const double mid = std::clamp(b, 0.0, 1.0);
        const double hi = std::min(b + 0.15, 1.0);
        band.setColorAt(lo, VelkinPalette::light(lo < mid ? 0.0f : VelkinPalette::shimmerPeak().alphaF()));
        band.setColorAt(mid, VelkinPalette::shimmerPeak());
        band.setColorAt(hi, VelkinPalette::light(hi > mid ? 0.0f : VelkinPalette::shimmerPeak().alphaF()));
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.fillRect(box, band);
    }
    painter.restore();
}

void ShimmerText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintAt(painter, AuroraBackground::referenceSeconds());
}

} // namespace tessaron
