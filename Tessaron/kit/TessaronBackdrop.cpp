#include "Tessaron/kit/TessaronBackdrop.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/WelcomeDots.h"

#include <QPainter>
#include <QRadialGradient>

namespace tessaron {

TessaronBackdrop::TessaronBackdrop(const QColor& tint, bool quiet, QWidget* parent)
    : QWidget(parent)
    , m_tint(tint)
    , m_quiet(quiet)
{
    setAutoFillBackground(false);
}

void TessaronBackdrop::paintBackdrop(QPainter& painter, const QRectF& rect, const QColor& tint, bool quiet)
{
    painter.save();
    painter.fillRect(rect, TessaronPalette::canvas());
    const double endRadius = quiet ? 820.0 : 620.0;
    const double startRadius = 10.0;
    QRadialGradient glow(rect.topRight(), endRadius);
    glow.setColorAt(0.0, TessaronPalette::withOpacity(tint, quiet ? 0.07 : 0.12));
    glow.setColorAt(startRadius / endRadius, TessaronPalette::withOpacity(tint, quiet ? 0.07 : 0.12));
    glow.setColorAt(1.0, TessaronPalette::withOpacity(tint, 0.0));
    painter.fillRect(rect, glow);
    painter.translate(rect.topLeft());
    painter.setOpacity(quiet ? 0.22 : 0.45);
    WelcomeDots::paintDots(painter, rect.size());
    painter.restore();
}

void TessaronBackdrop::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBackdrop(painter, QRectF(rect()), m_tint, m_quiet);
}

} // namespace tessaron
