#pragma once

#include "TessaronCore/analysis/TopicFilter.h"
#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/Topic.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tessaron {

class UserDefaults;

// What the sidebar decides, apart from how it draws: which rows it lists and in what sections,
// which chips it offers, which sentences it says. No widgets, so it is tested headless.
namespace Sidebar {

// A short count for a row's badge: 999, 1.0k, 2.5M. Always with a full stop, whatever the locale.
QString compactCount(int64_t count);

// Groups whose id contains the search (trimmed of spaces and tabs only) in any letter case, in
// listing order; all of them for an empty search.
QList<ConsumerGroup> filteredGroups(const QList<ConsumerGroup>& groups, const QString& search);
QString trimmedSearch(const QString& search);

// Non-internal topics named `folder` or `folder` + "."...; without a folder, every non-internal topic.
int folderCount(const QList<Topic>& topics, const std::optional<QString>& folder);

// The brokers-on-file popover's remark.
QString brokersOnFileRemark(qsizetype count);

enum class Body { loading, empty, list };
// Loading while the session connects (its secrets may still be on their way) or lists for the
// first time; empty when nothing is visible.
Body body(bool isConnecting, bool isLoadingTopics, bool anyTopics, bool anyVisible);
// The empty notice: a search that matched nothing, a listing that never succeeded (which is not
// "no topics"), a listing the user's ACLs filtered (which is not "none" either), or a broker that
// has none.
QString emptyNotice(const QString& search, bool listed, bool queues, bool filtered = false);

// "Ask" needs an AI tool and a current topic; "File…" needs a connection.
bool offersAsk(bool aiAvailable, bool hasCurrentTopic);
bool fileEnabled(bool connected);

// The sidebar width: one preference for every broker, clamped whenever it is read or written,
// so a junk value can never hide the sidebar.
inline const QString widthKey = QStringLiteral("tessaron.sidebarWidth");
constexpr double defaultWidth = 320;
constexpr double minimumWidth = 250;
constexpr double maximumWidth = 440;
double clampWidth(double width);
double storedWidth(const UserDefaults& store);
void storeWidth(UserDefaults& store, double width);

// One line of the sidebar's list.
struct Entry {
    enum Kind : quint8 { heading, topic, missingPin, group, fact };
    enum Section : quint8 { pinned, deadLetters, topics, groups, cantSee };
    Kind kind;
    Section section;
    int index;         // into the section's list of Content (the heading: -1)
    quint8 spaceAbove; // headings only: the gap above them
};

// Everything the list shows at once, mapped from the session.
struct Content {
    TopicFilter::Sections sections;
    QList<ConsumerGroup> groups; // filtered
    QList<Unobservable> facts;
    QList<Entry> entries;

    const Topic& topicAt(const Entry& entry) const;
    // A stable identity for the entry across rebuilds: topics by section and name, missing pins by
    // name, groups by id, facts by subject and reason together (two facts may share a subject).
    QString key(const Entry& entry) const;
};

// The sections in order with their headings. Under the empty notice (`listShown` false) only the
// facts follow.
Content content(TopicFilter::Sections sections, QList<ConsumerGroup> groups, QList<Unobservable> facts, bool listShown);

} // namespace Sidebar
} // namespace tessaron
