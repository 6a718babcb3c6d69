#include "Tessaron/kit/LawyeredStamp.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/TransformEffect.h"
#include "VelkinUI/PaintedTextAccessible.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

namespace {
QFont stampFont() { return KitFont::font(9, QFont::Black, FontDesign::rounded, 1.2); }
} // namespace

LawyeredStamp::LawyeredStamp(const QString& text, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_color(color)
{
    PaintedTextAccessible::mark(this);
    auto* effect = new TransformEffect(this);
    // A stamp changes only with its text: its tilted picture is kept between paints.
    effect->setKeepsSource(true);
    setGraphicsEffect(effect);
    fit();
}

void LawyeredStamp::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    fit();
    static_cast<TransformEffect*>(graphicsEffect())->sourceChanged();
}

void LawyeredStamp::fit()
{
    setAccessibleName(m_text);
    setFixedSize(sizeHint());
    static_cast<TransformEffect*>(graphicsEffect())
        ->setTransform(Transforms::rotateAbout(tilt, QRectF(QPointF(0, 0), QSizeF(sizeHint())).center()));
}

QSize LawyeredStamp::sizeHint() const
{
    const QFontMetricsF fm(stampFont());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text) + 18)), int(std::ceil(fm.height() + 8)));
}

void LawyeredStamp::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = r.height() / 2;
    painter.setBrush(TessaronPalette::stampGround());
    painter.setPen(QPen(TessaronPalette::withOpacity(m_color, 0.75), 1.0));
    painter.drawRoundedRect(r, radius, radius);
    painter.setFont(stampFont());
    painter.setPen(m_color);
    PaintedText::draw(painter, QRectF(rect()).adjusted(9, 4, -9, -4), Qt::AlignCenter, m_text);
}

} // namespace tessaron
