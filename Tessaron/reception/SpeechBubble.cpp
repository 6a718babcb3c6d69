#include "Tessaron/reception/SpeechBubble.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/KitFont.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <mutex>

namespace tessaron {

namespace {

constexpr double padX = 11.0;
constexpr double padY = 8.0;

QFont bubbleFont(double size) { return KitFont::font(size, QFont::DemiBold, FontDesign::rounded); }

// Breaks `text` into lines of at most `width`; the last allowed line takes the rest, elided.
QStringList breakLines(const QString& text, const QFont& font, double width, int maxLines, bool* overflow)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    *overflow = false;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == maxLines) {
            *overflow = true;
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (*overflow && !lines.isEmpty()) {
        const int consumed = [&] {
            int n = 0;
            for (int i = 0; i < layout.lineCount() && i < maxLines - 1; ++i)
                n += layout.lineAt(i).textLength();
            return n;
        }();
        const QFontMetricsF metrics(font);
        lines.last() = metrics.elidedText(text.mid(consumed).trimmed(), Qt::ElideRight, width);
    }
    return lines;
}

// The mascot's sentence reads as a notification: a screen reader speaks one when it appears, as
// each new sentence replaces the bubble with a new one.
class SpeechBubbleAccessible : public QAccessibleWidget {
public:
    explicit SpeechBubbleAccessible(SpeechBubble* bubble)
        : QAccessibleWidget(bubble, QAccessible::Notification)
    { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const SpeechBubble*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* bubbleAccessible(const QString&, QObject* object)
{
    if (auto* bubble = qobject_cast<SpeechBubble*>(object))
        return new SpeechBubbleAccessible(bubble);
    return nullptr;
}

} // namespace

SpeechBubble::SpeechBubble(const QString& text, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(bubbleAccessible); });
    setAttribute(Qt::WA_TranslucentBackground);
    setAccessibleName(text);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fit();
}

void SpeechBubble::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Announced once it can be heard: a reader that skips a notification's appearance still hears
    // a name change, which before the first show would reach nobody.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void SpeechBubble::fit()
{
    // The largest size from 12 down to 85 % of it at which the whole text fits in three lines.
    bool overflow = true;
    for (double size = 12.0; size >= 12.0 * 0.85 - 1e-9; size -= 0.2) {
        m_fittedSize = std::max(size, 12.0 * 0.85);
        m_lines = breakLines(m_text, bubbleFont(m_fittedSize), textWidth, maxLines, &overflow);
        if (!overflow)
            return;
    }
}

QSize SpeechBubble::sizeHint() const
{
    const QFontMetricsF metrics(bubbleFont(m_fittedSize));
    const double height = std::max<qsizetype>(1, m_lines.size()) * metrics.lineSpacing();
    return QSize(int(textWidth + 2 * padX), int(std::ceil(height + 2 * padY)));
}

void SpeechBubble::paintEvent(QPaintEvent*)
{
    using namespace TessaronPalette;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.4, 0.4, -0.4, -0.4);
    QPainterPath shape;
    shape.addRoundedRect(box, 12, 12);
    painter.fillPath(shape, TessaronPalette::bubbleFill());
    painter.setPen(QPen(TessaronPalette::bubbleEdge(), 0.8));
    painter.drawPath(shape);

    const QFont font = bubbleFont(m_fittedSize);
    painter.setFont(font);
    painter.setPen(withOpacity(ink(), 0.92));
    const QFontMetricsF metrics(font);
    const double blockHeight = m_lines.size() * metrics.lineSpacing();
    double y = (height() - blockHeight) / 2.0;
    for (const QString& line : m_lines) {
        PaintedText::draw(painter, QRectF(padX, y, textWidth, metrics.lineSpacing()),
                          Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += metrics.lineSpacing();
    }
}

} // namespace tessaron
