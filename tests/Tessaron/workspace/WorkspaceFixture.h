#pragma once

// Sessions over the fake clients, brought to a listed state, and the sidebar's rows as text.

#include "support/SessionFakes.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarModel.h"
#include "Tessaron/workspace/SidebarRows.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QDir>
#include <QFile>
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

inline Topic withError(Topic t, const QString& error)
{
    t.error = error;
    return t;
}

inline Topic queue(const QString& name, int64_t depth)
{
    Topic t;
    t.name = name;
    t.declaredDepth = depth;
    return t;
}

// Leaves no preference of one test to the next.
inline void clearPreferences()
{
    UserDefaults& store = UserDefaults::standard();
    for (const QString& key :
         {Prefs::showInternalTopics, QStringLiteral("tessaron.sidebarWidth"), Prefs::messagesPerRead})
        store.remove(key);
}

// An AI command-line tool on the throwaway HOME, so that the application finds one.
inline void installFakeAITool()
{
    const QString bin = QDir::homePath() + QStringLiteral("/.local/bin");
    QDir().mkpath(bin);
    QFile tool(bin + QStringLiteral("/claude"));
    if (tool.open(QIODevice::WriteOnly)) {
        tool.write("#!/bin/sh\necho answer\n");
        tool.close();
    }
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

inline void removeFakeAITool() { QFile::remove(QDir::homePath() + QStringLiteral("/.local/bin/claude")); }

} // namespace tessaron::fakes
