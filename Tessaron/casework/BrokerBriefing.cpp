#include "Tessaron/casework/BrokerBriefing.h"

#include "Tessaron/casework/BriefingLogic.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronChartCard.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

using namespace CaseworkStyle;

namespace {

constexpr int pageMaxWidth = 1040;
constexpr int sideColumnWidth = 272;
constexpr int pageInset = 26;
constexpr int columnGap = 14;
// Below this the chart would be too narrow to read beside the cards: they go under it.
constexpr int chartMinimumWidth = 300;

// A topic, queue or group as a row that selects it: name, badge, arrow.
CaseLink* linkRow(const QString& name, QLabel* badge, double nameOpacity)
{
    auto* link = new CaseLink();
    link->setAccessibleName(name);
    auto* title = new ElidedLabel(name, KitFont::font(11, QFont::Normal, FontDesign::monospaced),
                                  withOpacity(ink(), nameOpacity));
    link->row()->addWidget(title, 0);
    link->row()->addStretch(1);
    link->row()->addSpacing(4);
    link->row()->addWidget(badge);
    auto* arrow = new SymbolView(QStringLiteral("arrow.right"), 9, withOpacity(neutral(), 0.5));
    link->row()->addWidget(arrow);
    link->seal();
    link->onHover([title, arrow, nameOpacity](bool hovering) {
        title->setColor(withOpacity(ink(), hovering ? 1.0 : nameOpacity));
        arrow->setColor(withOpacity(neutral(), hovering ? 1.0 : 0.5));
    });
    return link;
}

CaseLink* topicLink(BrokerSession* session, const Topic& topic, const QColor& tint)
{
    auto* badge = label(CaseworkLogic::groupedCount(topic.retained()),
                        KitFont::font(10.5, QFont::DemiBold, FontDesign::monospaced), tint);
    CaseLink* link = linkRow(topic.name, badge, 0.82);
    link->setObjectName(QStringLiteral("topicLink"));
    const QString name = topic.name;
    QPointer<BrokerSession> target(session);
    QObject::connect(link, &QAbstractButton::clicked, link, [target, name] {
        if (target)
            target->setSelectedTopic(name);
    });
    return link;
}

CaseLink* groupLink(BrokerSession* session, const ConsumerGroup& group)
{
    auto* badge = label(group.state.toUpper(), KitFont::font(8, QFont::Black, FontDesign::monospaced),
                        group.hasNoMembers() ? warningOrange() : allClearGreen());
    CaseLink* link = linkRow(group.id, badge, 0.80);
    link->setObjectName(QStringLiteral("groupLink"));
    const QString id = group.id;
    QPointer<BrokerSession> target(session);
    QObject::connect(link, &QAbstractButton::clicked, link, [target, id] {
        if (target)
            target->setSelectedGroup(id);
    });
    return link;
}

QLabel* cardSentence(const QString& text, bool lead)
{
    return label(text, KitFont::font(11.5), lead ? withOpacity(ink(), 0.85) : muted(), true);
}

QLabel* moreLine(const QString& text)
{
    auto* line = label(text, KitFont::font(10.5), muted(), true);
    line->setObjectName(QStringLiteral("moreLine"));
    return line;
}

} // namespace

BrokerBriefing::BrokerBriefing(AppState* app, BrokerSession* session, QWidget* parent)
    : CaseworkPage(parent)
    , m_app(app)
    , m_session(session)
{
    // A Tab stop of its own, so the keyboard can scroll it: it says what it is when reached.
    setAccessibleName(loc("Arrival report"));
    setObjectName(QStringLiteral("brokerBriefing"));
    for (auto signal :
         {&BrokerSession::topicsChanged, &BrokerSession::groupsChanged, &BrokerSession::queueConsumersChanged,
          &BrokerSession::unobservableChanged, &BrokerSession::connectionChanged, &BrokerSession::topicsListedChanged,
          &BrokerSession::isConnectingChanged, &BrokerSession::isLoadingTopicsChanged,
          &BrokerSession::connectionErrorChanged})
        connect(session, signal, this, &BrokerBriefing::refresh);
    refresh();
    LanguageChange::onChange(this, [this] { refresh(); });
}

void BrokerBriefing::refresh()
{
    // The chart card survives the redraw: take it out of the old page first.
    if (m_chart)
        m_chart->setParent(nullptr);
    QVBoxLayout* page = fresh(16, QMargins(pageInset, 22, pageInset, 20));
    content()->setMaximumWidth(pageMaxWidth);
    if (!m_session)
        return;
    BrokerSession* session = m_session;
    const BriefingLogic text = BriefingLogic::of(*session);
    const bool rabbit = text.wording == BriefingLogic::Wording::rabbit;

    auto* arrival = new QVBoxLayout();
    arrival->setSpacing(10);
    arrival->addWidget(new Eyebrow(loc("ARRIVAL REPORT")));
    arrival->addWidget(new ScreenTitle(session->broker().name, loc("I had a sniff around."), 30));
    auto* sentence = label(text.arrivalSentence(), KitFont::font(13), withOpacity(ink(), 0.85), true);
    sentence->setObjectName(QStringLiteral("arrival"));
    arrival->addWidget(sentence);
    if (const auto empty = text.emptySentence()) {
        auto* second = label(*empty, KitFont::font(12), muted(), true);
        second->setObjectName(QStringLiteral("emptySentence"));
        arrival->addWidget(second);
    }
    page->addLayout(arrival);

    if (text.briefed.isEmpty()) {
        if (m_chart)
            m_chart->deleteLater();
        m_chart.clear();
    }
    if (text.listingFailed) {
        // Said in the arrival sentence; nothing to hedge about.
    } else if (text.briefed.isEmpty()) {
        auto* inner = new QWidget();
        auto* row = new QHBoxLayout(inner);
        row->setContentsMargins(16, 16, 16, 16);
        row->setSpacing(14);
        row->addWidget(new TessaronMascot(44, 0), 0, Qt::AlignVCenter);
        row->addWidget(label(loc("The list on the left will say whether that's an empty broker or one I was refused."),
                             KitFont::font(12), muted(), true),
                       1);
        PanelSurface* panel = panelSurface(inner, TessaronPalette::plainWhite());
        panel->setObjectName(QStringLiteral("emptyBrokerPanel"));
        page->addWidget(panel);
    } else {
        m_columns = new QWidget();
        auto* row = new QBoxLayout(QBoxLayout::LeftToRight, m_columns);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(columnGap);
        row->setAlignment(Qt::AlignTop);
        const TessaronChart chart = text.retainedChart();
        if (m_chart)
            m_chart->setChart(chart);
        else
            m_chart = new TessaronChartCard(chart, loc("WHERE THE MESSAGES ARE"));
        m_chart->setObjectName(QStringLiteral("retainedChart"));
        row->addWidget(m_chart, 1, Qt::AlignTop);
        m_chart->show();

        auto* side = new QVBoxLayout();
        side->setSpacing(14);
        side->setAlignment(Qt::AlignTop);

        // Dead letters.
        const QColor deadTint = !text.waitingDeadLetters.isEmpty() ? warningOrange()
            : !text.deadLetters.isEmpty()                          ? allClearGreen()
                                                                   : muted();
        auto* dead = new CaseCard(loc("DEAD LETTERS"), deadTint, 15);
        dead->setObjectName(QStringLiteral("deadLettersCard"));
        if (text.deadLetters.isEmpty()) {
            dead->addWidget(cardSentence(text.noDeadLettersSentence(), false));
        } else {
            for (const Topic& topic : text.deadLetterLinks())
                dead->addWidget(topicLink(session, topic, topic.retained() < 1 ? muted() : warningOrange()));
            if (const auto more = text.deadLetterMoreLine())
                dead->addWidget(moreLine(*more));
        }
        side->addWidget(dead);

        if (rabbit) {
            const bool unattended = !text.unattendedQueues.isEmpty();
            auto* consumers = new CaseCard(loc("CONSUMERS"), unattended ? warningOrange() : allClearGreen(), 15);
            consumers->setObjectName(QStringLiteral("consumersCard"));
            consumers->addWidget(cardSentence(text.consumersSentence(), unattended));
            for (const Topic& queue : text.unattendedLinks())
                consumers->addWidget(topicLink(session, queue, warningOrange()));
            side->addWidget(consumers);
        } else {
            auto* groups =
                new CaseCard(loc("CONSUMER GROUPS"), text.emptyGroups.isEmpty() ? neutral() : warningOrange(), 15);
            groups->setObjectName(QStringLiteral("groupsCard"));
            groups->addWidget(cardSentence(text.groupsSentence(), !text.groups.isEmpty()));
            for (const ConsumerGroup& group : text.groupLinks())
                groups->addWidget(groupLink(session, group));
            if (const auto more = text.groupsMoreLine())
                groups->addWidget(moreLine(*more));
            side->addWidget(groups);
        }

        const QList<Unobservable>& facts = session->unobservable();
        if (!facts.isEmpty()) {
            auto* blind = new CaseCard(loc("CAN'T SEE"), warningOrange(), 15);
            blind->setObjectName(QStringLiteral("cantSeeCard"));
            for (const Unobservable& fact : facts.mid(0, 3)) {
                auto* stack = new QVBoxLayout();
                stack->setSpacing(1);
                stack->addWidget(
                    new ElidedLabel(fact.subject, KitFont::font(11, QFont::DemiBold, FontDesign::monospaced), ink()));
                stack->addWidget(label(fact.reason, KitFont::font(10.5), muted(), true));
                blind->body()->addLayout(stack);
            }
            side->addWidget(blind);
        }

        auto* sideBox = new QWidget();
        sideBox->setLayout(side);
        side->setContentsMargins(0, 0, 0, 0);
        m_side = sideBox;
        row->addWidget(sideBox, 0, Qt::AlignTop);
        page->addWidget(m_columns);
        reflow();
    }

    if (const std::optional<QString> invitation = text.footer()) {
        auto* footer = new QHBoxLayout();
        footer->setContentsMargins(0, 2, 0, 0);
        footer->setSpacing(8);
        footer->addWidget(new SymbolView(QStringLiteral("arrow.left"), 10, neutral()));
        auto* footerText = label(*invitation, KitFont::font(11.5), muted(), true);
        footerText->setObjectName(QStringLiteral("footer"));
        footer->addWidget(footerText, 1);
        page->addLayout(footer);
    }
}

bool BrokerBriefing::sideBySide() const
{
    const int pageWidth = std::min(viewport()->width(), pageMaxWidth);
    const int chart = std::max(chartMinimumWidth, m_chart ? m_chart->minimumSizeHint().width() : 0);
    return pageWidth - 2 * pageInset >= chart + columnGap + sideColumnWidth;
}

void BrokerBriefing::reflow()
{
    if (!m_columns || !m_side)
        return;
    auto* row = static_cast<QBoxLayout*>(m_columns->layout());
    const bool beside = sideBySide();
    row->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    // Beside the chart the cards keep their column's width; under it they take the page's.
    if (beside) {
        m_side->setFixedWidth(sideColumnWidth);
    } else {
        m_side->setMinimumWidth(0);
        m_side->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    row->setAlignment(m_side, beside ? Qt::AlignTop : Qt::Alignment());
    // Beside the cards the chart takes the width left; above them it takes no more height than it
    // needs.
    if (m_chart)
        row->setStretchFactor(m_chart.data(), beside ? 1 : 0);
}

void BrokerBriefing::resizeEvent(QResizeEvent* event)
{
    CaseworkPage::resizeEvent(event);
    reflow();
}

} // namespace tessaron
