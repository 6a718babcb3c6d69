#include "Tessaron/reception/ReceptionWidgets.h"

#include "VelkinUI/AccessibilitySettings.h"

#include <QPainter>
#include <QTimer>

namespace tessaron::reception {

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap)
{
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    l->setFont(font);
    l->setWordWrap(wrap);
    setTextColor(l, color);
    return l;
}

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, const QFont& font, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_mode(mode)
    , m_color(color)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::setText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    setToolTip(text);
    setAccessibleName(text);
    updateGeometry();
    update();
}

void ElidedLabel::setColor(const QColor& color)
{
    m_color = color;
    update();
}

QString ElidedLabel::shownText() const { return fontMetrics().elidedText(m_text, m_mode, width()); }

QSize ElidedLabel::sizeHint() const { return QSize(fontMetrics().horizontalAdvance(m_text), fontMetrics().height()); }

QSize ElidedLabel::minimumSizeHint() const { return QSize(20, fontMetrics().height()); }

void ElidedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(m_color);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, shownText());
}

Spinner::Spinner(double size, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_size(size)
    , m_color(color)
    , m_timer(new QTimer(this))
{
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 8;
        update();
    });
}

QSize Spinner::sizeHint() const { return QSize(int(std::ceil(m_size)), int(std::ceil(m_size))); }

void Spinner::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!AccessibilitySettings::instance().reduceMotion())
        m_timer->start();
}

void Spinner::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer->stop();
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const double outer = m_size / 2.0;
    for (int i = 0; i < 8; ++i) {
        QColor c = m_color;
        c.setAlphaF(float(0.2 + 0.8 * ((i - m_step + 8) % 8) / 7.0));
        painter.save();
        painter.translate(centre);
        painter.rotate(45.0 * i);
        painter.setPen(QPen(c, std::max(1.5, m_size / 9.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -outer * 0.45), QPointF(0, -outer * 0.9));
        painter.restore();
    }
}

} // namespace tessaron::reception
