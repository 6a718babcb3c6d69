#include "Fixtures.h"

#include "TessaronCore/analysis/KeyShareEstimate.h"

#include <QtTest>

#include <limits>

using namespace tessaron;
using fixtures::message;
using fixtures::partition;

namespace {

Message keyed(const QByteArray& key, int32_t partitionID, int64_t offset = 0)
{
    return message(offset, QByteArray("{}"), key, partitionID);
}

} // namespace

class TestKeyShareEstimate : public QObject {
    Q_OBJECT
private slots:
    void countsOnlyUsableKeys()
    {
        QList<Message> list{message(0, QByteArray("x")), keyed("", 0), keyed("\xFF\xFE", 0), message(1, std::nullopt)};
        const KeyShareEstimate::Result r = KeyShareEstimate::estimate(list, {partition(0, 0, 10), partition(1, 0, 10)});
        QCOMPARE(r, KeyShareEstimate::Result{});
        QVERIFY(!r.allUnique);
        QVERIFY(!r.weighted);
    }

    void sharesEquallyWithoutRetainedCounts()
    {
        const QList<Message> list{keyed("a", 0), keyed("b", 0), keyed("a", 0), keyed("c", 0)};
        for (const QList<Partition>& given : {QList<Partition>{}, QList<Partition>{partition(0, 0, 99)},
                                              QList<Partition>{partition(0, 5, 5), partition(1, 9, 3)}}) {
            const KeyShareEstimate::Result r = KeyShareEstimate::estimate(list, given);
            QCOMPARE(r.ranked, (QList<KeyShare>{{"a", 0.5, 2}, {"b", 0.25, 1}, {"c", 0.25, 1}}));
            QCOMPARE(r.keyed, 4);
            QVERIFY(!r.allUnique);
            QVERIFY(!r.weighted);
        }
        // Two sampled partitions weigh half each, whatever their sample sizes.
        const auto r = KeyShareEstimate::estimate({keyed("x", 0), keyed("y", 1), keyed("z", 1)}, {});
        QCOMPARE(r.ranked, (QList<KeyShare>{{"x", 0.5, 1}, {"y", 0.25, 1}, {"z", 0.25, 1}}));
        QVERIFY(r.allUnique);
    }

    void weighsByRetainedCounts()
    {
        const QList<Partition> partitions{partition(0, 0, 900), partition(1, 50, 150)};
        const auto r = KeyShareEstimate::estimate({keyed("y", 0), keyed("z", 1), keyed("x", 0)}, partitions);
        QVERIFY(r.weighted);
        QCOMPARE(r.ranked, (QList<KeyShare>{{"x", 0.45, 1}, {"y", 0.45, 1}, {"z", 0.1, 1}}));
    }

    void weighsAMissingPartitionAsNothing()
    {
        const QList<Partition> partitions{partition(0, 0, 300), partition(1, 0, 100)};
        const auto r = KeyShareEstimate::estimate({keyed("a", 0), keyed("b", 7), keyed("b", 7)}, partitions);
        QVERIFY(r.weighted);
        QCOMPARE(r.keyed, 3);
        QCOMPARE(r.ranked, (QList<KeyShare>{{"a", 0.75, 1}, {"b", 0.0, 2}}));
    }

    void ranksEqualSharesByCodePoint()
    {
        const auto r =
            KeyShareEstimate::estimate({keyed("b", 0), keyed("a", 0), keyed("B", 0), keyed("\xC3\xA9", 0)}, {});
        QCOMPARE(r.ranked.size(), 4);
        QCOMPARE(r.ranked[0].key, QStringLiteral("B"));
        QCOMPARE(r.ranked[1].key, QStringLiteral("a"));
        QCOMPARE(r.ranked[2].key, QStringLiteral("b"));
        QCOMPARE(r.ranked[3].key, QStringLiteral("\u00E9"));
    }

    void saturatesHugeWatermarks()
    {
        constexpr int64_t max = std::numeric_limits<int64_t>::max();
        const QList<Partition> partitions{partition(0, -1, max), partition(1, -1, max)};
        const auto r = KeyShareEstimate::estimate({keyed("a", 0), keyed("b", 1)}, partitions);
        QVERIFY(r.weighted);
        QCOMPARE(r.ranked.size(), 2);
        QVERIFY(r.ranked[0].share > 0 && r.ranked[0].share <= 1);
    }
};

QTEST_GUILESS_MAIN(TestKeyShareEstimate)
#include "tst_KeyShareEstimate.moc"
