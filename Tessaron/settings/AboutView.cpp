#include "Tessaron/settings/AboutView.h"

#include "Tessaron/kit/SettingsControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/SettingsSurface.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/WelcomeEyebrow.h"
#include "Tessaron/kit/WelcomeTitle.h"
#include "Tessaron/settings/BuildInfo.h"
#include "Tessaron/settings/SettingsChrome.h"
#include "Tessaron/settings/SettingsRules.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "Tessaron/settings/WhatsNewView.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/SymbolView.h"

#include <QDesktopServices>
#include <QGraphicsProxyWidget>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>

namespace tessaron {

using namespace SettingsChrome;
namespace Palette = TessaronPalette;

namespace {

std::optional<QString>& websiteOverride()
{
    static std::optional<QString> url;
    return url;
}

const QColor signalOrange = QColor::fromRgbF(0.98f, 0.58f, 0.26f);

// The mascot's card, tilted a little, with the version stamp pinned to its corner.
class BadgeCard : public QWidget {
public:
    explicit BadgeCard(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(300, 300);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const bool still = AccessibilitySettings::instance().reduceMotion();
        const QRectF card(9, 20, 282, 262);
        painter.save();
        painter.translate(card.center());
        painter.rotate(still ? 0 : -3);
        painter.translate(-card.center());
        QPainterPath shape;
        shape.addRoundedRect(card, 17, 17);
        painter.fillPath(shape.translated(0, 8), QColor(0, 0, 0, 70));
        painter.fillPath(shape, QColor::fromRgbF(0.12f, 0.11f, 0.12f));
        painter.setPen(QPen(QColor(255, 255, 255, 41), 1));
        painter.drawPath(shape);
        painter.restore();

        // The stamp: v and the version on mint, turned the other way.
        const QString text = QStringLiteral("v") + WhatsNewEntry::currentVersion();
        const QFont font = KitFont::font(11, QFont::Black, FontDesign::monospaced);
        const QSizeF size(QFontMetricsF(font).horizontalAdvance(text) + 22, QFontMetricsF(font).height() + 14);
        painter.save();
        painter.translate(card.right() - size.width() / 2 + 4, card.top() + 4);
        painter.rotate(8);
        const QRectF stamp(-size.width() / 2, -size.height() / 2, size.width(), size.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Palette::mint());
        painter.drawRoundedRect(stamp, 5, 5);
        painter.setFont(font);
        painter.setPen(Palette::canvas());
        painter.drawText(stamp, Qt::AlignCenter, text);
        painter.restore();
    }
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
    auto* button = new KitButton(
        title, std::make_unique<SettingsControlStyle>(accent(), false, true, QMarginsF(12, 9, 12, 9)), parent);
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
    left->setFixedWidth(300);
    auto* leftLayout = column(left, 16);
    auto* badge = new BadgeCard(left);
    auto* badgeLayout = column(badge, 10);
    badgeLayout->setContentsMargins(30, 48, 30, 40);
    KitButton* mascot = mascotButton(102, m_mascot, badge);
    mascot->setObjectName(QStringLiteral("badgeMascot"));
    connect(mascot, &QAbstractButton::clicked, this, &AboutView::boop);
    badgeLayout->addWidget(mascot, 0, Qt::AlignHCenter);
    QLabel* name = label(QStringLiteral("Tessaron"), KitFont::font(30, QFont::Black, FontDesign::rounded, -0.8),
                         Palette::ink(), badge);
    badgeLayout->addWidget(name, 0, Qt::AlignHCenter);
    badgeLayout->addWidget(
        label(L10n::t("Queue counsel. Golden retriever."), KitFont::font(11), Palette::muted(), badge), 0,
        Qt::AlignHCenter);
    badgeLayout->addStretch(1);
    leftLayout->addWidget(badge, 0, Qt::AlignHCenter);
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
    titleLayout->addWidget(new WelcomeEyebrow(L10n::t("ABOUT"), titleBlock));
    titleLayout->addWidget(new WelcomeTitle(QStringLiteral("Tessaron MQ"),
                                            L10n::t("Kafka and RabbitMQ, from a guy who can't lie."), 24, titleBlock));
    rightLayout->addWidget(titleBlock);

    auto* facts = new QWidget(right);
    auto* factsLayout = column(facts, 7);
    QWidget* versionFact =
        fact(QStringLiteral("number"),
             L10n::t("Version %@ · build %@", WhatsNewEntry::currentVersion(), WhatsNewEntry::buildNumber()), facts);
    versionFact->setObjectName(QStringLiteral("versionFact"));
    factsLayout->addWidget(versionFact);
    factsLayout->addWidget(fact(QStringLiteral("laptopcomputer"), L10n::t("Linux · x86-64 and ARM64"), facts));
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
    divider->setStyleSheet(QStringLiteral("background: rgba(255,255,255,26);"));
    countersLayout->addWidget(divider);
    countersLayout->addWidget(counter(m_disturbed, L10n::t("disturbed")));
    countersLayout->addStretch(1);
    m_read->setObjectName(QStringLiteral("readCounter"));
    m_disturbed->setObjectName(QStringLiteral("disturbedCounter"));
    rightLayout->addWidget(settingsSurface(counters, accent()));

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

    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::messagesRead || key == Prefs::messagesDisturbed)
            syncCounters();
    });
    syncCounters();
    m_boopLine->setText(boopLine());
}

QString AboutView::websiteUrl() { return websiteOverride().value_or(QStringLiteral(TESSARON_WEBSITE_URL)); }

void AboutView::overrideWebsiteUrl(std::optional<QString> url) { websiteOverride() = std::move(url); }

QString AboutView::boopLine() const { return L10n::t(SettingsRules::aboutBoopLine(m_boops)); }

void AboutView::boop()
{
    ++m_boops;
    m_mascot->setBoops(m_boops);
    m_boopLine->setText(boopLine());
}

void AboutView::syncCounters()
{
    const UserDefaults& store = UserDefaults::standard();
    const qint64 read = store.integer(Prefs::messagesRead).value_or(0);
    const qint64 disturbed = store.integer(Prefs::messagesDisturbed).value_or(0);
    m_read->setText(SettingsRules::counterText(read));
    m_disturbed->setText(SettingsRules::counterText(disturbed));
    setTextColor(m_disturbed, disturbed == 0 ? Palette::muted() : signalOrange);
}

void AboutView::showWhatsNew()
{
    if (m_whatsNew)
        return;
    const std::optional<WhatsNewEntry> entry = WhatsNewEntry::entryOnRequest();
    if (!entry)
        return;
    auto* sheet = new WhatsNewView(*entry, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_whatsNew = sheet;
    sheet->open();
}

void AboutView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TessaronBackdrop::paintBackdrop(painter, QRectF(rect()), accent(), false);
}

} // namespace tessaron
