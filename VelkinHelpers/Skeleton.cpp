#include "VelkinHelpers/Skeleton.h"

#include "VelkinUI/MotionAnimation.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

namespace {

QColor white(double opacity)
{
    QColor c(Qt::white);
    c.setAlphaF(opacity);
    return c;
}

} // namespace

SkeletonRow::SkeletonRow(double width, double height, QWidget* parent)
    : QWidget(parent)
    , m_width(std::max(0.0, width))
    , m_height(std::max(0.0, height))
    , m_sweep(new MotionAnimation(this))
{
    m_sweep->setMotion(Motion::easeInOut(sweepMs / 1000.0));
    m_sweep->setStartValue(startPhase);
    m_sweep->setEndValue(endPhase);
    m_sweep->setLoopCount(-1);
    connect(m_sweep, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_phase = value.toDouble();
        update();
        emit phaseChanged(m_phase);
    });
    setFixedSize(sizeHint());
}

QSize SkeletonRow::sizeHint() const { return QSize(int(std::ceil(m_width)), int(std::ceil(m_height))); }

void SkeletonRow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_sweep->state() == QAbstractAnimation::Paused)
        m_sweep->resume();
    else if (m_sweep->state() == QAbstractAnimation::Stopped)
        m_sweep->start();
}

void SkeletonRow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Nothing to sweep while nobody sees it; showing it again carries on.
    if (m_sweep->state() == QAbstractAnimation::Running)
        m_sweep->pause();
}

void SkeletonRow::paintEvent(QPaintEvent*)
{
    const QRectF bar(QPointF((width() - m_width) / 2.0, (height() - m_height) / 2.0), QSizeF(m_width, m_height));
    if (bar.isEmpty())
        return;
    QLinearGradient band(QPointF(bar.left() + m_phase * bar.width(), bar.center().y()),
                         QPointF(bar.left() + (m_phase + 1.0) * bar.width(), bar.center().y()));
    band.setColorAt(0.0, white(0.05));
    band.setColorAt(0.5, white(0.18));
    band.setColorAt(1.0, white(0.05));
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(band);
    painter.drawRoundedRect(bar, 4.0, 4.0);
}

SkeletonList::SkeletonList(int rows, const QList<double>& widths, QWidget* parent)
    : QWidget(parent)
    , m_rows(rows)
    , m_widths(widths)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 0);
    column->setSpacing(10);
    column->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // Without widths there is nothing to cycle through: the column stays empty.
    if (m_widths.isEmpty())
        return;
    for (int i = 0; i < rows; ++i) {
        auto* bar = new SkeletonRow(m_widths.at(i % m_widths.size()), 10.0, this);
        column->addWidget(bar, 0, Qt::AlignLeft);
        m_bars.append(bar);
    }
}

} // namespace tessaron
