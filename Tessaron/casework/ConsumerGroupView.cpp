#include "Tessaron/casework/ConsumerGroupView.h"

#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/casework/GroupCards.h"
#include "Tessaron/casework/GroupLogic.h"
#include "Tessaron/kit/EmptyPane.h"
#include "Tessaron/kit/FlowRow.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/TessaronWorking.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/analysis/GroupVerdict.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace tessaron {

using namespace CaseworkStyle;
using GroupLogic::Tone;

namespace {

// The plain button of the screen: a label with a symbol, no surface.
KitButton* plainButton(const QString& text, const QFont& font, const QColor& color)
{
    auto* button = new KitButton(text, std::make_unique<PlainButtonStyle>(font, color));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// A button's label of parts side by side: a text and a symbol.
QWidget* symbolRow(std::initializer_list<QWidget*> parts, int spacing)
{
    auto* row = new QWidget();
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(spacing);
    for (QWidget* part : parts)
        box->addWidget(part);
    return row;
}

// The reset button's capsule: brand neutral at 10 % inside a 30 % outline.
class CapsuleStyle : public PlainButtonStyle {
public:
    CapsuleStyle(const QFont& font, const QColor& color)
        : PlainButtonStyle(font, color)
    { }
    QMarginsF insets() const override { return QMarginsF(8, 4, 8, 4); }
    void paintBackground(QPainter& painter, const QRectF& rect, const ButtonState&) const override
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = rect.adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(withOpacity(neutral(), 0.3), 1.0));
        painter.setBrush(withOpacity(neutral(), 0.1));
        painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
        painter.restore();
    }
};

} // namespace

ConsumerGroupView::ConsumerGroupView(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
{
    setObjectName(QStringLiteral("consumerGroupView"));
    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 11, 11, 11);
    for (auto signal :
         {&BrokerSession::groupDetailChanged, &BrokerSession::isLoadingGroupChanged,
          &BrokerSession::groupFailureChanged, &BrokerSession::topicsChanged, &BrokerSession::groupBlindSpotsChanged,
          &BrokerSession::selectedGroupChanged, &BrokerSession::groupsChanged})
        connect(session, signal, this, &ConsumerGroupView::refresh);
    refresh();
    LanguageChange::onChange(this, [this] { refresh(); });
}

void ConsumerGroupView::refresh()
{
    if (!m_session)
        return;
    const BrokerSession& session = *m_session;
    const std::optional<ConsumerGroupDetail>& detail = session.groupDetail();
    const std::optional<QString>& selected = session.selectedGroup();
    // A detail belongs on screen only while its group is the one selected.
    if (selected && listedAsOtherKind(session.groups(), *selected))
        showOtherKind(*selected);
    else if (detail && selected == detail->id)
        showDetail();
    else if (session.isLoadingGroup())
        showWorking();
    else if (session.groupFailure())
        showFailure(*session.groupFailure());
    else
        showWorking();
}

void ConsumerGroupView::replacePane(QWidget* pane)
{
    if (m_current) {
        m_stack->removeWidget(m_current);
        m_current->hide();
        m_current->deleteLater();
    }
    m_current = pane;
    m_stack->addWidget(pane);
    m_stack->setCurrentWidget(pane);
}

void ConsumerGroupView::showWorking()
{
    m_shownGroup.clear();
    if (m_showing == Showing::working && m_current)
        return;
    m_showing = Showing::working;
    auto* pane = new TessaronWorking(4);
    pane->setObjectName(QStringLiteral("groupWorking"));
    replacePane(pane);
}

void ConsumerGroupView::showFailure(const QString& failure)
{
    m_shownGroup.clear();
    m_showing = Showing::failed;
    auto* pane = new EmptyPane(loc("The broker wouldn't describe it."), failure);
    pane->setObjectName(QStringLiteral("groupFailed"));
    replacePane(pane);
}

void ConsumerGroupView::showOtherKind(const QString& group)
{
    m_shownGroup.clear();
    m_showing = Showing::otherKind;
    auto* pane =
        new EmptyPane(loc("Not a consumer group"),
                      L10n::t("The broker lists %@ as a group of another kind, such as a share or streams "
                              "group. Tessaron reads consumer groups only; Kafka's own tools describe this one.",
                              L10n::isolated(group)));
    pane->setObjectName(QStringLiteral("groupOtherKind"));
    replacePane(pane);
}

void ConsumerGroupView::showDetail()
{
    BrokerSession* session = m_session;
    const ConsumerGroupDetail detail = *session->groupDetail();
    const GroupVerdict verdict = GroupVerdict::verdict(detail);

    // A reload keeps the same page in place; only the content is rebuilt.
    CaseworkPage* page = m_showing == Showing::detail ? qobject_cast<CaseworkPage*>(m_current.data()) : nullptr;
    if (!page) {
        page = new CaseworkPage();
        page->setObjectName(QStringLiteral("groupDetail"));
        replacePane(page);
    }
    // A Tab stop of its own, so the keyboard can scroll it: it says which group it shows.
    page->setAccessibleName(detail.id);
    // The focus is taken note of before the content it sits in is replaced, and held by the page
    // meanwhile, so it does not wander off to the next control in the window.
    const QWidget* focused = QApplication::focusWidget();
    const bool inside = focused && (focused == page || page->isAncestorOf(focused));
    if (!inside || m_shownGroup != detail.id)
        m_focusKey.clear();
    if (inside && focused != page)
        m_focusKey = focusKey(focused);
    if (inside)
        page->setFocus(Qt::OtherFocusReason);
    m_showing = Showing::detail;
    m_shownGroup = detail.id;

    QVBoxLayout* column = page->fresh(14, QMargins(18, 18, 18, 18));
    column->addLayout(buildHeading(detail, verdict));
    column->addWidget(buildMembers(detail));

    // One card per topic committed on.
    const std::optional<GroupPosition> worst = verdict.worst();
    const QHash<QString, QString> clients = GroupLogic::clientsOf(detail);
    for (const GroupLogic::TopicCard& facts : GroupLogic::topicCards(detail, session->topics()))
        column->addWidget(buildTopicCard(detail, facts, worst, clients));

    // Offsets that could not be read are no sign of a group that never committed.
    if (detail.members.isEmpty() && detail.positions.isEmpty() && !detail.positionsUnknown) {
        auto* card = new CaseCard(loc("WHERE IT STANDS"), muted());
        card->setObjectName(QStringLiteral("noPositionsCard"));
        card->addWidget(label(loc("No positions. A group that has never committed has nowhere to stand, and nothing "
                                  "here to measure."),
                              KitFont::font(11.5), muted(), true));
        column->addWidget(card);
    }

    const QList<GroupLogic::BlindSpot> spots =
        GroupLogic::blindSpots(detail, session->topics(), session->groupBlindSpots());
    if (!spots.isEmpty()) {
        auto* card = new CaseCard(loc("Can't see").toUpper(), warningOrange());
        card->setObjectName(QStringLiteral("blindSpotCard"));
        for (const GroupLogic::BlindSpot& spot : spots) {
            auto* entry = new QVBoxLayout();
            entry->setSpacing(2);
            entry->addWidget(
                label(spot.title,
                      KitFont::font(11, QFont::DemiBold, spot.isTopic ? FontDesign::monospaced : FontDesign::rounded),
                      withOpacity(ink(), 0.8)));
            entry->addWidget(label(spot.sentence, KitFont::font(10), muted(), true));
            card->body()->addLayout(entry);
        }
        column->addWidget(card);
    }
    restoreFocus(page);
}

QString ConsumerGroupView::focusKey(const QWidget* widget) const
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (!w->objectName().isEmpty() && w->focusPolicy() != Qt::NoFocus)
            return w->objectName() + QLatin1Char('\n') + w->property("topic").toString();
    }
    return {};
}

void ConsumerGroupView::restoreFocus(QWidget* page)
{
    if (m_focusKey.isEmpty())
        return;
    for (QWidget* candidate : page->findChildren<QWidget*>()) {
        if (candidate->focusPolicy() != Qt::NoFocus && focusKey(candidate) == m_focusKey) {
            // A disabled control keeps its claim until a later rebuild enables it.
            if (candidate->isEnabled())
                candidate->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

QLayout* ConsumerGroupView::buildHeading(const ConsumerGroupDetail& detail, const GroupVerdict& verdict)
{
    BrokerSession* session = m_session;
    // Heading: eyebrow and title, "Look again", the explanation and the stat row.
    auto* heading = new QVBoxLayout();
    heading->setSpacing(10);
    // "Look again" shares the eyebrow's row, so the wrapping title is never measured beside it.
    auto* titles = new QVBoxLayout();
    titles->setSpacing(9);
    auto* top = new QHBoxLayout();
    top->addWidget(new Eyebrow(loc("CONSUMER GROUP")), 0, Qt::AlignTop);
    top->addStretch(1);
    top->addSpacing(8);
    KitButton* again = plainButton(QString(), KitFont::font(11), white(0.45));
    again->setObjectName(QStringLiteral("lookAgain"));
    again->setLeadingSymbol(QStringLiteral("arrow.clockwise"));
    again->setToolTip(loc("Look again"));
    again->setAccessibleName(loc("Look again"));
    again->setEnabled(!session->isLoadingGroup());
    QPointer<BrokerSession> target(session);
    connect(again, &QAbstractButton::clicked, this, [target] {
        if (target) {
            // Runs to its end on its own; the session publishes what it finds.
            startDetached(target->loadGroupDetail());
        }
    });
    top->addWidget(again, 0, Qt::AlignTop);
    titles->addLayout(top);
    auto* title = new ScreenTitle(detail.id, GroupLogic::headline(verdict), 22);
    title->setObjectName(QStringLiteral("groupTitle"));
    titles->addWidget(title);
    heading->addLayout(titles);
    auto* explanation = label(GroupLogic::explanation(verdict), KitFont::font(12.5), withOpacity(ink(), 0.85), true);
    explanation->setObjectName(QStringLiteral("explanation"));
    heading->addWidget(explanation);
    // The tiles wrap in a narrow pane: a coordinator's address alone can be wider than it.
    auto* statRow = new FlowRow(nullptr, 7, 7);
    for (const GroupLogic::Stat& stat : GroupLogic::stats(detail)) {
        auto* tile = new GroupStat(stat.value, stat.label, toneColor(stat.tone));
        tile->setObjectName(QStringLiteral("groupStat"));
        statRow->addWidget(tile);
    }
    heading->addLayout(statRow);
    return heading;
}

QWidget* ConsumerGroupView::buildMembers(const ConsumerGroupDetail& detail)
{
    auto* members = new CaseCard(loc("WHO'S READING"), toneColor(GroupLogic::membersTone(detail)));
    members->setObjectName(QStringLiteral("membersCard"));
    if (detail.members.isEmpty()) {
        members->addWidget(label(GroupLogic::nobodySentence(detail), KitFont::font(11.5), muted(), true));
    } else {
        for (const GroupMember& member : detail.members)
            members->addWidget(new MemberRow(member));
        if (const auto assignor = GroupLogic::assignorLine(detail)) {
            auto* line = label(*assignor, KitFont::font(9.5), withOpacity(muted(), 0.8), true);
            line->setContentsMargins(0, 2, 0, 0);
            members->addWidget(line);
        }
    }
    return members;
}

QWidget* ConsumerGroupView::buildTopicCard(const ConsumerGroupDetail& detail, const GroupLogic::TopicCard& facts,
                                           const std::optional<GroupPosition>& worst,
                                           const QHash<QString, QString>& clients)
{
    QPointer<BrokerSession> target(m_session);
    auto* card = new CaseCard(facts.eyebrow, toneColor(facts.tone));
    card->setObjectName(QStringLiteral("topicCard"));
    auto* row = new QHBoxLayout();
    row->setSpacing(8);
    const QFont nameFont = KitFont::font(12, QFont::DemiBold, FontDesign::monospaced);
    if (facts.listed) {
        KitButton* open = plainButton(QString(), nameFont, ink());
        open->setObjectName(QStringLiteral("openTopic"));
        open->setContent(symbolRow({new ElidedLabel(facts.topic, nameFont, ink()),
                                    new SymbolView(QStringLiteral("arrow.right"), 9, neutral())},
                                   5));
        open->setToolTip(loc("Open the topic"));
        open->setAccessibleName(L10n::t("Open the topic %@", facts.topic));
        open->setProperty("topic", facts.topic);
        const QString name = facts.topic;
        connect(open, &QAbstractButton::clicked, this, [target, name] {
            if (target)
                target->setSelectedTopic(name);
        });
        row->addWidget(open);
    } else {
        auto* name = new ElidedLabel(facts.topic, nameFont, withOpacity(ink(), 0.6));
        name->setObjectName(QStringLiteral("unlistedTopic"));
        name->setStruck(white(0.3));
        row->addWidget(name);
    }
    row->addStretch(1);
    if (facts.lagLabel) {
        auto* lag =
            label(*facts.lagLabel, KitFont::font(10, QFont::Bold, FontDesign::monospaced), toneColor(facts.tone));
        lag->setObjectName(QStringLiteral("lagLabel"));
        row->addWidget(lag);
    }
    if (facts.listed) {
        auto* reset = new KitButton(QString(), std::make_unique<CapsuleStyle>(KitFont::font(10.5), ink()));
        reset->setObjectName(QStringLiteral("movePosition"));
        reset->setCursor(Qt::PointingHandCursor);
        reset->setAccessibleName(L10n::t("Move the position on %@…", facts.topic));
        reset->setProperty("topic", facts.topic);
        reset->setContent(symbolRow({new SymbolView(QStringLiteral("arrow.counterclockwise"), 10, neutral()),
                                     label(loc("Move the position…"), KitFont::font(10.5), ink())},
                                    5));
        reset->setToolTip(loc("Reset this group's committed offsets on this topic. Refused while the group has "
                              "members."));
        const ConsumerGroup group{detail.id, detail.state, false};
        const Topic listed = *facts.listed;
        QPointer<AppState> app(m_app);
        connect(reset, &QAbstractButton::clicked, this, [app, group, listed] {
            if (app)
                app->setAction(AppState::Action::makeResetOffsets(group, listed));
        });
        row->addWidget(reset);
    }
    card->body()->addLayout(row);
    if (facts.note) {
        auto* note = label(*facts.note, KitFont::font(10.5), toneColor(facts.noteTone), true);
        note->setObjectName(QStringLiteral("topicNote"));
        card->addWidget(note);
    }
    auto* table = new PositionTable(facts.rows, worst, clients, detail.membersUnknown);
    table->setObjectName(QStringLiteral("positionTable"));
    card->addWidget(table);
    return card;
}

} // namespace tessaron
