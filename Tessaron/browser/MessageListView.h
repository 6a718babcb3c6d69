#pragma once

#include "Tessaron/browser/BrowserBody.h"
#include "Tessaron/state/BrokerSession.h"

#include <QCoroTask>
#include <QPointer>
#include <QWidget>

class QLabel;
class QListView;
class QScrollArea;
class QSplitter;
class QStackedWidget;

namespace tessaron {

class AppState;
class BrokerSession;
class EmptyPane;
class ExhibitView;
class KitButton;
class TessaronWorking;
class MessageListModel;
class ReadConsentPane;
class TopicHeader;

// The detail pane of an open broker while no consumer group is selected: the header of the
// current topic or queue above one body (consent, working, the message rows beside the exhibit,
// the empty pane, or with no topic the broker's briefing). Starts no read when shown; its
// only own read is "Read further".
class MessageListView : public QWidget {
    Q_OBJECT
public:
    MessageListView(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    BrowserBody body() const { return m_body; }
    TopicHeader* header() const { return m_header; }
    // Header and body; it scrolls only when the window is too short for both.
    QScrollArea* pane() const { return m_pane; }
    QListView* listView() const { return m_list; }
    MessageListModel* model() const { return m_model; }
    ExhibitView* exhibit() const { return m_exhibit; }
    ReadConsentPane* consentPane() const { return m_consent; }
    EmptyPane* emptyPane() const { return m_empty; }
    QWidget* footer() const { return m_footer; }
    KitButton* readFurtherButton() const { return m_readFurther; }
    QLabel* countLine() const { return m_count; }

    void readFurther();

    // The empty pane's title and explanation, from the topic's retained count, where the read
    // started and what its time lookup answered: a read that found nothing after a moment is not
    // a topic that retains nothing, and a lookup that pointed at messages is no proof they are older.
    // A read the broker refused for this user's ACLs says so, whatever the topic retains.
    static std::pair<QString, QString> emptyTexts(const Topic& topic, const BrokerSession::Position& position,
                                                  const BrokerSession::PartitionOffsets& timeAnswer,
                                                  bool refused = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the lookup answered for the first partitions, as a list.
    static QString answerText(const Topic& topic, const BrokerSession::PartitionOffsets& timeAnswer);
    void refreshBody();
    // `further`: a further page was merged into the rows shown, which are kept (see mergeRows).
    void refreshRows(bool further = false);
    void refreshOutliers();
    void refreshFooter();
    void showReadingInButton(bool reading);
    void selectRow(const QModelIndex& index);
    QCoro::Task<> runReadFurther();

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    BrowserBody m_body = BrowserBody::briefing;
    QScrollArea* m_pane;
    TopicHeader* m_header;
    QStackedWidget* m_stack;
    ReadConsentPane* m_consent;
    TessaronWorking* m_working;
    QSplitter* m_columns;
    QListView* m_list;
    MessageListModel* m_model;
    QWidget* m_footer;
    KitButton* m_readFurther;
    QLabel* m_count;
    ExhibitView* m_exhibit;
    EmptyPane* m_empty;
    QWidget* m_briefing;
    int m_furtherInFlight = 0;
};

} // namespace tessaron
