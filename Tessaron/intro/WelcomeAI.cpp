#include "Tessaron/intro/WelcomeAI.h"

#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

namespace tessaron {

WelcomeAI::WelcomeAI(AppState* app, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(16);
    auto* heading = new QVBoxLayout;
    heading->setSpacing(12);
    heading->addWidget(new Eyebrow(L10n::t("EVERY GOOD LAWYER HAS BACKUP")));
    heading->addWidget(
        new ScreenTitle(L10n::t("I'm good at finding it."), L10n::t("They're good at explaining it."), 34));
    heading->addWidget(
        intro::text(L10n::t("Ask about your messages using an AI CLI already installed on your computer."), 13,
                    TessaronPalette::muted()));
    column->addLayout(heading);

    auto* cards = new QHBoxLayout;
    cards->setSpacing(14);
    const QStringList symbols{QStringLiteral("wand.and.stars"), QStringLiteral("asterisk"), QStringLiteral("command")};
    const QStringList titles{L10n::t("Automatic"), QStringLiteral("Claude Code"), QStringLiteral("Codex")};
    const QStringList details{L10n::t("You two work it out."), L10n::t("A second set of eyes."),
                              L10n::t("A second set of paws.")};
    for (int i = 0; i < 3; ++i) {
        auto* card = new KitButton(
            QString(),
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), false, true, QMarginsF(21, 21, 21, 21)));
        auto* content = new QWidget;
        content->setMinimumHeight(176 - 42);
        auto* c = new QVBoxLayout(content);
        c->setContentsMargins(0, 0, 0, 0);
        c->setSpacing(14);
        auto* top = new QHBoxLayout;
        top->addWidget(new SymbolView(symbols[i], 25, TessaronPalette::introAccent()));
        top->addStretch(1);
        auto* mark = new SymbolView(QStringLiteral("circle"), 14, TessaronPalette::muted());
        top->addWidget(mark);
        m_marks.append(mark);
        c->addLayout(top);
        c->addWidget(intro::text(titles[i], 19, TessaronPalette::ink(), QFont::Bold, FontDesign::rounded));
        c->addWidget(intro::text(details[i], 11, TessaronPalette::muted()));
        auto* rule = new QWidget;
        rule->setFixedHeight(1);
        rule->setAutoFillBackground(true);
        QPalette rp = rule->palette();
        rp.setColor(QPalette::Window, TessaronPalette::introRule());
        rule->setPalette(rp);
        c->addWidget(rule);
        auto* statusRow = new QHBoxLayout;
        statusRow->setSpacing(5);
        auto* statusMark = new SymbolView(QStringLiteral("ellipsis"), 10, TessaronPalette::muted());
        statusRow->addWidget(statusMark);
        m_statusMarks.append(statusMark);
        auto* status = intro::text(QString(), 10, TessaronPalette::muted());
        status->setTextFormat(Qt::PlainText);
        statusRow->addWidget(status, 1);
        c->addLayout(statusRow);
        m_status.append(status);
        auto* install = intro::text(QString(), 9, TessaronPalette::muted(), QFont::Normal, FontDesign::monospaced);
        install->setTextInteractionFlags(Qt::TextSelectableByMouse);
        c->addWidget(install);
        m_install.append(install);
        c->addStretch(1);
        card->setContent(content);
        card->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        const QString value = values().at(i);
        connect(card, &KitButton::clicked, this, [this, value] { choose(value); });
        m_cards.append(card);
        cards->addWidget(card, 1, Qt::AlignTop);
    }
    column->addLayout(cards);

    auto* disclosure = new QWidget;
    auto* d = new QHBoxLayout(disclosure);
    d->setContentsMargins(18, 18, 18, 18);
    d->setSpacing(12);
    d->addWidget(new SymbolView(QStringLiteral("arrow.up.forward.app"), 18, TessaronPalette::lavender()), 0,
                 Qt::AlignTop);
    auto* dc = new QVBoxLayout;
    dc->setSpacing(7);
    dc->addWidget(intro::text(L10n::t("Only when you press Ask."), 12, TessaronPalette::ink(), QFont::DemiBold));
    dc->addWidget(
        intro::text(L10n::t("Your question and selected sample go to the CLI and its configured AI service. No "
                            "API key to paste into Tessaron."),
                    11, TessaronPalette::muted()));
    dc->addWidget(intro::text(
        L10n::t("Automatic prefers Claude Code. If a selected CLI is missing, Tessaron uses an available one."), 10,
        TessaronPalette::muted()));
    d->addLayout(dc, 1);
    column->addWidget(panelSurface(disclosure, TessaronPalette::lavender()));

    auto* foot = new QHBoxLayout;
    m_footer = intro::text(QString(), 11, TessaronPalette::muted(), QFont::Medium, FontDesign::rounded);
    foot->addWidget(m_footer, 1);
    m_again = new KitButton(L10n::t("Check again"),
                            std::make_unique<PlainButtonStyle>(KitFont::font(10), TessaronPalette::muted()));
    m_again->setLeadingSymbol(QStringLiteral("arrow.clockwise"));
    connect(m_again, &KitButton::clicked, this, &WelcomeAI::checkAgain);
    foot->addWidget(m_again);
    column->addLayout(foot);
    column->addStretch(1);

    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::aiProvider)
            sync();
    });
    if (app) {
        connect(app, &AppState::aiToolsChanged, this, &WelcomeAI::sync);
        connect(app, &AppState::aiDetectingChanged, this, [this] {
            sync();
            if (!m_app->aiDetecting())
                emit scanFinished();
        });
    }
    sync();
    checkAgain();
}

QStringList WelcomeAI::values()
{
    return {AIProvider::autoValue, AICLI(AICLI::claude).rawValue(), AICLI(AICLI::codex).rawValue()};
}

QString WelcomeAI::provider() const
{
    return UserDefaults::standard().string(Prefs::aiProvider).value_or(AIProvider::autoValue);
}

void WelcomeAI::choose(const QString& value) { UserDefaults::standard().setString(Prefs::aiProvider, value); }

bool WelcomeAI::scanning() const { return m_app && m_app->aiDetecting(); }

QMap<AICLI, QString> WelcomeAI::found() const { return m_app ? m_app->aiTools() : QMap<AICLI, QString>(); }

void WelcomeAI::checkAgain()
{
    if (m_app && !m_app->aiDetecting())
        startDetached(m_app->refreshAIAvailability());
}

QString WelcomeAI::statusSymbol(int card) const { return m_statusMarks.at(card)->name(); }

QString WelcomeAI::installShown(int card) const
{
    return m_install.at(card)->isHidden() ? QString() : m_install.at(card)->text();
}

void WelcomeAI::sync()
{
    const QString chosen = provider();
    const bool searching = scanning();
    const QMap<AICLI, QString> tools = found();
    for (int i = 0; i < m_cards.size(); ++i) {
        const QString value = values().at(i);
        const bool selected = chosen == value;
        m_cards[i]->setButtonStyle(
            std::make_unique<ControlStyle>(TessaronPalette::introAccent(), selected, true, QMarginsF(21, 21, 21, 21)));
        m_cards[i]->setSelected(selected);
        auto* mark = static_cast<SymbolView*>(m_marks[i]);
        mark->setName(selected ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"));
        QColor faint = TessaronPalette::muted();
        faint.setAlphaF(0.4);
        mark->setColor(selected ? TessaronPalette::introAccent() : faint);
        const auto cli = AICLI::fromRawValue(value);
        const bool installed = cli ? tools.contains(*cli) : !tools.isEmpty();
        QString status;
        QString symbol;
        QColor color = TessaronPalette::muted();
        if (searching) {
            status = L10n::t("Checking…");
            symbol = QStringLiteral("ellipsis");
        } else if (installed) {
            status = L10n::t("CLI found");
            symbol = QStringLiteral("checkmark.circle");
            color = TessaronPalette::mint();
        } else {
            status = L10n::t("Not installed");
            symbol = QStringLiteral("minus.circle");
        }
        m_status[i]->setText(status);
        m_statusMarks[i]->setName(symbol);
        m_statusMarks[i]->setColor(color);
        QPalette sp = m_status[i]->palette();
        sp.setColor(QPalette::WindowText, color);
        m_status[i]->setPalette(sp);
        const bool showInstall = cli && !installed && !searching;
        m_install[i]->setText(cli ? cli->installHint() : QString());
        m_install[i]->setVisible(showInstall);
    }
    m_again->setEnabled(!searching);
    m_footer->setText(!searching && tools.isEmpty()
                          ? L10n::t("No CLI? No problem. Reading and shape analysis work without AI.")
                          : L10n::t("The assistant gets the question. I keep the dramatic entrance."));
}

} // namespace tessaron
