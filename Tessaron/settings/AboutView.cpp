#include "Tessaron/settings/AboutView.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/PersonnelBadge.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/settings/SettingsChrome.h"
#include "Tessaron/settings/SettingsLogic.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "TessaronCore/kafka/KafkaLibrary.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/SymbolView.h"

#include <QDesktopServices>
#include <QEvent>
#include <QPainter>
#include <QtMath>
#include <QUrl>

#include <cmath>

namespace tessaron {

using namespace SettingsChrome;
namespace Palette = TessaronPalette;

namespace {

std::optional<QString>& websiteOverride()
{
    static std::optional<QString> url;
    return url;
}

// The version stamp pinned to the badge's corner: v and the version on mint, turned against the badge.
class VersionStamp : public QWidget {
public:
    explicit VersionStamp(QWidget* parent)
        : QWidget(parent)
        , m_text(QStringLiteral("v") + WhatsNewEntry::currentVersion())
        , m_font(KitFont::font(11, QFont::Black, FontDesign::monospaced))
    {
        setObjectName(QStringLiteral("versionStamp"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const QFontMetricsF metrics(m_font);
        m_plate = QSizeF(metrics.horizontalAdvance(m_text) + 22, metrics.height() + 14);
        // Room for the plate turned by 8 degrees.
        setFixedSize(qCeil(m_plate.width() + 8), qCeil(m_plate.height() + 14));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(width() / 2.0, height() / 2.0);
        painter.rotate(8);
        const QRectF plate(-m_plate.width() / 2, -m_plate.height() / 2, m_plate.width(), m_plate.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::mint());
        painter.drawRoundedRect(plate, 5, 5);
        painter.setFont(m_font);
        painter.setPen(Palette::canvas());
        PaintedText::draw(painter, plate, Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
    QFont m_font;
    QSizeF m_plate;
};

QWidget* fact(const QString& symbol, const QString& text, QWidget* parent)
{
    auto* line = new QWidget(parent);
    auto* layout = row(line, 9);
    auto* icon = new SymbolView(symbol, 10, accent(), line);
    icon->setFixedWidth(16);
    layout->addWidget(icon);
    layout->addWidget(wrapping(text, KitFont::font(11.5), Palette::withOpacity(Palette::ink(), 0.85), line), 1);
    return line;
}

KitButton* footButton(const QString& title, const QString& symbol, QWidget* parent)
{
    auto* button =
        new KitButton(title, std::make_unique<ControlStyle>(accent(), false, true, QMarginsF(12, 9, 12, 9)), parent);
    button->setLeadingSymbol(symbol);
    button->setSymbolSpacing(6);
    button->setFont(KitFont::font(11, QFont::DemiBold, FontDesign::rounded));
    return button;
}

} // namespace

AboutView::AboutView(AppState*, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("aboutView"));
    setFixedSize(760, 520);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Palette::ink());
    setPalette(palette);
    auto* layout = row(this, 36);
    layout->setContentsMargins(34, 30, 34, 30);

    auto* left = new QWidget(this);
    left->setObjectName(QStringLiteral("badgeColumn"));
    left->setFixedWidth(300);
    auto* leftLayout = column(left, 16);
    // The mascot's staff pass, a little askew, with the version stamp over its top-trailing corner.
    auto* holder = new QWidget(left);
    m_badge = new PersonnelBadge(0, holder);
    m_badge->adjustSize();
    holder->setFixedSize(300, m_badge->height() + 24);
    m_badge->move((holder->width() - m_badge->width()) / 2, 14);
    intro::tilt(m_badge, motionReduced() ? 0 : -3);
    connect(m_badge, &PersonnelBadge::booped, this, [this](int boops) {
        m_boops = boops;
        crossFadeText(m_boopLine, boopLine(), decorativeMotion(this, Motion::easeInOut(0.2)));
    });
    // The stamp hangs past the column's edge, so it belongs to the view and follows the badge.
    m_stamp = new VersionStamp(this);
    holder->installEventFilter(this);
    leftLayout->addWidget(holder, 0, Qt::AlignHCenter);
    m_boopLine = wrapping(QString(), KitFont::font(11, QFont::Medium, FontDesign::rounded), Palette::muted(), left);
    m_boopLine->setObjectName(QStringLiteral("boopLine"));
    m_boopLine->setAlignment(Qt::AlignCenter);
    m_boopLine->setFixedSize(270, 34);
    leftLayout->addWidget(m_boopLine, 0, Qt::AlignHCenter);
    leftLayout->addStretch(1);
    layout->addWidget(left, 0, Qt::AlignTop);

    auto* right = new QWidget(this);
    auto* rightLayout = column(right, 14);
    auto* titleBlock = new QWidget(right);
    auto* titleLayout = column(titleBlock, 10);
    titleLayout->addWidget(new Eyebrow(L10n::t("ABOUT"), titleBlock));
    titleLayout->addWidget(new ScreenTitle(QStringLiteral("Tessaron MQ"),
                                           L10n::t("Kafka and RabbitMQ, from a guy who can't lie."), 24, titleBlock));
    rightLayout->addWidget(titleBlock);

    auto* facts = new QWidget(right);
    auto* factsLayout = column(facts, 7);
    QWidget* versionFact =
        fact(QStringLiteral("number"),
             // The Kafka library beside the build: what a report of a broker's misbehaviour needs first.
             L10n::t("Version %@ · build %@", WhatsNewEntry::currentVersion(), WhatsNewEntry::buildNumber())
                 + QStringLiteral(" · ") + kafka::libraryVersion(),
             facts);
    versionFact->setObjectName(QStringLiteral("versionFact"));
    factsLayout->addWidget(versionFact);
    factsLayout->addWidget(fact(QStringLiteral("laptopcomputer"), BuildInfo::platformNote(), facts));
    factsLayout->addWidget(fact(QStringLiteral("magnifyingglass"),
                                L10n::t("Reads Kafka and RabbitMQ. Touches nothing it wasn't asked to."), facts));
    factsLayout->addWidget(
        fact(QStringLiteral("hand.raised.fill"), L10n::t("Local-first. No account, no server, no telemetry."), facts));
    rightLayout->addWidget(facts);

    auto* counters = new QWidget;
    auto* countersLayout = row(counters, 14);
    countersLayout->setContentsMargins(14, 14, 14, 14);
    auto counter = [&](QLabel*& number, const QString& caption) {
        auto* block = new QWidget(counters);
        auto* blockLayout = column(block, 1);
        number = label(QString(), KitFont::font(20, QFont::Black, FontDesign::monospaced), accent(), block);
        blockLayout->addWidget(number);
        blockLayout->addWidget(
            label(caption, KitFont::font(9.5, QFont::Medium, FontDesign::rounded), Palette::muted(), block));
        return block;
    };
    countersLayout->addWidget(counter(m_read, L10n::t("messages read on this computer")));
    auto* divider = new QWidget(counters);
    divider->setFixedSize(1, 34);
    divider->setObjectName(QStringLiteral("countersDivider"));
    divider->setStyleSheet(
        QStringLiteral("#countersDivider { background: %1; }").arg(Palette::css(Palette::countersDivider())));
    countersLayout->addWidget(divider);
    countersLayout->addWidget(counter(m_disturbed, L10n::t("disturbed")));
    countersLayout->addStretch(1);
    m_read->setObjectName(QStringLiteral("readCounter"));
    m_disturbed->setObjectName(QStringLiteral("disturbedCounter"));
    rightLayout->addWidget(panelSurface(counters, accent()));

    auto* credits = new QWidget(right);
    auto* creditsLayout = column(credits, 3);
    creditsLayout->addWidget(wrapping(L10n::t("Made by a small pack of engineers and one very good dog."),
                                      KitFont::font(11, QFont::DemiBold, FontDesign::rounded), Palette::ink(),
                                      credits));
    creditsLayout->addWidget(wrapping(L10n::t("Built on open source, with thanks to everyone who shares it."),
                                      KitFont::font(10.5), Palette::muted(), credits));
    creditsLayout->addWidget(
        label(L10n::t("No queues were harmed. A few were requeued."), KitFont::font(10.5), Palette::muted(), credits));
    rightLayout->addWidget(credits);
    rightLayout->addStretch(1);

    auto* buttons = new QWidget(right);
    auto* buttonsLayout = row(buttons, 8);
    KitButton* website = footButton(L10n::t("Website"), QStringLiteral("globe"), buttons);
    website->setObjectName(QStringLiteral("website"));
    website->setEnabled(!websiteUrl().isEmpty());
    connect(website, &QAbstractButton::clicked, this, [] {
        if (!websiteUrl().isEmpty())
            QDesktopServices::openUrl(QUrl(websiteUrl()));
    });
    buttonsLayout->addWidget(website);
    KitButton* whatsNew = footButton(L10n::t("What's new"), QStringLiteral("sparkles"), buttons);
    whatsNew->setObjectName(QStringLiteral("whatsNew"));
    connect(whatsNew, &QAbstractButton::clicked, this, &AboutView::showWhatsNew);
    buttonsLayout->addWidget(whatsNew);
    // No updater runs on Linux: shown, never enabled.
    KitButton* updates =
        footButton(L10n::t("Check for updates"), QStringLiteral("arrow.triangle.2.circlepath"), buttons);
    updates->setObjectName(QStringLiteral("checkForUpdates"));
    updates->setEnabled(false);
    buttonsLayout->addWidget(updates);
    buttonsLayout->addStretch(1);
    rightLayout->addWidget(buttons);
    layout->addWidget(right, 1);

    // A stored value that grows while the window is open counts up to its new value.
    m_readRoll = new AnimatedValue(0.0, this);
    m_disturbedRoll = new AnimatedValue(0.0, this);
    connect(m_readRoll, &AnimatedValue::valueChanged, this,
            [this](double v) { m_read->setText(SettingsLogic::counterText(std::llround(v))); });
    connect(m_disturbedRoll, &AnimatedValue::valueChanged, this,
            [this](double v) { m_disturbed->setText(SettingsLogic::counterText(std::llround(v))); });
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::messagesRead || key == Prefs::messagesDisturbed)
            syncCounters(decorativeMotion(this, Motion::easeOut(0.4)));
    });
    syncCounters(Motion::none());
    m_boopLine->setText(boopLine());
}

bool AboutView::eventFilter(QObject* watched, QEvent* event)
{
    if (m_badge && watched == m_badge->parentWidget()
        && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placeStamp();
    return QWidget::eventFilter(watched, event);
}

void AboutView::placeStamp()
{
    // Its top-trailing corner 14 right of and 10 above the badge's.
    const QPoint corner = m_badge->parentWidget()->mapTo(this, m_badge->geometry().topRight() + QPoint(1, 0));
    m_stamp->move(corner.x() + 14 - m_stamp->width(), corner.y() - 10);
    m_stamp->raise();
}

QString AboutView::websiteUrl() { return websiteOverride().value_or(BuildInfo::websiteUrl()); }

void AboutView::overrideWebsiteUrl(std::optional<QString> url) { websiteOverride() = std::move(url); }

QString AboutView::boopLine() const { return L10n::t(SettingsLogic::aboutBoopLine(m_boops)); }

void AboutView::boop() { m_badge->boop(); }

void AboutView::syncCounters(const Motion& motion)
{
    const UserDefaults& store = UserDefaults::standard();
    const qint64 read = store.integer(Prefs::messagesRead).value_or(0);
    const qint64 disturbed = store.integer(Prefs::messagesDisturbed).value_or(0);
    m_readRoll->animateTo(double(read), motion);
    m_disturbedRoll->animateTo(double(disturbed), motion);
    // The final texts, whatever the rolls passed through.
    if (motion.isNone()) {
        m_read->setText(SettingsLogic::counterText(read));
        m_disturbed->setText(SettingsLogic::counterText(disturbed));
    }
    setTextColor(m_disturbed, disturbed == 0 ? Palette::muted() : Palette::amber());
}

void AboutView::showWhatsNew() { WhatsNewView::openOnRequest(this); }

QWidget* AboutView::whatsNewSheet() const { return WhatsNewView::openOver(this); }

void AboutView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TessaronBackdrop::paintBackdrop(painter, QRectF(rect()), accent(), false);
}

} // namespace tessaron
