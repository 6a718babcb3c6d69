#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/intro/OnboardingView.h"

#include "Tessaron/intro/IntroLogic.h"
#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/intro/WelcomeAI.h"
#include "Tessaron/intro/WelcomeCase.h"
#include "Tessaron/intro/WelcomeConnection.h"
#include "Tessaron/intro/WelcomeGroundRules.h"
#include "Tessaron/intro/WelcomeIntroduction.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/intro/WelcomeConfetti.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/ViewMotion.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/LogoMark.h"
#include "VelkinUI/MotionAnimation.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QCoroTask>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVariantAnimation>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

namespace {

// A chapter dot: a capsule, long for the current chapter, tinted for visited ones.
class RailStyle : public ButtonStyle {
public:
    enum Look { current, visited, unseen };
    RailStyle(double width, const QColor& fill)
        : m_width(width)
        , m_fill(fill)
    { }
    static double widthOf(Look look) { return look == current ? 30 : 8; }
    static QColor fillOf(Look look)
    {
        QColor fill = look == unseen ? TessaronPalette::railDotUnseen() : TessaronPalette::introAccent();
        if (look == visited)
            fill.setAlphaF(0.35);
        return fill;
    }
    QMarginsF insets() const override { return QMarginsF(0, 10, 0, 10); }
    void paintBackground(QPainter& p, const QRectF& rect, const ButtonState&) const override
    {
        const QRectF capsule(rect.center().x() - m_width / 2, rect.center().y() - 3, m_width, 6);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(m_fill);
        p.drawRoundedRect(capsule, 3, 3);
    }

private:
    double m_width;
    QColor m_fill;
};

// Moves a dot's width and colour to a new look along a motion.
class RailMotion : public QObject {
public:
    explicit RailMotion(KitButton* dot)
        : QObject(dot)
        , m_dot(dot)
        , m_width(new AnimatedValue(RailStyle::widthOf(RailStyle::unseen), this))
        , m_mix(new AnimatedValue(1.0, this))
        , m_from(RailStyle::fillOf(RailStyle::unseen))
        , m_to(m_from)
    {
        connect(m_width, &AnimatedValue::valueChanged, this, &RailMotion::apply);
        connect(m_mix, &AnimatedValue::valueChanged, this, &RailMotion::apply);
    }
    void moveTo(RailStyle::Look look, const Motion& motion)
    {
        const QColor target = RailStyle::fillOf(look);
        if (target != m_to) {
            m_from = shown();
            m_to = target;
            m_mix->setImmediately(0.0);
            m_mix->animateTo(1.0, motion);
        }
        m_width->animateTo(RailStyle::widthOf(look), motion);
        apply();
    }

private:
    QColor shown() const
    {
        const double t = std::clamp(m_mix->value(), 0.0, 1.0);
        return QColor::fromRgbF(lerp(m_from.redF(), m_to.redF(), t), lerp(m_from.greenF(), m_to.greenF(), t),
                                lerp(m_from.blueF(), m_to.blueF(), t), lerp(m_from.alphaF(), m_to.alphaF(), t));
    }
    void apply()
    {
        // The button is as wide as its capsule, so the rail's 6-point gaps lie between the capsules.
        m_dot->setFixedWidth(int(std::ceil(m_width->value())));
        m_dot->setButtonStyle(std::make_unique<RailStyle>(m_width->value(), shown()));
        m_dot->update();
    }

    KitButton* m_dot;
    AnimatedValue* m_width;
    AnimatedValue* m_mix;
    QColor m_from;
    QColor m_to;
};

// Awaits the availability check with the state held, after the sheet is gone.
QCoro::Task<> refreshAvailability(QPointer<AppState> app)
{
    if (app)
        co_await app->refreshAIAvailability();
}

QWidget* hairline(double opacity)
{
    auto* line = new QWidget;
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, TessaronPalette::introRule(opacity));
    line->setPalette(p);
    return line;
}

} // namespace

QStringList OnboardingView::chapterKeys()
{
    return {QStringLiteral("The introduction"), QStringLiteral("Your first case"), QStringLiteral("The ground rules"),
            QStringLiteral("Your backup"),      QStringLiteral("Your broker"),     QStringLiteral("Partners in queue")};
}

OnboardingView::OnboardingView(AppState* app, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
{
    refreshAI = [](AppState* state) { startDetached(refreshAvailability(QPointer<AppState>(state))); };
    setWindowTitle(QStringLiteral("Tessaron MQ"));
    // 960 × 680 where the window allows it; on a smaller one the chapter scrolls between the top
    // bar and the footer.
    SheetFit::follow(this, QSize(960, 680));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, TessaronPalette::ink());
    pal.setColor(QPalette::Text, TessaronPalette::ink());
    setPalette(pal);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildTopBar());
    column->addWidget(hairline(0.07));

    m_area = new QScrollArea;
    m_area->setWidgetResizable(true);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_area->verticalScrollBar()->setFixedWidth(0);
    m_area->setObjectName(QStringLiteral("introScroll"));
    // The controls inside take the focus, each scrolled into view; the area itself is no stop.
    m_area->setFocusPolicy(Qt::NoFocus);
    SheetFit::keepFocusInView(m_area);
    m_area->setStyleSheet(
        QStringLiteral("#introScroll, #introScroll > QWidget > QWidget { background: transparent; }"));
    column->addWidget(m_area, 1);
    column->addWidget(hairline(0.08));
    column->addWidget(buildFooter());

    m_confetti = new WelcomeConfetti(this);
    m_confetti->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_confetti->raise();

    retranslate();
    showPage();
    LanguageChange::onChange(this, [this] { followLanguage(); });
}

OnboardingView::~OnboardingView() = default;

void OnboardingView::retranslate()
{
    m_firstDay->setText(L10n::t("/ FIRST DAY"));
    for (int i = 0; i < m_rail.size(); ++i) {
        m_rail[i]->setAccessibleName(L10n::t(chapterKeys().at(i)));
        m_rail[i]->setToolTip(L10n::t(chapterKeys().at(i)));
    }
    m_explore->setText(L10n::t("Explore on my own"));
    m_back->setAccessibleName(L10n::t("Back"));
    m_back->setToolTip(L10n::t("Back"));
}

void OnboardingView::followLanguage()
{
    retranslate();
    // A chapter's page is drawn from the view's state (the case solved, the agreement signed, the
    // saved broker), so it is built again in the new language; the connection chapter's fields
    // hold what is being typed, so it stays and redraws its own texts.
    if (m_step != 4)
        placePage();
    syncChrome();
    m_confetti->raise();
}

QWidget* OnboardingView::buildTopBar()
{
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(32, 20, 32, 20);
    row->setSpacing(10);
    row->addWidget(new LogoMark(28));
    row->addWidget(
        intro::text(QStringLiteral("tessaron"), 16, TessaronPalette::ink(), QFont::Bold, FontDesign::rounded));
    m_firstDay = intro::text(QString(), 9, TessaronPalette::muted(), QFont::Medium, FontDesign::monospaced, 1.2);
    m_firstDay->setWordWrap(false);
    row->addWidget(m_firstDay);
    row->addStretch(1);
    auto* rail = new QHBoxLayout;
    rail->setSpacing(6);
    for (int i = 0; i < chapterCount; ++i) {
        auto* dot = new KitButton(QString(), std::make_unique<RailStyle>(8, RailStyle::fillOf(RailStyle::unseen)));
        dot->setFixedWidth(8);
        dot->setProperty("railMotion", QVariant::fromValue<QObject*>(new RailMotion(dot)));
        dot->setFocusPolicy(Qt::TabFocus);
        connect(dot, &KitButton::clicked, this, [this, i] { goTo(i); });
        m_rail.append(dot);
        rail->addWidget(dot);
    }
    row->addLayout(rail);
    row->addStretch(1);
    m_explore = new KitButton(
        QString(), std::make_unique<PlainButtonStyle>(KitFont::font(10, QFont::Medium), TessaronPalette::muted()));
    connect(m_explore, &KitButton::clicked, this, &OnboardingView::finish);
    row->addWidget(m_explore);
    return bar;
}

QWidget* OnboardingView::buildFooter()
{
    auto* foot = new QWidget;
    foot->setAutoFillBackground(true);
    QPalette p = foot->palette();
    QColor ground = TessaronPalette::canvas();
    ground.setAlphaF(0.9);
    p.setColor(QPalette::Window, ground);
    foot->setPalette(p);
    auto* row = new QHBoxLayout(foot);
    row->setContentsMargins(32, 18, 32, 18);
    row->setSpacing(14);
    m_back = new KitButton(
        QString(),
        std::make_unique<ControlStyle>(TessaronPalette::introAccent(), false, true, QMarginsF(13, 13, 13, 13)));
    m_back->setLeadingSymbol(QStringLiteral("arrow.left"));
    connect(m_back, &KitButton::clicked, this, &OnboardingView::goBack);
    row->addWidget(m_back);
    auto* names = new QVBoxLayout;
    names->setSpacing(5);
    m_counter = intro::text(QString(), 9, TessaronPalette::introAccent(), QFont::Medium, FontDesign::monospaced);
    m_chapterName = intro::text(QString(), 11, TessaronPalette::muted());
    m_counter->setWordWrap(false);
    m_chapterName->setWordWrap(false);
    names->addWidget(m_counter);
    names->addWidget(m_chapterName);
    row->addLayout(names);
    row->addStretch(1);
    m_subtitle = intro::text(QString(), 10, TessaronPalette::muted());
    m_subtitle->setWordWrap(false);
    row->addWidget(m_subtitle);
    m_primary = new KitButton(QString(), std::make_unique<PrimaryButtonStyle>());
    m_primary->setSymbolSpacing(16);
    connect(m_primary, &KitButton::clicked, this, &OnboardingView::advance);
    row->addWidget(m_primary);
    return foot;
}

QWidget* OnboardingView::buildPage(int step)
{
    switch (step) {
    case 0:
        return new WelcomeIntroduction;
    case 1: {
        auto* page = new WelcomeCase(m_solved);
        connect(page, &WelcomeCase::solvedCase, this, [this] {
            setSolved(true);
            celebrate();
        });
        return page;
    }
    case 2:
        return new WelcomeGroundRules;
    case 3:
        return new WelcomeAI(m_app);
    case 4: {
        auto* page = new WelcomeConnection(m_app, m_savedBroker);
        connect(page, &WelcomeConnection::brokerSaved, this, [this](const Broker& b) { setSavedBroker(b); });
        return page;
    }
    default:
        return buildPartners();
    }
}

QWidget* OnboardingView::buildPartners()
{
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(48);
    auto* left = new QVBoxLayout;
    left->setSpacing(20);
    left->addStretch(1);
    left->addWidget(new Eyebrow(L10n::t("THE BEGINNING OF A BEAUTIFUL PARTNERSHIP")));
    left->addWidget(new ScreenTitle(L10n::t("Tessaron & you"), L10n::t("Partners in queue."), 36));
    left->addWidget(intro::text(L10n::t("You bring the queues. I bring the nose.\nTogether we close cases."), 14,
                                TessaronPalette::muted()));
    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(0, 4, 0, 0);
    rows->setSpacing(13);
    m_summary.clear();
    const QString provider = UserDefaults::standard().string(Prefs::aiProvider).value_or(QStringLiteral("auto"));
    const QList<QPair<QString, QString>> lines{
        {m_solved ? QStringLiteral("checkmark.seal.fill") : QStringLiteral("magnifyingglass"),
         intro::caseRow(m_solved)},
        {QStringLiteral("server.rack"), intro::brokerRow(m_savedBroker)},
        {QStringLiteral("sparkles"), intro::backupRow(provider)}};
    for (const auto& [symbol, line] : lines) {
        auto* r = intro::symbolRow(symbol, line, 12, TessaronPalette::mint());
        m_summary.append(r->findChild<QLabel*>());
        rows->addWidget(r);
    }
    left->addLayout(rows);
    left->addStretch(1);
    row->addLayout(left, 1);

    auto* cardContent = new QWidget;
    auto* card = new QVBoxLayout(cardContent);
    card->setContentsMargins(25, 25, 25, 25);
    card->setSpacing(18);
    card->addWidget(new Eyebrow(L10n::t("PARTNERSHIP AGREEMENT")), 0, Qt::AlignHCenter);
    card->addWidget(new LogoMark(78), 0, Qt::AlignHCenter);
    auto* name = intro::text(L10n::t("Tessaron & you"), 24, TessaronPalette::ink(), QFont::Bold, FontDesign::rounded);
    name->setAlignment(Qt::AlignHCenter);
    card->addWidget(name);
    auto* team = intro::text(L10n::t("One very good team."), 12, TessaronPalette::muted());
    team->setAlignment(Qt::AlignHCenter);
    card->addWidget(team);
    card->addWidget(hairline(0.12));
    auto* promise = intro::text(L10n::t("I promise to say ‘I don't know’\nwhen I don't know."), 12,
                                TessaronPalette::ink(), QFont::Medium);
    promise->setAlignment(Qt::AlignHCenter);
    card->addWidget(promise);
    m_highFive = new KitButton(
        QString(),
        std::make_unique<ControlStyle>(TessaronPalette::introAccent(), m_signed, true, QMarginsF(14, 14, 14, 14)));
    auto* label = new QWidget;
    auto* labelColumn = new QVBoxLayout(label);
    labelColumn->setContentsMargins(0, 0, 0, 0);
    labelColumn->setSpacing(7);
    auto* hand = new SymbolView(QString(), 28, TessaronPalette::muted());
    hand->setObjectName(QStringLiteral("hand"));
    labelColumn->addWidget(hand, 0, Qt::AlignHCenter);
    m_highFiveText = intro::text(QString(), 11, TessaronPalette::muted(), QFont::Bold, FontDesign::rounded);
    m_highFiveText->setAlignment(Qt::AlignHCenter);
    labelColumn->addWidget(m_highFiveText);
    m_highFive->setContent(label);
    connect(m_highFive, &KitButton::clicked, this, &OnboardingView::signAgreement);
    card->addWidget(m_highFive);
    auto* binding = intro::text(L10n::t("Legally binding? No. Emotionally? Very."), 9, TessaronPalette::muted());
    binding->setAlignment(Qt::AlignHCenter);
    card->addWidget(binding);
    auto* surface = panelSurface(cardContent, TessaronPalette::introAccent());
    surface->setFixedWidth(300);
    m_card = surface;
    row->addWidget(surface, 0, Qt::AlignVCenter);
    syncPartners();
    return page;
}

void OnboardingView::syncPartners(const Motion& motion)
{
    if (!m_highFive)
        return;
    m_highFive->setButtonStyle(
        std::make_unique<ControlStyle>(TessaronPalette::introAccent(), m_signed, true, QMarginsF(14, 14, 14, 14)));
    m_highFive->setAccessibleName(m_signed ? L10n::t("Agreement signed") : L10n::t("Seal it with a high five"));
    const QColor color = m_signed ? TessaronPalette::introAccent() : TessaronPalette::muted();
    if (auto* hand = m_highFive->findChild<SymbolView*>(QStringLiteral("hand"))) {
        hand->setName(m_signed ? QStringLiteral("pawprint.fill") : QStringLiteral("hand.raised.fill"));
        hand->setColor(color);
        intro::tiltTo(hand, m_signed && !motionReduced() ? -12 : 0, motion);
    }
    m_highFiveText->setText(m_signed ? L10n::t("PAWTHORIZED.") : L10n::t("Seal it with a high five"));
    QPalette p = m_highFiveText->palette();
    p.setColor(QPalette::WindowText, color);
    m_highFiveText->setPalette(p);
    if (m_card)
        intro::tiltTo(m_card, motionReduced() ? 0 : (m_signed ? -2 : 2), motion);
}

QWidget* OnboardingView::placePage()
{
    QWidget* old = m_area->takeWidget();
    if (old)
        old->deleteLater();
    m_highFive = nullptr;
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(42, 24, 42, 24);
    m_page = buildPage(m_step);
    m_page->setMinimumHeight(456);
    layout->addWidget(m_page);
    m_area->setWidget(holder);
    return holder;
}

void OnboardingView::showPage()
{
    // The old chapter as last drawn, to fade out while the next one comes in.
    const QPixmap leavingPicture = m_area->widget() && m_area->isVisible() ? m_area->viewport()->grab() : QPixmap();
    QWidget* holder = placePage();

    // The entering page slides in from the side it comes from on the introduction's spring and fades
    // in, while a picture of the old page fades out; a plain fade with reduced motion.
    auto* effect = new TransformEffect(holder);
    holder->setGraphicsEffect(effect);
    const bool reduce = motionReduced();
    const double from = reduce ? 0.0 : (m_backwards ? -22.0 : 22.0);
    auto* anim = new MotionAnimation(holder);
    anim->setMotion(reduce ? Motion::linear(0.2) : intro::introSpring(this));
    anim->setStartValue(0.0);
    anim->setEndValue(1.0);
    QPointer<QWidget> guard = holder;
    QPointer<QLabel> leaving;
    if (!leavingPicture.isNull()) {
        leaving = new QLabel(m_area);
        leaving->setObjectName(QStringLiteral("leavingPage"));
        leaving->setAttribute(Qt::WA_TransparentForMouseEvents);
        leaving->setPixmap(leavingPicture);
        leaving->setGeometry(m_area->viewport()->geometry());
        leaving->setGraphicsEffect(new TransformEffect(leaving));
        leaving->show();
    }
    connect(anim, &QVariantAnimation::valueChanged, holder, [effect, from, leaving](const QVariant& v) {
        const double t = v.toDouble();
        effect->setOpacity(std::clamp(t, 0.0, 1.0));
        effect->setTransform(Transforms::translate(from * (1 - t), 0));
        if (leaving)
            static_cast<TransformEffect*>(leaving->graphicsEffect())->setOpacity(std::clamp(1 - t, 0.0, 1.0));
    });
    connect(anim, &QVariantAnimation::finished, holder, [guard, leaving] {
        if (guard)
            guard->setGraphicsEffect(nullptr);
        if (leaving)
            leaving->deleteLater();
    });
    // A page replaced again before its entrance ended takes the old picture with it.
    connect(holder, &QObject::destroyed, m_area, [leaving] {
        if (leaving)
            leaving->deleteLater();
    });
    effect->setOpacity(0);
    effect->setTransform(Transforms::translate(from, 0));
    anim->start(QAbstractAnimation::DeleteWhenStopped);
    syncChrome();
    m_confetti->raise();
}

void OnboardingView::syncChrome()
{
    for (int i = 0; i < m_rail.size(); ++i) {
        const auto look = i == m_step ? RailStyle::current
            : m_visited.contains(i)   ? RailStyle::visited
                                      : RailStyle::unseen;
        // The first look is drawn at once; later changes follow the chapter change's spring.
        static_cast<RailMotion*>(m_rail[i]->property("railMotion").value<QObject*>())
            ->moveTo(look, m_railShown ? intro::introSpring(this) : Motion::none());
        m_rail[i]->setSelected(i == m_step);
    }
    m_railShown = true;
    m_back->setVisible(m_step >= 1);
    m_counter->setText(QString::asprintf("%02d / 06", m_step + 1));
    m_chapterName->setText(L10n::t(chapterKeys().at(m_step)));
    static const char* subtitles[] = {"No suit required.",
                                      "No broker. No stakes. Just a tiny mystery.",
                                      "The fine print, in normal-sized print.",
                                      "Optional. Good instincts come built in.",
                                      "No broker handy? No pressure.",
                                      "This could be the start of a beautiful queue."};
    m_subtitle->setText(L10n::t(subtitles[m_step]));
    QString primary;
    switch (m_step) {
    case 0:
        primary = L10n::t("You're hired.");
        break;
    case 1:
        primary = m_solved ? L10n::t("Case closed. Next!") : L10n::t("Show me the rules");
        break;
    case 2:
        primary = L10n::t("Deal. Who's helping?");
        break;
    case 3:
        primary = L10n::t("Meet my broker");
        break;
    case 4:
        primary = m_savedBroker ? L10n::t("We're connected") : L10n::t("I'll connect later");
        break;
    default:
        primary = L10n::t("Let's do this.");
        break;
    }
    m_primary->setText(primary);
    m_primary->setTrailingSymbol(m_step == 5 ? QStringLiteral("pawprint.fill") : QStringLiteral("arrow.right"));
}

void OnboardingView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    TessaronBackdrop::paintBackdrop(p, rect(), TessaronPalette::introAccent(), false);
}

void OnboardingView::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_confetti->setGeometry(rect());
}

} // namespace tessaron
