#pragma once

// The landing page of an open broker, before a topic, queue or group is picked: the arrival
// report, where the messages are, the dead letters, the consumers or consumer groups, and what
// could not be seen.
//
//   BrokerBriefing(app, session, parent)   binds the session (topics, groups, consumers per
//                                          queue, facts, connection) and redraws whenever they
//                                          change. Its links only set the session's selected
//                                          topic or group.

#include "Tessaron/casework/CaseworkPage.h"
#include "Tessaron/kit/TessaronChartCard.h"

#include <QPointer>

namespace tessaron {

class AppState;
class BrokerSession;

class BrokerBriefing : public CaseworkPage {
    Q_OBJECT
public:
    BrokerBriefing(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    void refresh();
    TessaronChartCard* chartCard() const { return m_chart; }
    // Whether the cards stand beside the chart (a wide pane) or under it (a narrow one).
    bool sideBySide() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void reflow();

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    // Kept across redraws, so its bars grow in once and then update in place.
    QPointer<TessaronChartCard> m_chart;
    QPointer<QWidget> m_columns;
    QPointer<QWidget> m_side;
};

} // namespace tessaron
