#pragma once

#include "TessaronCore/model/Topic.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaron {

// Which topics (or queues) the sidebar lists, in what order and in which sections.
namespace TopicFilter {

struct Sections {
    QList<Topic> pinned;      // visible pinned topics, in pin-list order (a pin listed twice, twice)
    QStringList missingPins;  // pinned names no listed topic has, when asked for
    QList<Topic> deadLetters; // visible, unpinned, dead-letter-looking, in visible order
    QList<Topic> ordinary;    // the other visible, unpinned topics, in visible order

    friend bool operator==(const Sections&, const Sections&) = default;
};

// Drops internal topics unless asked, keeps the namespace (the name itself or name + "."), keeps
// names that contain the trimmed search text ignoring case, then orders: non-internal first,
// dead letters first, then by name in code-point order.
QList<Topic> visible(const QList<Topic>& topics, QStringView search, const std::optional<QString>& namespaceName,
                     bool includeInternal);

// The visible topics split into the sidebar's sections. A missing pin is reported only when no
// input topic has its name (a hidden one counts as present) and it passes the namespace and search.
// When two topics share a name, a pin takes the first of them in visible order.
Sections sections(const QList<Topic>& topics, const QStringList& pinned, QStringView search,
                  const std::optional<QString>& namespaceName, bool includeInternal, bool reportMissing);

// First name segments shared by at least two non-internal topics whose names hold a full stop,
// in code-point order.
QStringList namespaces(const QList<Topic>& topics);

} // namespace TopicFilter

} // namespace tessaron
