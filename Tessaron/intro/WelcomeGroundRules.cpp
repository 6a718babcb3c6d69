#include "Tessaron/intro/WelcomeGroundRules.h"

#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/ViewMotion.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVariantAnimation>
#include <QVBoxLayout>

namespace tessaron {

namespace {

class Track : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QColor line = TessaronPalette::introAccent();
        line.setAlphaF(0.15);
        p.fillRect(QRectF(0, height() / 2.0, width(), 1), line);
    }
};

QWidget* endpoint(const QString& symbol, const QColor& color, QLabel* label)
{
    auto* w = new QWidget;
    w->setFixedWidth(75);
    auto* c = new QVBoxLayout(w);
    c->setContentsMargins(0, 0, 0, 0);
    c->setSpacing(9);
    c->addWidget(new SymbolView(symbol, 25, color), 0, Qt::AlignHCenter);
    label->setAlignment(Qt::AlignHCenter);
    c->addWidget(label);
    return w;
}

} // namespace

WelcomeGroundRules::WelcomeGroundRules(QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(22);

    auto* header = new QHBoxLayout;
    auto* heading = new QVBoxLayout;
    heading->setSpacing(12);
    heading->addWidget(new Eyebrow(L10n::t("GOOD MANNERS. VERY SPECIFIC EXCEPTIONS.")));
    heading->addWidget(new ScreenTitle(L10n::t("I come. I read."), L10n::t("I explain the fine print."), 34));
    header->addLayout(heading, 1);
    header->addWidget(intro::capsule(L10n::t("INTERACTIVE DEMO"), TessaronPalette::lavender()), 0, Qt::AlignBottom);
    column->addLayout(header);

    auto* demoRow = new QHBoxLayout;
    demoRow->setSpacing(25);
    auto* cardContent = new QWidget;
    auto* card = new QVBoxLayout(cardContent);
    card->setContentsMargins(20, 20, 20, 20);
    card->setSpacing(18);
    auto* kinds = new QHBoxLayout;
    kinds->setSpacing(7);
    for (bool rabbit : {false, true}) {
        auto* b = new KitButton(
            rabbit ? QStringLiteral("RabbitMQ") : QStringLiteral("Kafka"),
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), false, true, QMarginsF(14, 10, 14, 10)));
        b->setFont(KitFont::font(11, QFont::DemiBold));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(b, &KitButton::clicked, this, [this, rabbit] { choose(rabbit); });
        m_kinds.append(b);
        kinds->addWidget(b, 1);
    }
    card->addLayout(kinds);

    auto* stage = new QWidget;
    stage->setFixedHeight(80);
    auto* stageRow = new QHBoxLayout(stage);
    stageRow->setContentsMargins(0, 0, 0, 0);
    stageRow->setSpacing(12);
    m_brokerLabel = intro::text(QString(), 10, TessaronPalette::muted(), QFont::Medium);
    stageRow->addWidget(endpoint(QStringLiteral("server.rack"), TessaronPalette::muted(), m_brokerLabel));
    m_track = new Track;
    auto* docs = new QHBoxLayout(m_track);
    docs->setSpacing(5);
    docs->addStretch(1);
    QColor faded = TessaronPalette::introAccent();
    faded.setAlphaF(0.65);
    for (int i = 0; i < 3; ++i)
        docs->addWidget(new SymbolView(QStringLiteral("doc.text.fill"), 20, faded));
    docs->addStretch(1);
    m_traveller = new SymbolView(QStringLiteral("doc.text.fill"), 23, TessaronPalette::mint(), m_track);
    m_traveller->adjustSize();
    m_traveller->hide();
    stageRow->addWidget(m_track, 1);
    stageRow->addWidget(endpoint(QStringLiteral("magnifyingglass"), TessaronPalette::introAccent(),
                                 intro::text(QStringLiteral("Tessaron"), 10, TessaronPalette::muted(), QFont::Medium)));
    card->addWidget(stage);

    auto* boxContent = new QWidget;
    auto* box = new QHBoxLayout(boxContent);
    box->setContentsMargins(16, 16, 16, 16);
    box->setSpacing(12);
    auto* subject = new QVBoxLayout;
    subject->setSpacing(6);
    m_boxCaption = intro::text(QString(), 8, TessaronPalette::muted(), QFont::Medium, FontDesign::monospaced, 1);
    m_subject = intro::text(QString(), 11, TessaronPalette::ink(), QFont::Normal, FontDesign::monospaced);
    subject->addWidget(m_boxCaption);
    subject->addWidget(m_subject);
    box->addLayout(subject);
    box->addStretch(1);
    m_before = intro::text(QString(), 20, TessaronPalette::muted(), QFont::DemiBold, FontDesign::monospaced);
    m_after = intro::text(QString(), 20, TessaronPalette::mint(), QFont::DemiBold, FontDesign::monospaced);
    m_before->setWordWrap(false);
    m_after->setWordWrap(false);
    box->addWidget(m_before);
    box->addWidget(new SymbolView(QStringLiteral("arrow.right"), 10, TessaronPalette::muted()));
    box->addWidget(m_after);
    m_box = panelSurface(boxContent, TessaronPalette::mint());
    card->addWidget(m_box);

    auto* action = new QHBoxLayout;
    m_peek = new KitButton(QString(), std::make_unique<PrimaryButtonStyle>());
    m_peek->setLeadingSymbol(QStringLiteral("eye"));
    m_peek->setSymbolSpacing(8);
    connect(m_peek, &KitButton::clicked, this, &WelcomeGroundRules::peek);
    action->addWidget(m_peek);
    action->addStretch(1);
    m_caption = intro::text(QString(), 10, TessaronPalette::muted());
    m_caption->setMaximumWidth(175);
    m_caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    action->addWidget(m_caption);
    card->addLayout(action);
    demoRow->addWidget(panelSurface(cardContent, TessaronPalette::plainWhite()), 1, Qt::AlignTop);

    auto* promises = new QWidget;
    promises->setFixedWidth(246);
    auto* p = new QVBoxLayout(promises);
    p->setContentsMargins(0, 0, 0, 0);
    p->setSpacing(16);
    m_promiseIcon = new SymbolView(QString(), 27, TessaronPalette::mint());
    p->addWidget(m_promiseIcon, 0, Qt::AlignLeft);
    m_promises = {intro::text(QString(), 20, TessaronPalette::ink(), QFont::Bold, FontDesign::rounded),
                  intro::text(QString(), 12, TessaronPalette::muted()),
                  intro::text(QString(), 11, TessaronPalette::muted()),
                  intro::text(QString(), 11, TessaronPalette::introAccent(), QFont::Medium, FontDesign::rounded)};
    for (QLabel* l : m_promises)
        p->addWidget(l);
    p->addStretch(1);
    demoRow->addWidget(promises, 0, Qt::AlignTop);
    column->addLayout(demoRow);

    auto* rule = new QHBoxLayout;
    rule->setSpacing(9);
    rule->addWidget(new SymbolView(QStringLiteral("questionmark.circle"), 13, TessaronPalette::lavender()));
    rule->addWidget(intro::text(L10n::t("No evidence? I say ‘unknown’. Never zero."), 11, TessaronPalette::muted()), 1);
    m_bigfoot = new KitButton(
        L10n::t("And Bigfoot?"),
        std::make_unique<PlainButtonStyle>(KitFont::font(10, QFont::Medium), TessaronPalette::lavender()));
    connect(m_bigfoot, &KitButton::clicked, this, &WelcomeGroundRules::toggleBigfoot);
    rule->addWidget(m_bigfoot);
    column->addLayout(rule);
    column->addStretch(1);
    sync();
}

void WelcomeGroundRules::choose(bool rabbit)
{
    m_demo.choose(rabbit);
    if (m_travel)
        m_travel->stop();
    m_traveller->hide();
    sync(decorativeMotion(this, Motion::easeInOut(0.2)));
}

void WelcomeGroundRules::peek()
{
    m_demo.peek();
    sync(decorativeMotion(this, Motion::withSpring(Spring{0.3, 0.825, 0.0})));
    travel();
}

void WelcomeGroundRules::travel()
{
    if (!motionAllowed(this))
        return;
    if (!m_travel) {
        m_travel = new QVariantAnimation(this);
        m_travel->setStartValue(0.0);
        m_travel->setEndValue(1.0);
        m_travel->setDuration(1000);
        connect(m_travel, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
            const double t = v.toDouble();
            const double back = m_travel->property("rabbit").toBool() ? -60 : 80;
            auto ease = [](double a, double b, double s) {
                s = std::clamp(s, 0.0, 1.0);
                return a + (b - a) * s * s * (3 - 2 * s);
            };
            const double x = t < 0.55 ? ease(-60, 80, t / 0.55) : ease(80, back, (t - 0.55) / 0.45);
            const double y = t < 0.3 ? ease(0, -28, t / 0.3) : ease(-28, 0, (t - 0.3) / 0.7);
            const double opacity = t < 0.05 ? t / 0.05 : t < 0.8 ? 1.0 : std::max(0.0, 1 - (t - 0.8) / 0.2);
            const QPointF centre(m_track->width() / 2.0 - m_traveller->width() / 2.0,
                                 m_track->height() / 2.0 - m_traveller->height() / 2.0);
            m_traveller->move((centre + QPointF(x, y)).toPoint());
            auto* effect = qobject_cast<TransformEffect*>(m_traveller->graphicsEffect());
            if (!effect) {
                effect = new TransformEffect(m_traveller);
                m_traveller->setGraphicsEffect(effect);
            }
            effect->setOpacity(opacity);
        });
        connect(m_travel, &QVariantAnimation::finished, m_traveller, &QWidget::hide);
    }
    m_travel->setProperty("rabbit", m_demo.rabbit);
    m_travel->stop();
    m_traveller->show();
    m_traveller->raise();
    m_travel->start();
}

void WelcomeGroundRules::toggleBigfoot()
{
    if (m_popover) {
        m_popover->close();
        return;
    }
    auto* pop = new QWidget(this, Qt::Popup);
    pop->setAttribute(Qt::WA_DeleteOnClose);
    pop->setFixedWidth(285);
    pop->setAutoFillBackground(true);
    QPalette pal = pop->palette();
    pal.setColor(QPalette::Window, TessaronPalette::canvas());
    pop->setPalette(pal);
    auto* c = new QVBoxLayout(pop);
    c->setContentsMargins(22, 22, 22, 22);
    c->setSpacing(12);
    c->addWidget(new SymbolView(QStringLiteral("pawprint.fill"), 28, TessaronPalette::introAccent()));
    c->addWidget(
        intro::text(L10n::t("I WANT TO BELIEVE"), 15, TessaronPalette::ink(), QFont::Black, FontDesign::rounded));
    c->addWidget(intro::text(L10n::t("Evidence: none.\nVerdict: unknown.\nEmotional investment: enormous."), 12,
                             TessaronPalette::ink()));
    c->addWidget(
        intro::text(L10n::t("See? Even my conspiracy theories have standards."), 11, TessaronPalette::muted()));
    pop->adjustSize();
    const QPoint at = m_bigfoot->mapToGlobal(QPoint(m_bigfoot->width() - pop->width(), -pop->height() - 6));
    pop->move(at);
    m_popover = pop;
    pop->show();
}

void WelcomeGroundRules::sync(const Motion& motion)
{
    const auto set = [&motion](QLabel* label, const QString& text) {
        if (label->text() != text)
            crossFadeText(label, text, motion);
    };
    const bool rabbit = m_demo.rabbit;
    for (int i = 0; i < m_kinds.size(); ++i) {
        const bool selected = (i == 1) == rabbit;
        m_kinds[i]->setButtonStyle(
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), selected, true, QMarginsF(14, 10, 14, 10)));
        m_kinds[i]->setSelected(selected);
    }
    set(m_brokerLabel, rabbit ? QStringLiteral("RabbitMQ") : QStringLiteral("Kafka"));
    set(m_boxCaption, rabbit ? L10n::t("MESSAGE FLAG") : L10n::t("CONSUMER OFFSET"));
    set(m_subject, rabbit ? QStringLiteral("redelivered") : QStringLiteral("orders / partition 0"));
    set(m_before, m_demo.before());
    set(m_after, m_demo.after());
    QPalette ap = m_after->palette();
    ap.setColor(QPalette::WindowText, m_demo.changed() ? TessaronPalette::introAccent() : TessaronPalette::mint());
    m_after->setPalette(ap);
    m_box->setTint(rabbit ? TessaronPalette::introAccent() : TessaronPalette::mint());
    m_peek->setText(m_demo.reads == 0 ? L10n::t("Peek at a message") : L10n::t("Peek again"));
    set(m_caption,
        m_demo.reads == 0 ? L10n::t("Try it. These are demo messages.")
            : rabbit      ? L10n::t("Returned. But not untouched.")
                          : L10n::t("Still 128. Pinky promise kept."));
    m_promiseIcon->setName(rabbit ? QStringLiteral("exclamationmark.bubble") : QStringLiteral("hand.thumbsup"));
    m_promiseIcon->setColor(rabbit ? TessaronPalette::introAccent() : TessaronPalette::mint());
    const QStringList texts = rabbit
        ? QStringList{L10n::t("The rabbit has a clause."),
                      L10n::t("Reading consumes and requeues a message. Its redelivered flag becomes true. Your "
                              "consumers can notice."),
                      L10n::t("Tessaron asks before reading. Listing queues is read-only."),
                      L10n::t("I said I was honest. Not that the rabbit was easy.")}
        : QStringList{L10n::t("No surprise footprints."),
                      L10n::t("Reading Kafka never joins a consumer group, commits an offset, or creates a topic."),
                      L10n::t("Writing and replaying are separate actions, with explicit confirmation."),
                      L10n::t("A golden retriever who leaves things where they were. Character development.")};
    for (int i = 0; i < m_promises.size(); ++i)
        set(m_promises[i], texts.at(i));
}

} // namespace tessaron
