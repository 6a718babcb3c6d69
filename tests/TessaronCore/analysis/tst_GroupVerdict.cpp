#include "TessaronCore/analysis/GroupVerdict.h"

#include <QtTest>

#include <limits>

using namespace tessaron;

namespace {

GroupPosition position(int32_t partition, int64_t committed, std::optional<int64_t> end)
{
    return GroupPosition{QStringLiteral("orders"), partition, committed, end, std::nullopt};
}

ConsumerGroupDetail detail(const QString& state, int members, QList<GroupPosition> positions)
{
    ConsumerGroupDetail d;
    d.id = QStringLiteral("g");
    d.state = state;
    for (int i = 0; i < members; ++i)
        d.members.append(GroupMember{QString::number(i), {}, {}, std::nullopt, {}});
    d.positions = std::move(positions);
    return d;
}

// Positions 0.. with committed 100 and the given lags (an absent lag: no known end).
QList<GroupPosition> lagging(const QList<std::optional<int64_t>>& lags)
{
    QList<GroupPosition> list;
    for (qsizetype i = 0; i < lags.size(); ++i)
        list.append(position(int32_t(i), 100, lags[i] ? std::optional<int64_t>(100 + *lags[i]) : std::nullopt));
    return list;
}

} // namespace

class TestGroupVerdict : public QObject {
    Q_OBJECT
private slots:
    void putsARebalanceFirst()
    {
        for (const char* state : {"PreparingRebalance", "CompletingRebalance"}) {
            QCOMPARE(GroupVerdict::verdict(detail(state, 0, {})), GroupVerdict::rebalancing(state));
            QCOMPARE(GroupVerdict::verdict(detail(state, 2, lagging({5}))), GroupVerdict::rebalancing(state));
        }
        QCOMPARE(GroupVerdict::verdict(detail("rebalance", 1, {})).tag(), GroupVerdict::Case::neverCommitted);
    }

    void tellsNeverCommittedFromCannotSee()
    {
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 2, {})), GroupVerdict::neverCommitted(2));
        QCOMPARE(GroupVerdict::verdict(detail("Empty", 0, {})), GroupVerdict::neverCommitted(0));
        // Dead is the broker not knowing the group: not a group that never committed.
        QVERIFY(GroupVerdict::verdict(detail("Dead", 0, {})).gone());
        QVERIFY(!GroupVerdict::verdict(detail("Empty", 0, {})).gone());
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 1, lagging({std::nullopt, std::nullopt, std::nullopt}))),
                 GroupVerdict::cannotSee(3));

        // Committed offsets that could not be read are unknown, whatever the members: never "never committed".
        for (int members : {0, 2}) {
            for (const char* state : {"Empty", "Stable", "Dead"}) {
                ConsumerGroupDetail unread = detail(state, members, {});
                unread.positionsUnknown = true;
                QCOMPARE(GroupVerdict::verdict(unread), GroupVerdict::cannotSee(0));
            }
        }
        ConsumerGroupDetail rebalancing = detail("PreparingRebalance", 1, {});
        rebalancing.positionsUnknown = true;
        QCOMPARE(GroupVerdict::verdict(rebalancing), GroupVerdict::rebalancing("PreparingRebalance"));
    }

    void findsNobodyHome()
    {
        QCOMPARE(GroupVerdict::verdict(detail("Empty", 2, lagging({0, 0}))), GroupVerdict::nobodyHomeCaughtUp());
        QCOMPARE(GroupVerdict::verdict(detail("Empty", 0, lagging({5, 0}))), GroupVerdict::nobodyHome(5));
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 0, lagging({4, 6}))), GroupVerdict::nobodyHome(10));
        QCOMPARE(GroupVerdict::verdict(detail("empty", 1, lagging({4}))).tag(), GroupVerdict::Case::behind);

        // Members the broker would not describe: the listed state judges, never "nobody home".
        ConsumerGroupDetail undescribed = detail("Stable", 0, lagging({4, 6}));
        undescribed.membersUnknown = true;
        QCOMPARE(GroupVerdict::verdict(undescribed).tag(), GroupVerdict::Case::behind);
        undescribed.positions = lagging({0, 0});
        QCOMPARE(GroupVerdict::verdict(undescribed), GroupVerdict::caughtUp(2));
        undescribed.state = QStringLiteral("Empty");
        QCOMPARE(GroupVerdict::verdict(undescribed), GroupVerdict::nobodyHomeCaughtUp());
    }

    void countsKnownEndsOnly()
    {
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 1, lagging({0, 0, 0}))), GroupVerdict::caughtUp(3));
        // Nothing waits where the ends are known, but one end is unknown: never "caught up".
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 1, lagging({0, 0, 0, std::nullopt}))),
                 GroupVerdict::cannotSee(1, 3));
        QCOMPARE(GroupVerdict::verdict(detail("Empty", 0, lagging({0, std::nullopt}))), GroupVerdict::cannotSee(1, 1));
        // Committed beyond the end is lag 0, never negative.
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 1, {position(0, 120, 100), position(1, 0, 0)})),
                 GroupVerdict::caughtUp(2));
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 1, {position(0, 120, 100), position(1, 0, 3)})).total(),
                 int64_t(3));
    }

    void namesTheFirstWorstPartition()
    {
        const QList<GroupPosition> positions = lagging({3, 0, 7, std::nullopt, 7});
        const GroupVerdict v = GroupVerdict::verdict(detail("Stable", 1, positions));
        QCOMPARE(v, GroupVerdict::behind(17, 3, positions[2], 7.0 / 17.0));
        QCOMPARE(v.worst()->partition, 2);
        QCOMPARE(v.partitions(), 3);
    }

    void saturatesAtTheLimits()
    {
        constexpr int64_t max = std::numeric_limits<int64_t>::max();
        constexpr int64_t min = std::numeric_limits<int64_t>::min();
        const QList<GroupPosition> positions{position(0, min, max), position(1, -5, max), position(2, 0, 1)};
        const GroupVerdict v = GroupVerdict::verdict(detail("Stable", 1, positions));
        QCOMPARE(v.tag(), GroupVerdict::Case::behind);
        QCOMPARE(v.total(), max);
        QCOMPARE(v.worst(), std::optional<GroupPosition>(positions[0]));
        QCOMPARE(v.share(), 1.0);
        QCOMPARE(GroupVerdict::verdict(detail("Stable", 0, {position(0, min, max)})), GroupVerdict::nobodyHome(max));
    }
};

QTEST_GUILESS_MAIN(TestGroupVerdict)
#include "tst_GroupVerdict.moc"
