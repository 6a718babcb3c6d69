#include "Tessaron/intro/WelcomeIntroduction.h"

#include "Tessaron/intro/IntroLogic.h"
#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/PersonnelBadge.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/ViewMotion.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

namespace {

class Chip : public QWidget {
public:
    Chip(const QString& symbol, const QString& label)
    {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(11, 7, 11, 7);
        row->setSpacing(6);
        row->addWidget(new SymbolView(symbol, 10, TessaronPalette::muted()));
        auto* l = intro::text(label, 10, TessaronPalette::muted(), QFont::Medium);
        l->setWordWrap(false);
        row->addWidget(l);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setBrush(TessaronPalette::capsuleFill());
        p.setPen(QPen(TessaronPalette::capsuleEdge(), 1));
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    }
};

class Stamp : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(TessaronPalette::mint());
        p.drawRoundedRect(QRectF(rect()), 5, 5);
        p.end();
        QLabel::paintEvent(e);
    }
};

// Piecewise cubic ease between keyframes.
double ease(double a, double b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const double s = t * t * (3 - 2 * t);
    return a + (b - a) * s;
}

} // namespace

WelcomeIntroduction::WelcomeIntroduction(QWidget* parent)
    : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(55);

    auto* left = new QVBoxLayout;
    left->setSpacing(23);
    left->addStretch(1);
    left->addWidget(new Eyebrow(L10n::t("SERIOUS QUEUES. UNSERIOUS COUNSEL.")));
    left->addWidget(new ScreenTitle(L10n::t("Your mess."), L10n::t("My case."), 58));
    left->addWidget(
        intro::text(L10n::t("I'm Tessaron. I find the weird message,\nexplain the lag, and get a little too invested."),
                    15, TessaronPalette::muted()));
    auto* chips = new QHBoxLayout;
    chips->setSpacing(8);
    chips->addWidget(new Chip(QStringLiteral("point.3.connected.trianglepath.dotted"), QStringLiteral("Apache Kafka")));
    chips->addWidget(new Chip(QStringLiteral("tray.2"), QStringLiteral("RabbitMQ")));
    chips->addStretch(1);
    left->addLayout(chips);
    auto* quote = new QHBoxLayout;
    quote->setContentsMargins(0, 12, 0, 0);
    quote->setSpacing(10);
    quote->addWidget(new SymbolView(QStringLiteral("quote.bubble"), 12, TessaronPalette::introAccent()), 0,
                     Qt::AlignTop);
    quote->addWidget(intro::text(L10n::t("Think of me as your lawyer.\nWith considerably more shedding."), 12,
                                 TessaronPalette::muted(), QFont::Medium, FontDesign::rounded),
                     1);
    left->addLayout(quote);
    m_ballButton = new KitButton(L10n::t("Do not show him a ball."),
                                 std::make_unique<PlainButtonStyle>(KitFont::font(10), TessaronPalette::muted()));
    m_ballButton->setLeadingSymbol(QStringLiteral("tennisball.fill"));
    m_ballButton->setSymbolSpacing(8);
    m_ballButton->setToolTip(L10n::t("You absolutely can show him a ball."));
    connect(m_ballButton, &KitButton::clicked, this, &WelcomeIntroduction::showBall);
    left->addWidget(m_ballButton, 0, Qt::AlignLeft);
    left->addStretch(1);
    row->addLayout(left, 1);

    auto* right = new QWidget;
    right->setFixedWidth(305);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    rightColumn->setSpacing(21);
    auto* stage = new QWidget;
    stage->setObjectName(QStringLiteral("badgeStage"));
    auto* grid = new QGridLayout(stage);
    grid->setContentsMargins(8, 24, 8, 14);
    m_badgeHolder = new QWidget;
    m_badgeHolder->setObjectName(QStringLiteral("badgeHolder"));
    auto* holderLayout = new QVBoxLayout(m_badgeHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_badge = new PersonnelBadge(0);
    holderLayout->addWidget(m_badge);
    m_badgeHolder->installEventFilter(this);
    // The holder carries the badge's tilt and its shadow, so the shadow turns with the card.
    m_badgeEffect = new TransformEffect(m_badgeHolder);
    m_badgeEffect->setMargin(48);
    m_badgeEffect->setShadow({TessaronPalette::badgeShadow(), 18, QPointF(0, 16)});
    m_badgeHolder->setGraphicsEffect(m_badgeEffect);
    m_dragX = new AnimatedValue(0.0, this);
    m_dragY = new AnimatedValue(0.0, this);
    connect(m_dragX, &AnimatedValue::valueChanged, this, &WelcomeIntroduction::applyBadge);
    connect(m_dragY, &AnimatedValue::valueChanged, this, &WelcomeIntroduction::applyBadge);
    grid->addWidget(m_badgeHolder, 0, 0, Qt::AlignHCenter | Qt::AlignTop);
    rightColumn->addWidget(stage, 0, Qt::AlignHCenter);

    auto* stamp = new Stamp(L10n::t("VERY GOOD\nAT HIS JOB"), stage);
    stamp->setObjectName(QStringLiteral("badgeSticker"));
    stamp->setFont(KitFont::font(10, QFont::Black, FontDesign::rounded, 1));
    stamp->setAlignment(Qt::AlignCenter);
    stamp->setContentsMargins(13, 11, 13, 11);
    QPalette sp = stamp->palette();
    sp.setColor(QPalette::WindowText, TessaronPalette::canvas());
    stamp->setPalette(sp);
    stamp->adjustSize();
    // Inside the stage's trailing edge, with room for the tilt's corners: the stage clips the rest.
    stamp->move(stage->sizeHint().width() - stamp->width() - 4, 0);
    intro::tilt(stamp, 9);
    stamp->raise();

    m_ball = new SymbolView(QStringLiteral("tennisball.fill"), 43, TessaronPalette::mint(), stage);
    m_ball->adjustSize();
    m_ball->hide();

    m_caption = intro::text(QString(), 11, TessaronPalette::muted(), QFont::Medium, FontDesign::rounded);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setFixedSize(280, 42);
    rightColumn->addWidget(m_caption, 0, Qt::AlignHCenter);
    row->addWidget(right, 0, Qt::AlignVCenter);

    connect(m_badge, &PersonnelBadge::booped, this, [this](int boops) {
        m_boops = boops;
        m_distractions = 0;
        sync();
    });
    placeBadge({});
    sync();
}

bool WelcomeIntroduction::ballVisible() const { return m_ball->isVisible(); }

void WelcomeIntroduction::showBall()
{
    ++m_distractions;
    sync();
    bounce();
}

void WelcomeIntroduction::sync()
{
    m_badge->setBallDetected(m_distractions > 0);
    crossFadeText(m_caption, intro::caption(m_boops, m_distractions), decorativeMotion(this, Motion::easeInOut(0.2)));
    m_ball->setVisible(m_distractions > 0);
    if (m_distractions == 0 && m_bounce)
        m_bounce->stop();
    // Resting place: against the badge's trailing edge.
    auto rest = [this] { return QPointF(m_badgeHolder->geometry().right() - m_ball->width() + 4, 265); };
    if (m_distractions > 0 && (!m_bounce || m_bounce->state() != QAbstractAnimation::Running))
        m_ball->move(rest().toPoint());
    m_ball->raise();
}

void WelcomeIntroduction::bounce()
{
    if (!motionAllowed(this))
        return;
    if (!m_bounce) {
        m_bounce = new QVariantAnimation(this);
        m_bounce->setStartValue(0.0);
        m_bounce->setEndValue(1.2);
        m_bounce->setDuration(1200);
        connect(m_bounce, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            const double t = v.toDouble();
            // x: 90 -> -35 by 0.5 s -> 0 by 1.0 s; y: -180 -> 0 (0.4) -> -65 (0.62) -> 0 (0.84).
            const double x = t < 0.5 ? ease(90, -35, t / 0.5) : ease(-35, 0, (t - 0.5) / 0.5);
            double y = 0;
            if (t < 0.4)
                y = ease(-180, 0, t / 0.4);
            else if (t < 0.62)
                y = ease(0, -65, (t - 0.4) / 0.22);
            else if (t < 0.84)
                y = ease(-65, 0, (t - 0.62) / 0.22);
            const QPointF rest(m_badgeHolder->geometry().right() - m_ball->width() + 4, 265);
            m_ball->move((rest + QPointF(x, y)).toPoint());
            intro::tilt(m_ball, 320 * t / 1.2);
        });
    }
    m_bounce->stop();
    m_bounce->start();
}

void WelcomeIntroduction::placeBadge(QSizeF drag)
{
    // The badge follows the pointer by a fraction of its way, eased by a spring, and springs back on
    // release; under reduced motion it stays upright and in place.
    const bool reduce = motionReduced();
    const Motion motion = decorativeMotion(this, Motion::withSpring(Spring{0.42, 0.6, 0.0}));
    m_dragX->animateTo(reduce ? 0.0 : drag.width(), motion);
    m_dragY->animateTo(reduce ? 0.0 : drag.height(), motion);
    applyBadge();
}

void WelcomeIntroduction::applyBadge()
{
    const double x = m_dragX->value();
    const double y = m_dragY->value();
    const double degrees = motionReduced() ? 0.0 : x / 12 - 4;
    const QPointF centre = QRectF(m_badgeHolder->rect()).center();
    m_badgeEffect->setTransform(Transforms::rotateAbout(degrees, centre) * Transforms::translate(x * 0.12, y * 0.1));
}

bool WelcomeIntroduction::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_badgeHolder) {
        if (event->type() == QEvent::Resize) {
            applyBadge();
        } else if (event->type() == QEvent::MouseButtonPress) {
            m_pressAt = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            m_dragging = false;
        } else if (event->type() == QEvent::MouseMove) {
            const QPoint delta = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_pressAt;
            if (m_dragging || delta.manhattanLength() >= 5) {
                m_dragging = true;
                placeBadge(QSizeF(delta.x(), delta.y()));
            }
        } else if (event->type() == QEvent::MouseButtonRelease && m_dragging) {
            m_dragging = false;
            placeBadge({});
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tessaron
