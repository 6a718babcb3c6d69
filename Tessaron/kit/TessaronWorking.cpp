#include "Tessaron/kit/TessaronWorking.h"

#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitFont.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tessaron {

TessaronWorking::TessaronWorking(double stepSeconds, QWidget* parent)
    : QWidget(parent)
    , m_step(stepSeconds > 0 ? stepSeconds : 4)
    , m_mascot(new TessaronMascot(56, 0, this))
    , m_caption(new QLabel(this))
    , m_timer(new QTimer(this))
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(14);
    column->addStretch(1);
    column->addWidget(m_mascot, 0, Qt::AlignHCenter);
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setFont(KitFont::font(11, QFont::Medium, FontDesign::rounded));
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setWordWrap(true);
    QPalette p = m_caption->palette();
    p.setColor(QPalette::WindowText, TessaronPalette::white(0.6));
    m_caption->setPalette(p);
    column->addWidget(m_caption);
    column->addStretch(1);
    connect(m_timer, &QTimer::timeout, this, &TessaronWorking::tick);
    m_started.start();
    tick();
}

int TessaronWorking::stage(double elapsedSeconds, double stepSeconds)
{
    if (stepSeconds <= 0 || elapsedSeconds < 0)
        return 0;
    return int(std::clamp(std::floor(elapsedSeconds / stepSeconds), 0.0, 3.0));
}

QString TessaronWorking::caption(int stage)
{
    switch (stage) {
    case 0:
        return L10n::t("Tessaron's reading…");
    case 1:
        return L10n::t("Still reading. It's a long one.");
    case 2:
        return L10n::t("Okay, this topic is a lot.");
    default:
        return L10n::t("Taking a while — the broker's being cagey.");
    }
}

QString TessaronWorking::currentCaption() const { return m_caption->text(); }

void TessaronWorking::restart()
{
    m_started.restart();
    tick();
}

void TessaronWorking::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    const bool reduce = motionReduced();
    m_timer->start(reduce ? 1000 : 1000 / 12);
}

void TessaronWorking::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_timer->stop();
}

void TessaronWorking::tick()
{
    const double elapsed = m_started.elapsed() / 1000.0;
    const QString text = caption(stage(elapsed, m_step));
    if (m_caption->text() != text)
        crossFadeText(m_caption, text, decorativeMotion(this, Motion::easeInOut(0.3)));
    m_mascot->setBoops(motionReduced() ? 0 : int(std::floor(elapsed / 1.6)));
}

} // namespace tessaron
