#include "Tessaron/kit/SlamStamp.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/ImageBlur.h"
#include "VelkinUI/KeyframePlayer.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/TransformEffect.h"
#include "VelkinUI/PaintedTextAccessible.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

namespace {
QFont slamFont() { return KitFont::font(15, QFont::Black, FontDesign::rounded, 2.5); }
constexpr int bleed = 6; // room for the blurred ink around the rim
} // namespace

SlamStamp::SlamStamp(const QString& text, const QColor& color, int trigger, QWidget* parent)
    : KeyframedDecoration(
        {
            KeyframeTrack(1.0,
                          {Keyframe::linear(2.2, 0.001), Keyframe::withSpring(0.94, 0.17, 0.5, 0.15),
                           Keyframe::withSpring(1.0, 0.22, 0.5, 0.3)}),
            KeyframeTrack(1.0, {Keyframe::linear(0.0, 0.001), Keyframe::linear(1.0, 0.1)}),
        },
        trigger, parent)
    , m_text(text)
    , m_color(color)
{
    PaintedTextAccessible::mark(this);
    setAccessibleName(text);
    const QSize size = sizeHint();
    settle(size, std::max(size.width(), size.height()) * 0.8);
}

QSize SlamStamp::sizeHint() const
{
    const QFontMetricsF fm(slamFont());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text) + 28)) + 2 * bleed,
                 int(std::ceil(fm.height() + 14)) + 2 * bleed);
}

void SlamStamp::setTrigger(int trigger) { retrigger(trigger); }

SlamStamp::Slam SlamStamp::current() const { return Slam{player()->value(0), player()->value(1)}; }

void SlamStamp::apply()
{
    const Slam s = current();
    const QPointF centre = QRectF(rect()).center();
    effect()->setTransform(Transforms::rotateAbout(tilt, centre) * Transforms::scaleAbout(s.scale, s.scale, centre));
    effect()->setOpacity(s.opacity);
}

void SlamStamp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(bleed, bleed, -bleed, -bleed);
    painter.setFont(slamFont());
    painter.setPen(m_color);
    PaintedText::draw(painter, box.adjusted(14, 7, -14, -7), Qt::AlignCenter, m_text);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(TessaronPalette::withOpacity(m_color, 0.85), 2.5));
    painter.drawRoundedRect(box.adjusted(1.25, 1.25, -1.25, -1.25), 6, 6);
    // The soft bleed of the ink: a wider, fainter rim, blurred.
    const qreal dpr = devicePixelRatioF();
    QImage ink(size() * dpr, QImage::Format_ARGB32_Premultiplied);
    ink.setDevicePixelRatio(dpr);
    ink.fill(Qt::transparent);
    {
        QPainter p(&ink);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(TessaronPalette::withOpacity(m_color, 0.35), 5.0));
        p.drawRoundedRect(box.adjusted(2.5, 2.5, -2.5, -2.5), 6, 6);
    }
    ImageBlur::blur(ink, 2.0 * dpr);
    painter.drawImage(QPointF(0, 0), ink);
}

} // namespace tessaron
