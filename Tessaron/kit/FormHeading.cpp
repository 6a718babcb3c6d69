#include "Tessaron/kit/FormHeading.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/PaintedTextAccessible.h"

#include <QPainter>

#include <cmath>

namespace tessaron {

namespace {
QFont badgeFont() { return KitFont::font(9, QFont::Black, FontDesign::monospaced); }
QFont textFont() { return KitFont::font(9, QFont::Black, FontDesign::monospaced, 1.4); }
constexpr double spacing = 7.0;
} // namespace

FormHeading::FormHeading(const QString& text, std::optional<int> number, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_number(number)
    , m_tint(tint)
{
    PaintedTextAccessible::mark(this, QAccessible::Heading);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(displayedText());
}

QString FormHeading::badgeText(int number) { return QString::asprintf("%02d", number); }

QString FormHeading::displayedText() const { return m_text.toUpper(); }

void FormHeading::setText(const QString& text)
{
    m_text = text;
    setAccessibleName(displayedText());
    updateGeometry();
    update();
}

QSize FormHeading::minimumSizeHint() const
{
    const QFontMetricsF text(textFont());
    double w = text.horizontalAdvance(displayedText());
    double h = text.height();
    if (m_number) {
        const QFontMetricsF badge(badgeFont());
        w += badge.horizontalAdvance(badgeText(*m_number)) + 10 + spacing;
        h = std::max(h, badge.height() + 4);
    }
    return QSize(int(std::ceil(w + spacing + 8)), int(std::ceil(h)));
}

QSize FormHeading::sizeHint() const { return minimumSizeHint(); }

void FormHeading::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double cy = height() / 2.0;
    double x = 0;
    if (m_number) {
        const QString badge = badgeText(*m_number);
        const QFontMetricsF fm(badgeFont());
        const QRectF pill(x, cy - (fm.height() + 4) / 2, fm.horizontalAdvance(badge) + 10, fm.height() + 4);
        painter.setPen(Qt::NoPen);
        painter.setBrush(TessaronPalette::withOpacity(m_tint, 0.13));
        painter.drawRoundedRect(pill, 4, 4);
        painter.setFont(badgeFont());
        painter.setPen(TessaronPalette::withOpacity(m_tint, 0.85));
        PaintedText::draw(painter, pill, Qt::AlignCenter, badge);
        x = pill.right() + spacing;
    }
    const QFontMetricsF fm(textFont());
    const QString text = displayedText();
    painter.setFont(textFont());
    painter.setPen(m_tint);
    const double tw = fm.horizontalAdvance(text);
    PaintedText::draw(painter, QRectF(x, 0, tw + 2, height()), Qt::AlignVCenter | Qt::AlignLeft, text);
    x += tw + spacing;
    if (x < width())
        painter.fillRect(QRectF(x, std::floor(cy), width() - x, 1.0), TessaronPalette::headingRule());
}

} // namespace tessaron
