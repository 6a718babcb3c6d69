#include "TessaronCore/analysis/ShapeDrift.h"

#include "TessaronCore/analysis/JsonShapeScanner.h"
#include "TessaronCore/analysis/ShapeWalk.h"
#include "TessaronCore/model/ByteHash.h"
#include "TessaronCore/model/TextRules.h"

#include <QHash>

#include <algorithm>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace tessaron::ShapeDrift {

namespace {

constexpr int64_t walkDepth = 2;

// A shape as sorted (UTF-8 path, kind) pairs: byte order of UTF-8 is code-point order.
using Canonical = std::vector<std::pair<std::string, JSONKind>>;

uint64_t mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

uint64_t entryHash(std::string_view path, JSONKind kind)
{
    return mix(ByteHash::of(path, 0x5eed) ^ (uint64_t(JSONKind::Value(kind)) << 56));
}

// Order-independent: equal sets of entries hash alike whatever order they were met in.
uint64_t canonicalHash(const Canonical& c)
{
    uint64_t h = 0;
    for (const auto& [path, kind] : c)
        h += entryHash(path, kind);
    return h;
}

// Sorts by path; when a path repeats, the last one met wins, as a map insertion would.
bool sortAndCheckUnique(Canonical& c)
{
    std::stable_sort(c.begin(), c.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return std::adjacent_find(c.begin(), c.end(), [](const auto& a, const auto& b) { return a.first == b.first; })
        == c.end();
}

Canonical fromShape(const MessageShape& shape)
{
    Canonical c;
    c.reserve(size_t(shape.fields().size()));
    for (auto it = shape.fields().cbegin(); it != shape.fields().cend(); ++it) {
        const QByteArray utf8 = it.key().toUtf8();
        c.emplace_back(std::string(utf8.constData(), size_t(utf8.size())), it.value());
    }
    if (!sortAndCheckUnique(c)) {
        // Only texts holding lone surrogates can meet here; keep the last of each path.
        Canonical unique;
        for (auto& entry : c) {
            if (!unique.empty() && unique.back().first == entry.first)
                unique.back() = std::move(entry);
            else
                unique.push_back(std::move(entry));
        }
        c = std::move(unique);
    }
    return c;
}

struct Group {
    Canonical canonical;
    // The walk as first met, for the common case of many messages written by one producer in the
    // same key order: then comparing the raw walk is enough.
    bool hasRaw = false;
    std::string rawPaths;
    std::vector<JsonShapeScanner::Entry> rawEntries;
    // (entry hash, index in canonical), sorted: two walks with the same pairs in any order give the
    // same list, so most comparisons never touch a path.
    std::vector<std::pair<uint64_t, uint32_t>> keyed;
    qsizetype count = 0;
    int nextWithSameHash = -1;
};

} // namespace

class Grouping {
public:
    // The group of a shape given as a canonical list.
    int groupOf(Canonical canonical)
    {
        const uint64_t h = canonicalHash(canonical);
        for (int g = firstWithHash(h); g >= 0; g = m_groups[size_t(g)].nextWithSameHash) {
            if (m_groups[size_t(g)].canonical == canonical)
                return g;
        }
        return addGroup(h, std::move(canonical), nullptr);
    }

    // The group of the walk the scanner holds (a non-empty list of entries).
    int groupOf(const JsonShapeScanner& scanner, QByteArrayView json)
    {
        const auto& entries = scanner.entries();
        m_keyed.clear();
        uint64_t h = 0;
        for (uint32_t i = 0; i < uint32_t(entries.size()); ++i) {
            const uint64_t eh = entryHash(scanner.path(entries[i]), entries[i].kind);
            m_keyed.emplace_back(eh, i);
            h += eh;
        }
        bool sorted = false;
        for (int g = firstWithHash(h); g >= 0; g = m_groups[size_t(g)].nextWithSameHash) {
            const Group& group = m_groups[size_t(g)];
            if (sameRaw(group, scanner))
                return g;
            if (!sorted) {
                std::sort(m_keyed.begin(), m_keyed.end());
                sorted = true;
            }
            if (sameSet(group, scanner))
                return g;
        }
        Canonical canonical;
        canonical.reserve(entries.size());
        for (const auto& e : entries)
            canonical.emplace_back(std::string(scanner.path(e)), e.kind);
        if (!sortAndCheckUnique(canonical)) {
            // Repeated keys: what an overwritten key held must not count, so take the exact walk.
            const std::optional<MessageShape> exact = ShapeWalk::fromPayload(json, walkDepth);
            return exact ? groupOf(fromShape(*exact)) : -1;
        }
        for (int g = firstWithHash(h); g >= 0; g = m_groups[size_t(g)].nextWithSameHash) {
            if (m_groups[size_t(g)].canonical == canonical)
                return g;
        }
        return addGroup(h, std::move(canonical), &scanner);
    }

    std::vector<Group>& groups() { return m_groups; }

private:
    int firstWithHash(uint64_t h) const { return m_firstByHash.value(h, -1); }

    static bool sameRaw(const Group& g, const JsonShapeScanner& scanner)
    {
        if (!g.hasRaw || g.rawEntries.size() != scanner.entries().size())
            return false;
        for (size_t i = 0; i < g.rawEntries.size(); ++i) {
            const auto& mine = g.rawEntries[i];
            const auto& theirs = scanner.entries()[i];
            if (JSONKind::Value(mine.kind) != JSONKind::Value(theirs.kind))
                return false;
            if (std::string_view(g.rawPaths).substr(mine.pathStart, mine.pathLength) != scanner.path(theirs))
                return false;
        }
        return true;
    }

    // The walk (its sorted entry hashes in m_keyed) holds exactly the group's pairs, in any order.
    // Equal hash lists pair the entries up; the paths and kinds are then checked one to one, so a
    // collision or a repeated key cannot pass.
    bool sameSet(const Group& g, const JsonShapeScanner& scanner) const
    {
        if (g.keyed.size() != m_keyed.size())
            return false;
        for (size_t i = 0; i < m_keyed.size(); ++i) {
            if (g.keyed[i].first != m_keyed[i].first)
                return false;
        }
        for (size_t i = 0; i < m_keyed.size(); ++i) {
            const auto& mine = g.canonical[g.keyed[i].second];
            const auto& theirs = scanner.entries()[m_keyed[i].second];
            if (JSONKind::Value(mine.second) != JSONKind::Value(theirs.kind) || mine.first != scanner.path(theirs))
                return false;
        }
        return true;
    }

    int addGroup(uint64_t h, Canonical canonical, const JsonShapeScanner* raw)
    {
        Group g;
        g.canonical = std::move(canonical);
        for (uint32_t i = 0; i < uint32_t(g.canonical.size()); ++i)
            g.keyed.emplace_back(entryHash(g.canonical[i].first, g.canonical[i].second), i);
        std::sort(g.keyed.begin(), g.keyed.end());
        if (raw) {
            g.hasRaw = true;
            for (const auto& e : raw->entries()) {
                const std::string_view path = raw->path(e);
                g.rawEntries.push_back({uint32_t(g.rawPaths.size()), uint32_t(path.size()), e.kind});
                g.rawPaths.append(path);
            }
        }
        g.nextWithSameHash = firstWithHash(h);
        const int index = int(m_groups.size());
        m_groups.push_back(std::move(g));
        m_firstByHash.insert(h, index);
        return index;
    }

    std::vector<Group> m_groups;
    QHash<uint64_t, int> m_firstByHash;
    std::vector<std::pair<uint64_t, uint32_t>> m_keyed;
};

namespace {

QString pathText(const std::string& path) { return QString::fromUtf8(path.data(), qsizetype(path.size())); }

// Absent sorts first, then the kinds in declaration order.
int kindRank(const std::optional<JSONKind>& kind) { return kind ? int(JSONKind::Value(*kind)) + 1 : 0; }

QList<FieldDifference> differencesFrom(const std::vector<Group>& groups, int majority)
{
    QHash<FieldDifference, qsizetype> counts;
    const Canonical& m = groups[size_t(majority)].canonical;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (int(g) == majority)
            continue;
        const Canonical& o = groups[size_t(g)].canonical;
        const qsizetype weight = groups[g].count;
        size_t i = 0;
        size_t j = 0;
        while (i < m.size() || j < o.size()) {
            if (j == o.size() || (i < m.size() && m[i].first < o[j].first)) {
                counts[FieldDifference{pathText(m[i].first), m[i].second, std::nullopt}] += weight;
                ++i;
            } else if (i == m.size() || o[j].first < m[i].first) {
                counts[FieldDifference{pathText(o[j].first), std::nullopt, o[j].second}] += weight;
                ++j;
            } else {
                if (JSONKind::Value(m[i].second) != JSONKind::Value(o[j].second))
                    counts[FieldDifference{pathText(m[i].first), m[i].second, o[j].second}] += weight;
                ++i;
                ++j;
            }
        }
    }

    struct Ranked {
        FieldDifference difference;
        qsizetype count;
        QString orderKey;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(size_t(counts.size()));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ranked.push_back({it.key(), it.value(), TextRules::orderKey(it.key().field)});
    // Count descending, then path in code-point order; one path with several kind pairs is ordered
    // by the majority's kind, then the outlier's (absent first, then declaration order).
    std::sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.count != b.count)
            return a.count > b.count;
        if (const int c = TextRules::compareCodePoints(a.orderKey, b.orderKey))
            return c < 0;
        if (const int c = TextRules::compareCodePoints(a.difference.field, b.difference.field))
            return c < 0;
        if (kindRank(a.difference.majority) != kindRank(b.difference.majority))
            return kindRank(a.difference.majority) < kindRank(b.difference.majority);
        return kindRank(a.difference.outlier) < kindRank(b.difference.outlier);
    });
    QList<FieldDifference> result;
    result.reserve(qsizetype(ranked.size()));
    for (Ranked& r : ranked)
        result.append(std::move(r.difference));
    return result;
}

} // namespace

Tally::Tally()
    : m_grouping(std::make_unique<Grouping>())
{ }

Tally::~Tally() = default;
Tally::Tally(Tally&&) noexcept = default;
Tally& Tally::operator=(Tally&&) noexcept = default;

int Tally::add(const QList<Message>& messages)
{
    const int first = int(m_groupOf.size());
    JsonShapeScanner scanner;
    Grouping& grouping = *m_grouping;
    m_groupOf.reserve(m_groupOf.size() + size_t(messages.size()));
    for (const Message& message : messages) {
        int group = -1;
        if (const auto& decoded = message.decoded()) {
            if (decoded->shape) {
                group = grouping.groupOf(fromShape(*decoded->shape));
            } else if (scanner.scan(decoded->json, walkDepth) && !scanner.entries().empty()) {
                group = grouping.groupOf(scanner, decoded->json);
            }
        } else if (const auto& payload = message.payload()) {
            if (scanner.scan(*payload, walkDepth) && !scanner.entries().empty())
                group = grouping.groupOf(scanner, *payload);
        }
        if (group >= 0)
            grouping.groups()[size_t(group)].count += 1;
        m_groupOf.push_back(group);
    }
    return first;
}

ShapeVerdict Tally::verdict(const QList<Message>& messages, const QList<int>& numbers) const
{
    const std::vector<Group>& groups = m_grouping->groups();
    qsizetype total = 0;
    for (const Group& group : groups)
        total += group.count;
    if (total == 0)
        return ShapeVerdict::nothingToCompare();
    if (total < minimumSample)
        return ShapeVerdict::notEnoughEvidence(total);
    if (groups.size() == 1)
        return ShapeVerdict::consistent(total);

    qsizetype majorityCount = 0;
    for (const Group& group : groups)
        majorityCount = std::max(majorityCount, group.count);
    if (!(2 * majorityCount > total))
        return ShapeVerdict::noMajority(total, qsizetype(groups.size()));
    // A strict majority is one group.
    int majority = 0;
    while (groups[size_t(majority)].count != majorityCount)
        ++majority;

    ShapeVerdict::Drift drift;
    drift.sampled = total;
    drift.majorityCount = majorityCount;
    drift.outlierIDs.reserve(total - majorityCount);
    for (qsizetype index = 0; index < numbers.size(); ++index) {
        const int number = numbers[index];
        const int group = m_groupOf[size_t(number)];
        if (group < 0 || group == majority)
            continue;
        auto known = m_outlierIDs.constFind(number);
        if (known == m_outlierIDs.cend())
            known = m_outlierIDs.insert(number, messages[index].id());
        drift.outlierIDs.append(*known);
    }
    drift.differences = differencesFrom(groups, majority);
    return ShapeVerdict::drift(std::move(drift));
}

ShapeVerdict verdict(const QList<Message>& messages)
{
    Tally tally;
    tally.add(messages);
    QList<int> numbers(messages.size());
    std::iota(numbers.begin(), numbers.end(), 0);
    return tally.verdict(messages, numbers);
}

} // namespace tessaron::ShapeDrift
