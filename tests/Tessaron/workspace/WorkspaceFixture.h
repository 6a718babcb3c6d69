#pragma once

// Sessions over the fake clients, brought to a listed state, and the sidebar's rows as text.

#include "support/FakeTools.h"
#include "support/SessionFakes.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarModel.h"
#include "Tessaron/workspace/SidebarRows.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QStringList>
#include <QTest>

namespace tessaron::fakes {

// "heading:Pinned", "topic:orders", "missing:gone", "group:billing", "fact:Topics".
inline QStringList rowsOf(const SidebarModel& model)
{
    static const char* kinds[] = {"heading", "topic", "missing", "group", "fact"};
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        rows << QString::fromLatin1(kinds[index.data(SidebarModel::KindRole).toInt()]) + u':' + index.data().toString();
    }
    return rows;
}

inline int rowOf(const SidebarModel& model, const QString& text) { return int(rowsOf(model).indexOf(text)); }

// Leaves no preference of one test to the next.
inline void clearPreferences()
{
    UserDefaults& store = UserDefaults::standard();
    for (const QString& key :
         {Prefs::showInternalTopics, QStringLiteral("tessaron.sidebarWidth"), Prefs::messagesPerRead})
        store.remove(key);
}

// Opens the broker in the application and waits until its topics are listed.
inline BrokerSession* openListed(AppState& app, const Broker& broker)
{
    app.open(broker);
    BrokerSession* session = app.activeSession();
    [&] { QTRY_VERIFY(session->topicsListed() && !session->isLoadingTopics()); }();
    return session;
}

} // namespace tessaron::fakes
