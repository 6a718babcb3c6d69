#pragma once

// The mascot's case notes on the messages read from the open topic: the heading with the shape
// ruling, the messages that disagree as links, and who is sending.
//
//   TopicNotes(app, session, parent)   binds the session: its verdict, messages, selected topic
//                                      and topics; redraws whenever they change. The exhibit
//                                      column shows it while no message is selected. Its links
//                                      only set session->setSelectedMessage().

#include "Tessaron/casework/CaseworkPage.h"

#include <QPointer>

namespace tessaron {

class AppState;
class BrokerSession;

class TopicNotes : public CaseworkPage {
    Q_OBJECT
public:
    TopicNotes(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    // Redraws from the session now; the view calls it on every relevant change. While another
    // page covers the notes (a message is shown), it only marks them for a redraw when shown
    // again: they are worked out from every message held, and "Read further" changes those at
    // every page.
    void refresh();

protected:
    bool event(QEvent* event) override;

private:
    bool m_stale = false;
    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
};

} // namespace tessaron
