#pragma once

#include "VelkinInfra/prefs/UserDefaults.h"

#include <QString>
#include <QUuid>

#include <cstdint>

// The preference keys of the application and their typed readers with defaults. Views and the
// broker session read and write these keys through UserDefaults::standard() at once; there is no
// save step. Defaults when nothing is stored: onboarded false, lastSeenVersion absent, accentTheme
// "sunset" (read by the brand kit), messagesPerRead 100, requestTimeoutMs 10000,
// showInternalTopics false, the two tallies 0, aiProvider "auto", pinned topics an empty list.
namespace tessaron::Prefs {

inline const QString onboarded = QStringLiteral("tessaron.onboarded");
inline const QString lastSeenVersion = QStringLiteral("tessaron.lastSeenVersion");
inline const QString accentTheme = QStringLiteral("tessaron.accentTheme");
inline const QString messagesPerRead = QStringLiteral("tessaron.messagesPerRead");
inline const QString requestTimeoutMs = QStringLiteral("tessaron.requestTimeoutMs");
inline const QString showInternalTopics = QStringLiteral("tessaron.showInternalTopics");
inline const QString messagesRead = QStringLiteral("tessaron.tally.read");
inline const QString messagesDisturbed = QStringLiteral("tessaron.tally.disturbed");
inline const QString aiProvider = QStringLiteral("tessaron.aiProvider");

// "tessaron.topic." + broker identifier + ".pinned": the broker's pinned topics, in pin order.
QString pinnedTopics(const QString& brokerId);
// The same key for a broker's UUID, written in upper-case canonical form.
QString pinnedTopics(const QUuid& brokerId);

// Messages per read: the stored number when it is a whole number of at least 1, otherwise 100.
qint64 messageLimit(const UserDefaults& store = UserDefaults::standard());

// The stored time-out when it is a whole number that fits in 32 bits, otherwise 10000.
int32_t timeoutMs(const UserDefaults& store = UserDefaults::standard());

} // namespace tessaron::Prefs
