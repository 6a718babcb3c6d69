#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/SettingsControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/SettingsSurface.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/TransparentWindowChrome.h"
#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/settings/SettingsChrome.h"
#include "Tessaron/settings/SettingsRules.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/EffectSlot.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/TransformEffect.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

using namespace SettingsChrome;
namespace Palette = TessaronPalette;

namespace {

const char* const sectionProperty = "tessaronSettingsSection";
const char* const scrollProperty = "tessaronSettingsScroll";
// Narrow at the sides: the longest title, in semibold, has to fit the 200-point sidebar.
const QMarginsF railInsets(9, 12, 9, 12);

struct RailEntry {
    const char* title;
    const char* symbol;
};
const RailEntry railEntries[] = {
    {"General", "slider.horizontal.3"},
    {"Artificial intelligence", "sparkles"},
    {"About Tessaron", "heart"},
};

// The selected rail button's highlight. One widget behind the buttons, so a change of section slides it
// from the old button to the new one.
class RailHighlight : public QWidget {
public:
    explicit RailHighlight(QWidget* parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("railHighlight"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double radius = SettingsControlStyle::cornerRadius;
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), radius, radius);
        painter.fillPath(shape, Palette::withOpacity(accent(), 0.1));
        painter.setPen(QPen(Palette::withOpacity(accent(), 0.25), 1.0));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    }
};

const QStringList languageValues = {QStringLiteral("system"), QStringLiteral("en"), QStringLiteral("pt")};

QString languageTitle(int index)
{
    if (index == 0)
        return L10n::t("System");
    return index == 1 ? QStringLiteral("English") : QStringLiteral("Português");
}

const SettingsRules::ProviderRow providerRows[] = {
    SettingsRules::ProviderRow::automatic, SettingsRules::ProviderRow::claude, SettingsRules::ProviderRow::codex};

// Restyles a tile or pill as selected or not and shows its check mark.
void markSelected(KitButton* button, const QColor& tint, bool selected, const QMarginsF& insets)
{
    auto* style = static_cast<SettingsControlStyle*>(button->buttonStyle());
    if (!style || style->selected() != selected)
        button->setButtonStyle(std::make_unique<SettingsControlStyle>(tint, selected, true, insets));
    if (QWidget* check = button->findChild<QWidget*>(QStringLiteral("check")))
        check->setVisible(selected);
    if (auto* mark = button->findChild<SymbolView*>(QStringLiteral("mark"))) {
        mark->setName(selected ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"));
        mark->setColor(selected ? tint : Palette::withOpacity(secondary(), 0.4));
    }
    if (auto* icon = button->findChild<SymbolView*>(QStringLiteral("icon")))
        icon->setColor(selected ? tint : secondary());
    if (auto* badge = button->findChild<IconBadge*>(QStringLiteral("badge")))
        badge->setTint(selected ? tint : secondary());
    button->setSelected(selected);
}

KitButton* tile(const QMarginsF& insets, const QColor& tint, QWidget* parent)
{
    auto* button = new KitButton(QString(), std::make_unique<SettingsControlStyle>(tint, false, true, insets), parent);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QWidget* surfaced(QWidget* content, const QColor& tint, int margin)
{
    content->layout()->setContentsMargins(margin, margin, margin, margin);
    return settingsSurface(content, tint);
}

} // namespace

SettingsView::SettingsView(AppState* app, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_known(readStored())
    , m_tilt(new AnimatedValue(0.0, this))
    , m_railSlide(new AnimatedValue(1.0, this))
    , m_messagesRoll(new AnimatedValue(double(m_known.messages), this))
{
    setObjectName(QStringLiteral("settingsView"));
    setMinimumSize(780, 640);
    setAutoFillBackground(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Palette::ink());
    setPalette(palette);

    auto* frame = row(this, 0);
    frame->addWidget(buildSidebar());
    auto* divider = new QWidget(this);
    divider->setFixedWidth(1);
    divider->setObjectName(QStringLiteral("divider"));
    divider->setStyleSheet(QStringLiteral("#divider { background: rgba(255,255,255,20); }"));
    frame->addWidget(divider);
    frame->addWidget(buildDetail(), 1);
    new TransparentWindowChrome(this);

    m_savedTimer.setSingleShot(true);
    m_savedTimer.setInterval(2000);
    connect(&m_savedTimer, &QTimer::timeout, this, [this] {
        m_saved = false;
        fadeVisible(m_savedBadge, false, spring());
    });
    m_celebrationTimer.setSingleShot(true);
    m_celebrationTimer.setInterval(3000);
    connect(&m_celebrationTimer, &QTimer::timeout, this, [this] {
        m_celebrating = false;
        m_tilt->animateTo(0.0, spring());
        syncQuote();
    });
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, &SettingsView::preferenceChanged);
    if (m_app) {
        // The state's search, started here or anywhere else, is what the AI section shows.
        connect(m_app, &AppState::aiToolsChanged, this, &SettingsView::sync);
        connect(m_app, &AppState::aiDetectingChanged, this, [this] {
            sync();
            if (!m_app->aiDetecting())
                emit detectionFinished();
        });
    }

    m_savedBadge->hide();
    setSection(general);
    sync();
}

SettingsView::~SettingsView()
{
    // Taking the content down is not the user scrolling.
    m_scroll->verticalScrollBar()->disconnect(this);
}

SettingsView::Stored SettingsView::readStored()
{
    const UserDefaults& store = UserDefaults::standard();
    return {store.integer(Prefs::messagesPerRead).value_or(SettingsRules::defaultMessages),
            store.boolean(Prefs::showInternalTopics).value_or(false),
            store.string(Prefs::aiProvider).value_or(AIProvider::autoValue),
            store.string(L10n::key).value_or(QStringLiteral("system"))};
}

QWidget* SettingsView::buildSidebar()
{
    auto* sidebar = new QWidget(this);
    sidebar->setObjectName(QStringLiteral("settingsSidebar"));
    sidebar->setFixedWidth(200);
    sidebar->setAttribute(Qt::WA_StyledBackground);
    sidebar->setStyleSheet(QStringLiteral("#settingsSidebar { background: rgba(0,0,0,43); }"));
    auto* layout = column(sidebar, 0);
    layout->addSpacing(26);

    auto* mascotRow = new QWidget(sidebar);
    auto* mascotLayout = row(mascotRow, 10);
    mascotLayout->setContentsMargins(20, 30, 20, 0);
    KitButton* mascot = mascotButton(43, m_sideMascot, mascotRow);
    mascot->setObjectName(QStringLiteral("sidebarMascot"));
    connect(mascot, &QAbstractButton::clicked, this, &SettingsView::boop);
    mascotLayout->addWidget(mascot);
    auto* names = new QWidget(mascotRow);
    auto* namesLayout = column(names, 4);
    namesLayout->addWidget(
        label(QStringLiteral("Tessaron"), KitFont::font(18, QFont::Bold, FontDesign::rounded), Palette::ink(), names));
    namesLayout->addWidget(wrapping(L10n::t("COUNSEL ON RETAINER"),
                                    KitFont::font(8, QFont::Medium, FontDesign::monospaced, 0.7), secondary(), names));
    mascotLayout->addWidget(names, 1);
    layout->addWidget(mascotRow);

    QLabel* heading = label(L10n::t("SETTINGS"), KitFont::font(9, QFont::Medium, FontDesign::monospaced, 1.4),
                            Palette::withOpacity(secondary(), 0.65), sidebar);
    layout->addWidget(padded(heading, QMargins(24, 39, 24, 14), sidebar));

    auto* rail = new QWidget(sidebar);
    auto* railLayout = column(rail, 6);
    railLayout->setContentsMargins(7, 0, 7, 0);
    m_railHighlight = new RailHighlight(rail);
    connect(m_railSlide, &AnimatedValue::valueChanged, this, &SettingsView::placeRailHighlight);
    for (int i = 0; i < 3; ++i) {
        auto* button =
            new KitButton(QString(), std::make_unique<SettingsControlStyle>(accent(), false, false, railInsets), rail);
        button->setObjectName(QStringLiteral("rail%1").arg(i));
        auto* content = new QWidget;
        auto* contentLayout = row(content, 9);
        auto* icon = new SymbolView(QString::fromLatin1(railEntries[i].symbol), 14, secondary(), content);
        icon->setObjectName(QStringLiteral("icon"));
        icon->setFixedWidth(18);
        contentLayout->addWidget(icon);
        QLabel* title = label(L10n::t(railEntries[i].title), KitFont::font(12, QFont::Medium), Palette::ink(), content);
        title->setObjectName(QStringLiteral("title"));
        contentLayout->addWidget(title);
        contentLayout->addStretch(1);
        button->setContent(content);
        button->setAccessibleName(L10n::t(railEntries[i].title));
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QAbstractButton::clicked, this, [this, i] { setSection(i); });
        railLayout->addWidget(button);
        button->installEventFilter(this);
        m_rail << button;
    }
    m_railHighlight->lower();
    layout->addWidget(rail);
    layout->addStretch(1);

    // The signature card.
    auto* card = new QWidget(sidebar);
    auto* cardLayout = column(card, 14);
    auto* cardTop = new QWidget(card);
    auto* cardTopLayout = row(cardTop, 6);
    m_quoteSymbol = new SymbolView(QStringLiteral("quote.opening"), 17, accent(), cardTop);
    m_quoteSymbol->setObjectName(QStringLiteral("quoteSymbol"));
    cardTopLayout->addWidget(m_quoteSymbol);
    cardTopLayout->addStretch(1);
    m_plusOne = label(QStringLiteral("+1"), KitFont::font(11, QFont::Bold), accent(), cardTop);
    m_plusOne->setObjectName(QStringLiteral("plusOne"));
    cardTopLayout->addWidget(m_plusOne);
    cardLayout->addWidget(cardTop);
    m_quote = wrapping(QString(), KitFont::font(12, QFont::Medium, FontDesign::rounded), Palette::ink(), card);
    m_quote->setObjectName(QStringLiteral("signatureQuote"));
    m_quote->setMinimumHeight(65);
    m_quote->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    cardLayout->addWidget(m_quote);
    cardLayout->addWidget(label(QStringLiteral("— TESSARON"),
                                KitFont::font(8, QFont::Medium, FontDesign::monospaced, 1.3), secondary(), card));
    QWidget* cardSurface = surfaced(card, accent(), 16);
    // The card tilts while the boop celebration runs.
    m_tiltEffect = std::make_unique<EffectSlot>(cardSurface);
    connect(m_tilt, &AnimatedValue::valueChanged, this, [this, cardSurface](double amount) {
        m_tiltEffect->apply(Transforms::rotateAbout(-2.0 * amount, QRectF(cardSurface->rect()).center()), 1.0, {}, 0.0,
                            8.0);
    });
    auto* cardHolder = new QWidget(sidebar);
    auto* holderLayout = column(cardHolder, 0);
    holderLayout->setContentsMargins(16, 0, 16, 24);
    holderLayout->addWidget(cardSurface);
    layout->addWidget(cardHolder);

    auto* version = new QWidget(sidebar);
    auto* versionLayout = row(version, 6);
    versionLayout->setContentsMargins(22, 0, 22, 22);
    const QFont small = KitFont::font(9, QFont::Normal, FontDesign::monospaced);
    const QColor faint = Palette::withOpacity(secondary(), 0.65);
    versionLayout->addWidget(label(QStringLiteral("v") + WhatsNewEntry::currentVersion(), small, faint, version));
    versionLayout->addWidget(label(QStringLiteral("•"), small, faint, version));
    versionLayout->addWidget(label(L10n::t("Made for Linux"), small, faint, version));
    versionLayout->addStretch(1);
    layout->addWidget(version);
    return sidebar;
}

QWidget* SettingsView::buildDetail()
{
    auto* detail = new QWidget(this);
    auto* layout = column(detail, 0);

    auto* header = new QWidget(detail);
    auto* headerLayout = column(header, 10);
    headerLayout->setContentsMargins(30, 44, 30, 30);
    auto* eyebrowRow = new QWidget(header);
    eyebrowRow->setFixedHeight(14);
    auto* eyebrowLayout = row(eyebrowRow, 6);
    m_eyebrow = label(QString(), KitFont::font(9, QFont::Medium, FontDesign::monospaced, 1.6), accent(), eyebrowRow);
    eyebrowLayout->addWidget(m_eyebrow);
    eyebrowLayout->addStretch(1);
    m_savedBadge = new QWidget(eyebrowRow);
    m_savedBadge->setObjectName(QStringLiteral("onTheRecord"));
    auto* savedLayout = row(m_savedBadge, 4);
    savedLayout->addWidget(new SymbolView(QStringLiteral("checkmark.seal.fill"), 10, Palette::mint(), m_savedBadge));
    savedLayout->addWidget(
        label(L10n::t("On the record."), KitFont::font(10, QFont::DemiBold), Palette::mint(), m_savedBadge));
    eyebrowLayout->addWidget(m_savedBadge);
    headerLayout->addWidget(eyebrowRow);
    m_title = label(QString(), KitFont::font(32, QFont::Bold, FontDesign::rounded, -1.1), Palette::ink(), header);
    m_title->setTextFormat(Qt::RichText);
    headerLayout->addWidget(m_title);
    m_subtitle = wrapping(QString(), KitFont::font(12), secondary(), header);
    headerLayout->addWidget(m_subtitle);
    layout->addWidget(header);

    auto* scroll = new QScrollArea(detail);
    scroll->setObjectName(QStringLiteral("settingsScroll"));
    // The controls inside take the focus, each scrolled into view; the area itself is no stop.
    scroll->setFocusPolicy(Qt::NoFocus);
    SheetFit::keepFocusInView(scroll);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setStyleSheet(QStringLiteral("#settingsScroll { background: transparent; }"));
    scroll->viewport()->setAutoFillBackground(false);
    auto* body = new QWidget;
    body->setAutoFillBackground(false);
    auto* bodyLayout = column(body, 0);
    bodyLayout->setContentsMargins(30, 0, 30, 26);
    m_bodies = {buildGeneral(), buildAI(), buildAbout()};
    for (QWidget* section : m_bodies) {
        section->setParent(body);
        bodyLayout->addWidget(section);
    }
    bodyLayout->addStretch(1);
    scroll->setWidget(body);
    // setWidget() turns the background on; the window's ground shows through.
    body->setAutoFillBackground(false);
    layout->addWidget(scroll, 1);
    m_scroll = scroll;
    // The window remembers where its content stood, for the content a language change builds.
    connect(scroll->verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (QWidget* host = window(); host != this && m_restored && isVisible() && !m_scrollToRestore)
            host->setProperty(scrollProperty, value);
    });
    connect(scroll->verticalScrollBar(), &QScrollBar::rangeChanged, this, &SettingsView::restoreScroll);

    // The footer strip.
    auto* footer = new QWidget(detail);
    footer->setObjectName(QStringLiteral("settingsFooter"));
    auto* footerLayout = column(footer, 0);
    footerLayout->setContentsMargins(30, 0, 30, 0);
    auto* hairline = new QWidget(footer);
    hairline->setFixedHeight(1);
    hairline->setObjectName(QStringLiteral("footerHairline"));
    hairline->setStyleSheet(QStringLiteral("#footerHairline { background: rgba(255,255,255,18); }"));
    footerLayout->addWidget(hairline);
    auto* strip = new QWidget(footer);
    auto* stripLayout = row(strip, 6);
    stripLayout->setContentsMargins(0, 16, 0, 16);
    stripLayout->addWidget(new SymbolView(QStringLiteral("checkmark.circle"), 9, Palette::mint(), strip));
    stripLayout->addWidget(label(L10n::t("Saved automatically"), KitFont::font(9), Palette::ink(), strip));
    stripLayout->addStretch(1);
    stripLayout->addWidget(label(L10n::t("No save button. I'm a retriever."), KitFont::font(9),
                                 Palette::withOpacity(secondary(), 0.65), strip));
    footerLayout->addWidget(strip);
    layout->addWidget(footer);
    return detail;
}

QWidget* SettingsView::buildGeneral()
{
    auto* section = new QWidget;
    section->setObjectName(QStringLiteral("generalSection"));
    auto* layout = column(section, 18);

    // Messages per read.
    auto* messages = new QWidget;
    auto* messagesLayout = column(messages, 19);
    auto* top = new QWidget(messages);
    auto* topLayout = row(top, 12);
    topLayout->addWidget(iconBadge(QStringLiteral("text.magnifyingglass"), accent(), top));
    auto* texts = new QWidget(top);
    auto* textsLayout = column(texts, 5);
    textsLayout->addWidget(
        label(L10n::t("Messages per topic"), KitFont::font(13, QFont::DemiBold), Palette::ink(), texts));
    textsLayout->addWidget(
        label(L10n::t("More evidence. A little more patience."), KitFont::font(11), secondary(), texts));
    topLayout->addWidget(texts, 1);
    topLayout->addSpacing(8);
    m_messagesValue = label(QString(), KitFont::font(32, QFont::DemiBold, FontDesign::rounded), accent(), top);
    m_messagesValue->setObjectName(QStringLiteral("messagesValue"));
    connect(m_messagesRoll, &AnimatedValue::valueChanged, m_messagesValue, [this](double v) {
        // Counting stops at the new value; the spring's overshoot shows no number beyond it.
        const double target = m_messagesRoll->target();
        const bool past = m_messagesRoll->isAnimating() && (v - target) * (m_messagesFrom - target) < 0;
        m_messagesValue->setText(QString::number(std::llround(past ? target : v)));
    });
    topLayout->addWidget(m_messagesValue);
    messagesLayout->addWidget(top);

    struct Preset {
        int value;
        const char* title;
        const char* symbol;
    };
    const Preset presets[] = {{50, "A quick look", "magnifyingglass"},
                              {100, "On the case", "doc.text.magnifyingglass"},
                              {500, "The whole story", "books.vertical"}};
    auto* presetRow = new QWidget(messages);
    auto* presetLayout = row(presetRow, 9);
    for (const Preset& preset : presets) {
        KitButton* button = tile(QMarginsF(13, 13, 13, 13), accent(), presetRow);
        button->setObjectName(QStringLiteral("preset%1").arg(preset.value));
        auto* content = new QWidget;
        auto* contentLayout = column(content, 10);
        auto* symbols = new QWidget(content);
        auto* symbolsLayout = row(symbols, 0);
        auto* icon = new SymbolView(QString::fromLatin1(preset.symbol), 15, secondary(), symbols);
        icon->setObjectName(QStringLiteral("icon"));
        symbolsLayout->addWidget(icon);
        symbolsLayout->addStretch(1);
        auto* check = new SymbolView(QStringLiteral("checkmark.circle.fill"), 12, accent(), symbols);
        check->setObjectName(QStringLiteral("check"));
        symbolsLayout->addWidget(check);
        contentLayout->addWidget(symbols);
        auto* valueRow = new QWidget(content);
        auto* valueLayout = row(valueRow, 6);
        valueLayout->addWidget(label(QString::number(preset.value),
                                     KitFont::font(19, QFont::DemiBold, FontDesign::rounded), Palette::ink(), valueRow),
                               0, Qt::AlignBaseline);
        valueLayout->addWidget(label(QStringLiteral("msgs"), KitFont::font(9, QFont::Normal, FontDesign::monospaced),
                                     secondary(), valueRow),
                               0, Qt::AlignBaseline);
        valueLayout->addStretch(1);
        contentLayout->addWidget(valueRow);
        contentLayout->addWidget(
            label(L10n::t(preset.title), KitFont::font(10, QFont::Medium), Palette::ink(), content));
        button->setContent(content);
        button->setAccessibleName(L10n::t(preset.title) + QStringLiteral(", ") + QString::number(preset.value));
        const int value = preset.value;
        connect(button, &QAbstractButton::clicked, this, [this, value] {
            if (readStored().messages == value)
                return;
            // The store answers at once; the change it reports is the preset's, which moves.
            m_presetMotion = spring();
            UserDefaults::standard().setInteger(Prefs::messagesPerRead, value);
            m_presetMotion = Motion::none();
        });
        presetLayout->addWidget(button);
        m_presets << button;
    }
    messagesLayout->addWidget(presetRow);

    auto* sliderBlock = new QWidget(messages);
    auto* sliderLayout = column(sliderBlock, 8);
    m_slider = new QSlider(Qt::Horizontal, sliderBlock);
    m_slider->setObjectName(QStringLiteral("messagesSlider"));
    m_slider->setRange(SettingsRules::minimumMessages, SettingsRules::maximumMessages);
    m_slider->setSingleStep(10);
    m_slider->setPageStep(100);
    m_slider->setAccessibleName(L10n::t("Messages per topic"));
    const QString accentName = accent().name();
    m_slider->setStyleSheet(QStringLiteral("QSlider#messagesSlider::groove:horizontal { height: 4px; border-radius: 2px; "
                                           "background: rgba(255,255,255,30); }"
                                           "QSlider#messagesSlider::sub-page:horizontal { border-radius: 2px; background: %1; }"
                                           "QSlider#messagesSlider::handle:horizontal { width: 16px; height: 16px; margin: -6px 0; "
                                           "border-radius: 8px; background: #f2efe8; }")
                                .arg(accentName));
    connect(m_slider, &QSlider::valueChanged, this, [](int position) {
        const int value = SettingsRules::messagesForPosition(position);
        if (readStored().messages != value)
            UserDefaults::standard().setInteger(Prefs::messagesPerRead, value);
    });
    sliderLayout->addWidget(m_slider);
    auto* ends = new QWidget(sliderBlock);
    auto* endsLayout = row(ends, 0);
    const QFont endFont = KitFont::font(9, QFont::Normal, FontDesign::monospaced);
    endsLayout->addWidget(label(QStringLiteral("10"), endFont, Palette::withOpacity(secondary(), 0.8), ends));
    endsLayout->addStretch(1);
    endsLayout->addWidget(label(QStringLiteral("1,000"), endFont, Palette::withOpacity(secondary(), 0.8), ends));
    sliderLayout->addWidget(ends);
    messagesLayout->addWidget(sliderBlock);

    auto* captionRow = new QWidget(messages);
    auto* captionLayout = row(captionRow, 8);
    captionLayout->addWidget(
        new SymbolView(QStringLiteral("quote.bubble"), 10.5, Palette::withOpacity(accent(), 0.85), captionRow), 0,
        Qt::AlignTop);
    m_caption = wrapping(QString(), KitFont::font(10.5), secondary(), captionRow);
    m_caption->setObjectName(QStringLiteral("messagesCaption"));
    captionLayout->addWidget(m_caption, 1);
    messagesLayout->addWidget(captionRow);
    layout->addWidget(surfaced(messages, accent(), 20));

    // Internal topics.
    auto* internal = new QWidget;
    auto* internalLayout = row(internal, 14);
    internalLayout->addWidget(iconBadge(QStringLiteral("eye"), Palette::mint(), internal));
    auto* internalTexts = new QWidget(internal);
    auto* internalTextsLayout = column(internalTexts, 5);
    internalTextsLayout->addWidget(label(L10n::t("Show Kafka's internal topics"), KitFont::font(12, QFont::DemiBold),
                                         Palette::ink(), internalTexts));
    internalTextsLayout->addWidget(
        label(L10n::t("Even Kafka has a drawer full of paperwork."), KitFont::font(11), secondary(), internalTexts));
    internalLayout->addWidget(internalTexts, 1);
    internalLayout->addSpacing(6);
    m_internal = new SettingsSwitch(Palette::mint(), internal);
    m_internal->setObjectName(QStringLiteral("internalTopics"));
    m_internal->setAccessibleName(L10n::t("Show Kafka's internal topics"));
    connect(m_internal, &QAbstractButton::toggled, this, [](bool on) {
        if (readStored().internal != on)
            UserDefaults::standard().setBool(Prefs::showInternalTopics, on);
    });
    internalLayout->addWidget(m_internal);
    layout->addWidget(surfaced(internal, QColor(Qt::white), 18));

    // Language.
    auto* language = new QWidget;
    auto* languageLayout = column(language, 17);
    auto* languageTop = new QWidget(language);
    auto* languageTopLayout = row(languageTop, 12);
    languageTopLayout->addWidget(iconBadge(QStringLiteral("globe"), Palette::lavender(), languageTop));
    auto* languageTexts = new QWidget(languageTop);
    auto* languageTextsLayout = column(languageTexts, 4);
    languageTextsLayout->addWidget(
        label(L10n::t("Language"), KitFont::font(12, QFont::DemiBold), Palette::ink(), languageTexts));
    languageTextsLayout->addWidget(
        label(L10n::t("Fluent in human. Native in woof."), KitFont::font(11), secondary(), languageTexts));
    languageTopLayout->addWidget(languageTexts, 1);
    languageLayout->addWidget(languageTop);
    auto* options = new QWidget(language);
    auto* optionsLayout = row(options, 7);
    for (int i = 0; i < 3; ++i) {
        KitButton* button = tile(QMarginsF(8, 11, 8, 11), Palette::lavender(), options);
        button->setObjectName(QStringLiteral("language-%1").arg(languageValues.at(i)));
        auto* content = new QWidget;
        auto* contentLayout = row(content, 7);
        contentLayout->addStretch(1);
        contentLayout->addWidget(label(languageTitle(i), KitFont::font(11, QFont::Medium), Palette::ink(), content));
        auto* check = new SymbolView(QStringLiteral("checkmark"), 9, Palette::ink(), content);
        check->setObjectName(QStringLiteral("check"));
        contentLayout->addWidget(check);
        contentLayout->addStretch(1);
        button->setContent(content);
        button->setAccessibleName(languageTitle(i));
        const QString value = languageValues.at(i);
        connect(button, &QAbstractButton::clicked, this, [value] {
            if (readStored().language != value)
                UserDefaults::standard().setString(L10n::key, value);
        });
        optionsLayout->addWidget(button);
        m_languages << button;
    }
    languageLayout->addWidget(options);
    layout->addWidget(surfaced(language, QColor(Qt::white), 18));
    return section;
}

QWidget* SettingsView::buildAI()
{
    auto* section = new QWidget;
    section->setObjectName(QStringLiteral("aiSection"));
    auto* layout = column(section, 14);

    auto* head = new QWidget(section);
    auto* headLayout = row(head, 6);
    headLayout->addWidget(label(L10n::t("WHO'S ON THE CASE?"),
                                KitFont::font(9, QFont::Medium, FontDesign::monospaced, 1.1), secondary(), head));
    headLayout->addStretch(1);
    m_checkAgain =
        new KitButton(L10n::t("Check again"),
                      std::make_unique<SettingsControlStyle>(accent(), false, true, QMarginsF(9, 9, 9, 9)), head);
    m_checkAgain->setObjectName(QStringLiteral("checkAgain"));
    m_checkAgain->setLeadingSymbol(QStringLiteral("arrow.clockwise"));
    m_checkAgain->setFont(KitFont::font(10, QFont::Medium));
    connect(m_checkAgain, &QAbstractButton::clicked, this, &SettingsView::detect);
    headLayout->addWidget(m_checkAgain);
    layout->addWidget(head);

    const char* const symbols[] = {"wand.and.stars", "asterisk", "command"};
    for (int i = 0; i < 3; ++i) {
        const SettingsRules::ProviderRow providerRow = providerRows[i];
        KitButton* button = tile(QMarginsF(17, 17, 17, 17), accent(), section);
        button->setObjectName(QStringLiteral("provider-%1").arg(SettingsRules::storedValue(providerRow)));
        auto* content = new QWidget;
        auto* contentLayout = row(content, 13);
        IconBadge* badge = iconBadge(QString::fromLatin1(symbols[i]), secondary(), content);
        badge->setObjectName(QStringLiteral("badge"));
        contentLayout->addWidget(badge);
        auto* texts = new QWidget(content);
        auto* textsLayout = column(texts, 7);
        auto* first = new QWidget(texts);
        auto* firstLayout = row(first, 8);
        const QString title =
            i == 0 ? L10n::t("Automatic") : AICLI(i == 1 ? AICLI::claude : AICLI::codex).displayName();
        firstLayout->addWidget(label(title, KitFont::font(13, QFont::DemiBold), Palette::ink(), first));
        QLabel* status = label(QString(), KitFont::font(9, QFont::Medium), secondary(), first);
        status->setObjectName(QStringLiteral("status"));
        firstLayout->addWidget(status);
        firstLayout->addStretch(1);
        textsLayout->addWidget(first);
        QLabel* subtitle =
            label(QString(), KitFont::font(10, QFont::Normal, FontDesign::monospaced), secondary(), texts);
        subtitle->setObjectName(QStringLiteral("subtitle"));
        textsLayout->addWidget(subtitle);
        contentLayout->addWidget(texts, 1);
        contentLayout->addSpacing(4);
        auto* mark = new SymbolView(QStringLiteral("circle"), 18, secondary(), content);
        mark->setObjectName(QStringLiteral("mark"));
        contentLayout->addWidget(mark);
        button->setContent(content);
        const QString value = SettingsRules::storedValue(providerRow);
        connect(button, &QAbstractButton::clicked, this, [value] {
            if (readStored().provider != value)
                UserDefaults::standard().setString(Prefs::aiProvider, value);
        });
        layout->addWidget(button);
        m_providers << button;
        m_statusWords << status;
        m_providerSubtitles << subtitle;
    }

    auto* footnote = new QWidget(section);
    auto* footnoteLayout = row(footnote, 10);
    footnoteLayout->setContentsMargins(0, 5, 0, 0);
    footnoteLayout->addWidget(new SymbolView(QStringLiteral("info.circle"), 11, accent(), footnote), 0, Qt::AlignTop);
    m_footnote = wrapping(QString(), KitFont::font(11), secondary(), footnote);
    m_footnote->setObjectName(QStringLiteral("aiFootnote"));
    m_footnote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    footnoteLayout->addWidget(m_footnote, 1);
    layout->addWidget(footnote);

    auto* card = new QWidget;
    auto* cardLayout = row(card, 12);
    cardLayout->addWidget(iconBadge(QStringLiteral("bubble.left.and.bubble.right"), Palette::lavender(), card));
    cardLayout->addWidget(label(L10n::t("I object to doing everything myself."),
                                KitFont::font(12, QFont::Medium, FontDesign::rounded), Palette::ink(), card),
                          1);
    layout->addSpacing(8);
    layout->addWidget(surfaced(card, Palette::lavender(), 18));
    return section;
}

QWidget* SettingsView::buildAbout()
{
    auto* section = new QWidget;
    section->setObjectName(QStringLiteral("aboutSection"));
    auto* layout = column(section, 20);

    auto* card = new QWidget;
    auto* cardLayout = row(card, 22);
    KitButton* mascot = mascotButton(84, m_aboutMascot, card);
    mascot->setObjectName(QStringLiteral("aboutMascot"));
    connect(mascot, &QAbstractButton::clicked, this, &SettingsView::boop);
    cardLayout->addWidget(mascot);
    auto* lines = new QWidget(card);
    auto* linesLayout = column(lines, 8);
    linesLayout->addWidget(wrapping(L10n::t("Good instincts. Better evidence."),
                                    KitFont::font(19, QFont::Bold, FontDesign::rounded), Palette::ink(), lines));
    linesLayout->addWidget(
        wrapping(L10n::t("Kafka and RabbitMQ, from a guy who can't lie."), KitFont::font(12), secondary(), lines));
    // The version, then the platform this build is for.
    QLabel* versionLine =
        label(QStringLiteral("v") + WhatsNewEntry::currentVersion() + QStringLiteral(" · ") + BuildInfo::platformNote(),
              KitFont::font(10, QFont::Normal, FontDesign::monospaced), accent(), lines);
    versionLine->setObjectName(QStringLiteral("versionLine"));
    linesLayout->addWidget(versionLine);
    cardLayout->addWidget(lines, 1);
    layout->addWidget(surfaced(card, accent(), 24));

    struct Action {
        const char* name;
        const char* symbol;
        const char* title;
        const char* subtitle;
    };
    const Action actions[] = {
        {"whatsNew", "sparkles", "What's new", "The latest additions to the case file."},
        {"replay", "arrow.counterclockwise", "Replay the introduction",
         "Have we met? Let's do the introductions again."},
        {"badge", "person.text.rectangle", "The badge", "Version, mileage, and the dog on the icon."},
    };
    for (const Action& action : actions) {
        KitButton* button = tile(QMarginsF(18, 18, 18, 18), accent(), section);
        button->setObjectName(QString::fromLatin1(action.name));
        auto* content = new QWidget;
        auto* contentLayout = row(content, 13);
        contentLayout->addWidget(iconBadge(QString::fromLatin1(action.symbol), accent(), content));
        auto* texts = new QWidget(content);
        auto* textsLayout = column(texts, 5);
        textsLayout->addWidget(label(L10n::t(action.title), KitFont::font(13, QFont::DemiBold), Palette::ink(), texts));
        textsLayout->addWidget(label(L10n::t(action.subtitle), KitFont::font(11), secondary(), texts));
        contentLayout->addWidget(texts, 1);
        contentLayout->addWidget(new SymbolView(QStringLiteral("arrow.up.right"), 12, secondary(), content));
        button->setContent(content);
        button->setAccessibleName(L10n::t(action.title));
        layout->addWidget(button);
        const QString name = QString::fromLatin1(action.name);
        connect(button, &QAbstractButton::clicked, this, [this, name] {
            if (name == QLatin1String("whatsNew"))
                showWhatsNew();
            else if (name == QLatin1String("replay"))
                UserDefaults::standard().setBool(Prefs::onboarded, false);
            else
                emit aboutRequested();
        });
    }
    QLabel* footnote = wrapping(L10n::t("Every setting here is stored the moment you touch it. I watched."),
                                KitFont::font(11, QFont::Normal, FontDesign::rounded), secondary(), section);
    footnote->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(footnote);
    return section;
}

void SettingsView::setSection(int section)
{
    m_section = std::clamp(section, 0, 2);
    if (QWidget* host = window(); host != this)
        host->setProperty(sectionProperty, m_section);
    for (int i = 0; i < m_bodies.size(); ++i)
        m_bodies.at(i)->setVisible(i == m_section);
    // The highlight slides from where it is now to the chosen button.
    m_railFrom = m_railHighlight->geometry();
    const Motion slide = m_railHighlight->isVisible() ? spring() : Motion::none();
    m_railSlide->setImmediately(slide.isNone() ? 1.0 : 0.0);
    m_railSlide->animateTo(1.0, slide);
    placeRailHighlight();
    for (int i = 0; i < m_rail.size(); ++i) {
        KitButton* button = m_rail.at(i);
        const bool selected = i == m_section;
        button->setButtonStyle(std::make_unique<SettingsControlStyle>(accent(), selected, false, railInsets));
        button->findChild<SymbolView*>(QStringLiteral("icon"))->setColor(selected ? accent() : secondary());
        button->findChild<QLabel*>(QStringLiteral("title"))
            ->setFont(KitFont::font(12, selected ? QFont::DemiBold : QFont::Medium));
        button->setSelected(selected);
    }
    syncHeader();
}

void SettingsView::placeRailHighlight()
{
    const QRect target = m_rail.at(m_section)->geometry();
    if (!m_railSlide->isAnimating()) {
        m_railHighlight->setGeometry(target);
        return;
    }
    const double t = m_railSlide->value();
    const auto mix = [t](int from, int to) { return int(std::lround(from + (to - from) * t)); };
    m_railHighlight->setGeometry(mix(m_railFrom.x(), target.x()), mix(m_railFrom.y(), target.y()),
                                 mix(m_railFrom.width(), target.width()), mix(m_railFrom.height(), target.height()));
}

bool SettingsView::eventFilter(QObject* watched, QEvent* event)
{
    // The rail's layout places the buttons after the first section is chosen; the highlight follows.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && std::find(m_rail.begin(), m_rail.end(), watched) != m_rail.end())
        placeRailHighlight();
    return QWidget::eventFilter(watched, event);
}

void SettingsView::syncHeader()
{
    struct Header {
        const char* eyebrow;
        const char* title;
        const char* subtitle;
    };
    const Header headers[] = {
        {"YOUR APP. YOUR RULES.", "Make yourself at home", "I'll handle the queues. You call the shots."},
        {"A SECOND OPINION", "Better together", "Your local assistant. No extra API key, no ceremony."},
        {"MEET YOUR COUNSEL", nullptr, "Counsel's file, opened for you. No fee for looking."},
    };
    const Header& header = headers[m_section];
    m_eyebrow->setText(L10n::t(header.eyebrow));
    const QString title = header.title ? L10n::t(header.title) : QStringLiteral("Tessaron MQ");
    m_title->setText(title.toHtmlEscaped() + QStringLiteral("<span style=\"color:%1\">.</span>").arg(accent().name()));
    m_title->setAccessibleName(title);
    m_subtitle->setText(L10n::t(header.subtitle));
}

Motion SettingsView::spring() const
{
    // Still under reduced motion, and while the window is not the active one.
    if (AccessibilitySettings::instance().reduceMotion() || !isActiveWindow())
        return Motion::none();
    return Motion::withSpring(Spring{0.36, 0.82, 0.0});
}

QString SettingsView::quote() const { return L10n::t(SettingsRules::signatureQuote(m_celebrating, m_boops)); }

void SettingsView::syncQuote()
{
    crossFadeText(m_quote, quote(), spring());
    const QString symbol = m_celebrating ? QStringLiteral("pawprint.fill") : QStringLiteral("quote.opening");
    if (m_quoteSymbol->name() != symbol)
        replaceContent(
            m_quoteSymbol, [this, symbol] { m_quoteSymbol->setName(symbol); }, spring());
    fadeVisible(m_plusOne, m_celebrating, spring());
}

void SettingsView::sync()
{
    const Stored stored = readStored();
    const int position = SettingsRules::sliderPosition(stored.messages);
    // Other refreshes leave a rolling count alone.
    if (m_messagesRoll->target() != double(stored.messages)) {
        m_messagesFrom = m_messagesRoll->value();
        m_messagesRoll->animateTo(double(stored.messages), m_presetMotion);
    }
    if (!m_messagesRoll->isAnimating())
        m_messagesValue->setText(QString::number(stored.messages));
    crossFadeText(m_caption, L10n::t(SettingsRules::messagesCaption(stored.messages)), m_presetMotion);
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(position);
    }
    m_slider->setAccessibleDescription(QString::number(stored.messages));
    const std::optional<int> preset = SettingsRules::selectedPreset(stored.messages);
    for (int i = 0; i < m_presets.size(); ++i)
        markSelected(m_presets.at(i), accent(), preset == SettingsRules::presets[i], QMarginsF(13, 13, 13, 13));
    {
        const QSignalBlocker blocker(m_internal);
        m_internal->setChecked(stored.internal);
    }
    for (int i = 0; i < m_languages.size(); ++i)
        markSelected(m_languages.at(i), Palette::lavender(), stored.language == languageValues.at(i),
                     QMarginsF(8, 11, 8, 11));

    const bool searching = detecting();
    const QMap<AICLI, QString> found = foundTools();
    m_checkAgain->setEnabled(!searching);
    for (int i = 0; i < m_providers.size(); ++i) {
        const SettingsRules::ProviderRow providerRow = providerRows[i];
        markSelected(m_providers.at(i), accent(), stored.provider == SettingsRules::storedValue(providerRow),
                     QMarginsF(17, 17, 17, 17));
        const bool rowFound = SettingsRules::rowFound(providerRow, found);
        QLabel* status = m_statusWords.at(i);
        status->setText(L10n::t(SettingsRules::statusWord(providerRow, searching, found)));
        setTextColor(status, rowFound && !searching ? Palette::mint() : secondary());
        QString subtitle;
        if (providerRow == SettingsRules::ProviderRow::automatic) {
            subtitle = L10n::t("Uses an installed CLI, preferring Claude Code.");
        } else {
            const AICLI cli = providerRow == SettingsRules::ProviderRow::claude ? AICLI::claude : AICLI::codex;
            subtitle = found.value(cli, cli.installHint());
        }
        QLabel* subtitleLabel = m_providerSubtitles.at(i);
        subtitleLabel->setText(subtitleLabel->fontMetrics().elidedText(subtitle, Qt::ElideMiddle, 420));
        subtitleLabel->setToolTip(PlainText::toolTip(subtitle));
        const QString title = i == 0
            ? L10n::t("Automatic")
            : AICLI(providerRow == SettingsRules::ProviderRow::claude ? AICLI::claude : AICLI::codex).displayName();
        m_providers.at(i)->setAccessibleName(title + QStringLiteral(", ") + subtitle);
    }
    m_footnote->setText(SettingsRules::statusSentence(searching, found, stored.provider));
    syncQuote();
    syncHeader();
}

void SettingsView::preferenceChanged(const QString& key)
{
    if (key != Prefs::messagesPerRead && key != Prefs::showInternalTopics && key != Prefs::aiProvider
        && key != L10n::key)
        return;
    const Stored now = readStored();
    const bool edited =
        now.messages != m_known.messages || now.internal != m_known.internal || now.provider != m_known.provider;
    m_known = now;
    if (edited)
        acknowledge();
    sync();
}

void SettingsView::acknowledge()
{
    ++m_edits;
    m_saved = true;
    m_savedTimer.start();
    fadeVisible(m_savedBadge, true, spring());
}

bool SettingsView::detecting() const { return m_app && m_app->aiDetecting(); }

QMap<AICLI, QString> SettingsView::foundTools() const { return m_app ? m_app->aiTools() : QMap<AICLI, QString>(); }

void SettingsView::detect()
{
    if (m_app)
        startDetached(m_app->refreshAIAvailability());
}

void SettingsView::boop()
{
    ++m_boops;
    m_sideMascot->setBoops(m_boops);
    m_aboutMascot->setBoops(m_boops);
    m_celebrating = true;
    m_celebrationTimer.start();
    if (!AccessibilitySettings::instance().reduceMotion())
        m_tilt->animateTo(1.0, spring());
    syncQuote();
}

void SettingsView::showWhatsNew() { WhatsNewView::openOnRequest(this); }

QWidget* SettingsView::whatsNewSheet() const { return WhatsNewView::openOver(this); }

void SettingsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_restored) {
        m_restored = true;
        // A language change rebuilds the window's content; the section chosen stays.
        if (QWidget* host = window(); host != this && host->property(sectionProperty).isValid())
            setSection(host->property(sectionProperty).toInt());
        if (QWidget* host = window(); host != this && host->property(scrollProperty).isValid()) {
            m_scrollToRestore = host->property(scrollProperty).toInt();
            restoreScroll();
            // Whatever the layout gives by the next turn of the event loop is where it ends.
            QTimer::singleShot(0, this, [this] {
                if (!m_scrollToRestore)
                    return;
                const int value = *m_scrollToRestore;
                m_scrollToRestore.reset();
                m_scroll->verticalScrollBar()->setValue(value);
            });
        }
    }
    detect();
}

void SettingsView::restoreScroll()
{
    QScrollBar* bar = m_scroll->verticalScrollBar();
    if (!m_scrollToRestore || bar->maximum() < *m_scrollToRestore)
        return;
    const int value = *m_scrollToRestore;
    m_scrollToRestore.reset();
    bar->setValue(value);
}

void SettingsView::hideEvent(QHideEvent* event) { QWidget::hideEvent(event); }

void SettingsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::canvas());
    QRadialGradient glow(QPointF(width(), 0), 650);
    glow.setColorAt(0, Palette::withOpacity(accent(), 0.075));
    glow.setColorAt(1, Qt::transparent);
    painter.fillRect(rect(), glow);
}

} // namespace tessaron
