#include "Tessaron/settings/SettingsSections.h"

#include "Tessaron/kit/BuildInfo.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/settings/SettingsLogic.h"
#include "Tessaron/settings/WhatsNewEntry.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/CrossFade.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/SymbolView.h"

#include <QSlider>

#include <cmath>

namespace tessaron {

using namespace SettingsChrome;
namespace Palette = TessaronPalette;

namespace {

const QStringList languageValues = {QStringLiteral("system"), QStringLiteral("en"), QStringLiteral("pt")};

QString languageTitle(int index)
{
    if (index == 0)
        return L10n::t("System");
    return index == 1 ? QStringLiteral("English") : QStringLiteral("Português");
}

const SettingsLogic::ProviderRow providerRows[] = {
    SettingsLogic::ProviderRow::automatic, SettingsLogic::ProviderRow::claude, SettingsLogic::ProviderRow::codex};

} // namespace

GeneralSection::GeneralSection(QWidget* parent)
    : QWidget(parent)
    , m_messagesRoll(new AnimatedValue(double(readStored().messages), this))
{
    QWidget* section = this;
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
    m_slider->setRange(SettingsLogic::minimumMessages, SettingsLogic::maximumMessages);
    m_slider->setSingleStep(10);
    m_slider->setPageStep(100);
    m_slider->setAccessibleName(L10n::t("Messages per topic"));
    const QString accentName = accent().name();
    m_slider->setStyleSheet(
        QStringLiteral("QSlider#messagesSlider::groove:horizontal { height: 4px; border-radius: 2px; "
                       "background: %2; }"
                       "QSlider#messagesSlider::sub-page:horizontal { border-radius: 2px; background: %1; }"
                       "QSlider#messagesSlider::handle:horizontal { width: 16px; height: 16px; margin: -6px 0; "
                       "border-radius: 8px; background: %3; }")
            .arg(accentName, Palette::css(Palette::trackFill()), Palette::css(Palette::sliderHandle())));
    // The style sheet draws the slider whole, the style's ring with it: the ring goes above.
    FocusRing::overlay(m_slider, m_slider, 6);
    connect(m_slider, &QSlider::valueChanged, this, [](int position) {
        const int value = SettingsLogic::messagesForPosition(position);
        if (readStored().messages != value)
            UserDefaults::standard().setInteger(Prefs::messagesPerRead, value);
    });
    sliderLayout->addWidget(m_slider);
    auto* ends = new QWidget(sliderBlock);
    auto* endsLayout = row(ends, 0);
    const QFont endFont = KitFont::font(9, QFont::Normal, FontDesign::monospaced);
    endsLayout->addWidget(label(QStringLiteral("10"), endFont, Palette::withOpacity(secondary(), 0.8), ends));
    endsLayout->addStretch(1);
    // The ends read as the interface's language writes numbers ("1,000", "1.000").
    auto* highEnd = label(L10n::interfaceLocale().toString(SettingsLogic::maximumMessages), endFont,
                          Palette::withOpacity(secondary(), 0.8), ends);
    highEnd->setObjectName(QStringLiteral("sliderHighEnd"));
    endsLayout->addWidget(highEnd);
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
    layout->addWidget(surfaced(internal, Palette::plainWhite(), 18));

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
    layout->addWidget(surfaced(language, Palette::plainWhite(), 18));
}

void GeneralSection::sync(const Stored& stored)
{
    const int position = SettingsLogic::sliderPosition(stored.messages);
    // Other refreshes leave a rolling count alone.
    if (m_messagesRoll->target() != double(stored.messages)) {
        m_messagesFrom = m_messagesRoll->value();
        m_messagesRoll->animateTo(double(stored.messages), m_presetMotion);
    }
    if (!m_messagesRoll->isAnimating())
        m_messagesValue->setText(QString::number(stored.messages));
    crossFadeText(m_caption, L10n::t(SettingsLogic::messagesCaption(stored.messages)), m_presetMotion);
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(position);
    }
    m_slider->setAccessibleDescription(QString::number(stored.messages));
    const std::optional<int> preset = SettingsLogic::selectedPreset(stored.messages);
    for (int i = 0; i < m_presets.size(); ++i)
        markSelected(m_presets.at(i), accent(), preset == SettingsLogic::presets[i], QMarginsF(13, 13, 13, 13));
    {
        const QSignalBlocker blocker(m_internal);
        m_internal->setChecked(stored.internal);
    }
    for (int i = 0; i < m_languages.size(); ++i)
        markSelected(m_languages.at(i), Palette::lavender(), stored.language == languageValues.at(i),
                     QMarginsF(8, 11, 8, 11));
}

AISection::AISection(QWidget* parent)
    : QWidget(parent)
{
    QWidget* section = this;
    section->setObjectName(QStringLiteral("aiSection"));
    auto* layout = column(section, 14);

    auto* head = new QWidget(section);
    auto* headLayout = row(head, 6);
    headLayout->addWidget(label(L10n::t("WHO'S ON THE CASE?"),
                                KitFont::font(9, QFont::Medium, FontDesign::monospaced, 1.1), secondary(), head));
    headLayout->addStretch(1);
    m_checkAgain = new KitButton(L10n::t("Check again"),
                                 std::make_unique<ControlStyle>(accent(), false, true, QMarginsF(9, 9, 9, 9)), head);
    m_checkAgain->setObjectName(QStringLiteral("checkAgain"));
    m_checkAgain->setLeadingSymbol(QStringLiteral("arrow.clockwise"));
    m_checkAgain->setFont(KitFont::font(10, QFont::Medium));
    connect(m_checkAgain, &QAbstractButton::clicked, this, &AISection::detectRequested);
    headLayout->addWidget(m_checkAgain);
    layout->addWidget(head);

    const char* const symbols[] = {"wand.and.stars", "asterisk", "command"};
    for (int i = 0; i < 3; ++i) {
        const SettingsLogic::ProviderRow providerRow = providerRows[i];
        KitButton* button = tile(QMarginsF(17, 17, 17, 17), accent(), section);
        button->setObjectName(QStringLiteral("provider-%1").arg(SettingsLogic::storedValue(providerRow)));
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
        const QString value = SettingsLogic::storedValue(providerRow);
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
}

void AISection::sync(const QString& provider, bool searching, const QMap<AICLI, QString>& found)
{
    m_checkAgain->setEnabled(!searching);
    for (int i = 0; i < m_providers.size(); ++i) {
        const SettingsLogic::ProviderRow providerRow = providerRows[i];
        markSelected(m_providers.at(i), accent(), provider == SettingsLogic::storedValue(providerRow),
                     QMarginsF(17, 17, 17, 17));
        const bool rowFound = SettingsLogic::rowFound(providerRow, found);
        QLabel* status = m_statusWords.at(i);
        status->setText(L10n::t(SettingsLogic::statusWord(providerRow, searching, found)));
        setTextColor(status, rowFound && !searching ? Palette::mint() : secondary());
        QString subtitle;
        if (providerRow == SettingsLogic::ProviderRow::automatic) {
            subtitle = L10n::t("Uses an installed CLI, preferring Claude Code.");
        } else {
            const AICLI cli = providerRow == SettingsLogic::ProviderRow::claude ? AICLI::claude : AICLI::codex;
            subtitle = found.value(cli, cli.installHint());
        }
        QLabel* subtitleLabel = m_providerSubtitles.at(i);
        subtitleLabel->setText(subtitleLabel->fontMetrics().elidedText(subtitle, Qt::ElideMiddle, 420));
        subtitleLabel->setToolTip(PlainText::toolTip(subtitle));
        const QString title = i == 0
            ? L10n::t("Automatic")
            : AICLI(providerRow == SettingsLogic::ProviderRow::claude ? AICLI::claude : AICLI::codex).displayName();
        m_providers.at(i)->setAccessibleName(title + QStringLiteral(", ") + subtitle);
    }
    m_footnote->setText(SettingsLogic::statusSentence(searching, found, provider));
}

AboutSection::AboutSection(QWidget* parent)
    : QWidget(parent)
{
    QWidget* section = this;
    section->setObjectName(QStringLiteral("aboutSection"));
    auto* layout = column(section, 20);

    auto* card = new QWidget;
    auto* cardLayout = row(card, 22);
    KitButton* mascot = mascotButton(84, m_aboutMascot, card);
    mascot->setObjectName(QStringLiteral("aboutMascot"));
    connect(mascot, &QAbstractButton::clicked, this, &AboutSection::booped);
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
                emit whatsNewRequested();
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
}

void AboutSection::sync(int boops) { m_aboutMascot->setBoops(boops); }

} // namespace tessaron
