#pragma once

// One Kafka consumer group as a case: its verdict, members and committed positions per topic.
//
//   ConsumerGroupView(app, session, parent)   the workspace's detail pane while a group is
//                                             selected. Binds the session's group detail,
//                                             loading flag, failure, topics, blind spots and
//                                             selected group. "Look again" reloads the detail,
//                                             "Open the topic" selects the topic, "Move the
//                                             position…" sets the app's reset action.
//
// A detail is shown only while its group id is the selected group: while another group's detail
// loads, the pane shows the working state, never the previous group's page.

#include "Tessaron/casework/CaseworkPage.h"
#include "Tessaron/casework/GroupLogic.h"

#include <QPointer>
#include <QWidget>

class QLayout;
class QStackedLayout;

namespace tessaron {

class AppState;
class BrokerSession;

class ConsumerGroupView : public QWidget {
    Q_OBJECT
public:
    ConsumerGroupView(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    // `otherKind`: the broker lists the group as a kind that is no consumer group (a share or
    // streams group), which is said as such and never described.
    enum class Showing { working, detail, failed, otherKind };
    Showing showing() const { return m_showing; }
    // The group whose page is shown; empty unless showing the detail.
    QString shownGroup() const { return m_shownGroup; }

    void refresh();

private:
    // Puts `pane` in place of the one shown, which goes.
    void replacePane(QWidget* pane);
    void showWorking();
    void showFailure(const QString& failure);
    void showOtherKind(const QString& group);
    void showDetail();
    // The detail page's parts: the heading, who's reading, and the card of one topic committed on.
    QLayout* buildHeading(const ConsumerGroupDetail& detail, const GroupVerdict& verdict);
    QWidget* buildMembers(const ConsumerGroupDetail& detail);
    QWidget* buildTopicCard(const ConsumerGroupDetail& detail, const GroupLogic::TopicCard& facts,
                            const std::optional<GroupPosition>& worst, const QHash<QString, QString>& clients);

    // Which control had the keyboard focus (its object name and topic), so a rebuilt page gives it
    // back; kept while that control is disabled or absent (e.g. "Look again" during the reload).
    QString focusKey(const QWidget* widget) const;
    void restoreFocus(QWidget* page);
    QString m_focusKey;

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    QStackedLayout* m_stack;
    QPointer<QWidget> m_current;
    Showing m_showing = Showing::working;
    QString m_shownGroup;
};

} // namespace tessaron
