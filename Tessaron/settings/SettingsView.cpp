#include "Tessaron/settings/SettingsView.h"
#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/settings/TransparentWindowChrome.h"
#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/settings/SettingsChrome.h"
#include "Tessaron/settings/SettingsSections.h"
#include "Tessaron/settings/SettingsLogic.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "Tessaron/kit/ViewMotion.h"
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
        const double radius = ControlStyle::cornerRadius;
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), radius, radius);
        painter.fillPath(shape, Palette::withOpacity(accent(), 0.1));
        painter.setPen(QPen(Palette::withOpacity(accent(), 0.25), 1.0));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    }
};

} // namespace

SettingsView::SettingsView(AppState* app, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_known(readStored())
    , m_tilt(new AnimatedValue(0.0, this))
    , m_railSlide(new AnimatedValue(1.0, this))
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
    divider->setStyleSheet(QStringLiteral("#divider { background: %1; }").arg(Palette::css(Palette::hairline())));
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

QWidget* SettingsView::buildSidebar()
{
    auto* sidebar = new QWidget(this);
    sidebar->setObjectName(QStringLiteral("settingsSidebar"));
    sidebar->setFixedWidth(200);
    sidebar->setAttribute(Qt::WA_StyledBackground);
    sidebar->setStyleSheet(
        QStringLiteral("#settingsSidebar { background: %1; }").arg(Palette::css(Palette::sidebarShade())));
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
            new KitButton(QString(), std::make_unique<ControlStyle>(accent(), false, false, railInsets), rail);
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
    Palette::seeThrough(scroll);
    scroll->viewport()->setAutoFillBackground(false);
    auto* body = new QWidget;
    body->setAutoFillBackground(false);
    auto* bodyLayout = column(body, 0);
    bodyLayout->setContentsMargins(30, 0, 30, 26);
    m_general = new GeneralSection;
    m_ai = new AISection;
    connect(m_ai, &AISection::detectRequested, this, &SettingsView::detect);
    m_about = new AboutSection;
    connect(m_about, &AboutSection::booped, this, &SettingsView::boop);
    connect(m_about, &AboutSection::whatsNewRequested, this, &SettingsView::showWhatsNew);
    connect(m_about, &AboutSection::aboutRequested, this, &SettingsView::aboutRequested);
    m_bodies = {m_general, m_ai, m_about};
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
    hairline->setStyleSheet(
        QStringLiteral("#footerHairline { background: %1; }").arg(Palette::css(Palette::footerHairline())));
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
        button->setButtonStyle(std::make_unique<ControlStyle>(accent(), selected, false, railInsets));
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

Motion SettingsView::spring() const { return SettingsChrome::spring(this); }

QString SettingsView::quote() const { return L10n::t(SettingsLogic::signatureQuote(m_celebrating, m_boops)); }

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
    m_general->sync(stored);
    m_ai->sync(stored.provider, detecting(), foundTools());
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
    m_about->sync(m_boops);
    m_celebrating = true;
    m_celebrationTimer.start();
    if (motionAllowed(this))
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
