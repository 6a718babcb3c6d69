#include "Fixtures.h"

#include "TessaronCore/analysis/PartitionSkew.h"

#include <QtTest>

#include <limits>

using namespace tessaron;
using fixtures::partition;

namespace {

// Partitions 0.. holding the given counts.
Topic holding(const QList<int64_t>& counts)
{
    QList<Partition> ps;
    for (qsizetype i = 0; i < counts.size(); ++i)
        ps.append(partition(int32_t(i), 100, 100 + counts[i]));
    return fixtures::topic("t", false, ps);
}

SkewVerdict::Bar bar(int32_t id, int64_t retained, double share) { return SkewVerdict::Bar{id, retained, share}; }

} // namespace

class TestPartitionSkew : public QObject {
    Q_OBJECT
private slots:
    void needsPartitionsToCompare()
    {
        QCOMPARE(PartitionSkew::verdict(holding({})), SkewVerdict::notPartitioned());
        QCOMPARE(PartitionSkew::verdict(holding({1'000'000})), SkewVerdict::nothingToCompare());
        QCOMPARE(PartitionSkew::verdict(holding({0, 0})), SkewVerdict::allEmpty(2));
        QVERIFY(PartitionSkew::verdict(holding({0, 0})).bars().isEmpty());
    }

    void needsTenPerPartitionOnAverage()
    {
        QCOMPARE(PartitionSkew::verdict(holding({9, 10, 10})), SkewVerdict::notEnoughEvidence(29, 3));
        QCOMPARE(PartitionSkew::verdict(holding({10, 10, 10})).tag(), SkewVerdict::Case::even);
    }

    void clampsNegativeSpans()
    {
        Topic t = holding({30, 0});
        t.partitions[1].high = 50; // below its low of 100
        const SkewVerdict v = PartitionSkew::verdict(t);
        QCOMPARE(v.bars(), (QList<SkewVerdict::Bar>{bar(0, 30, 1.0), bar(1, 0, 0.0)}));
    }

    void judgesEvenSkewedAndStarved()
    {
        QCOMPARE(PartitionSkew::verdict(holding({10, 20})),
                 SkewVerdict::even({bar(0, 10, 10.0 / 30), bar(1, 20, 20.0 / 30)}));
        // Exactly twice the fair share is skewed.
        const QList<SkewVerdict::Bar> skewedBars{bar(0, 50, 0.5), bar(1, 20, 0.2), bar(2, 20, 0.2), bar(3, 10, 0.1)};
        QCOMPARE(PartitionSkew::verdict(holding({50, 20, 20, 10})), SkewVerdict::skewed(skewedBars, skewedBars[0], {}));
        const QList<SkewVerdict::Bar> starvedBars{bar(0, 0, 0.0), bar(1, 40, 0.4), bar(2, 30, 0.3), bar(3, 30, 0.3)};
        QCOMPARE(PartitionSkew::verdict(holding({0, 40, 30, 30})), SkewVerdict::starved(starvedBars, {starvedBars[0]}));
        // Exactly at the idle limit (1/4 * 0.1 = 0.025 of 400) is idle; just above is not.
        QCOMPARE(PartitionSkew::verdict(holding({10, 130, 130, 130})).tag(), SkewVerdict::Case::starved);
        QCOMPARE(PartitionSkew::verdict(holding({11, 130, 130, 129})).tag(), SkewVerdict::Case::even);
        // A skewed topic lists its idle partitions too.
        const SkewVerdict both = PartitionSkew::verdict(holding({0, 100, 20, 20}));
        QCOMPARE(both.tag(), SkewVerdict::Case::skewed);
        QCOMPARE(both.idle(), (QList<SkewVerdict::Bar>{bar(0, 0, 0.0)}));
    }

    void ordersBarsByIdAndTakesTheLowestWorst()
    {
        Topic t = fixtures::topic("t", false, {partition(2, 0, 10), partition(0, 0, 60), partition(1, 0, 60)});
        const SkewVerdict v = PartitionSkew::verdict(t);
        QCOMPARE(v.bars().size(), 3);
        QCOMPARE(v.bars()[0].partition, 0);
        QCOMPARE(v.bars()[2].partition, 2);
        QCOMPARE(t.partitions.first().id, 2); // the topic's own list is untouched
        Topic tie = holding({0, 60, 60, 0});
        QCOMPARE(PartitionSkew::verdict(tie).worst()->partition, 1);
    }

    void saturatesAtTheLimits()
    {
        constexpr int64_t max = std::numeric_limits<int64_t>::max();
        constexpr int64_t min = std::numeric_limits<int64_t>::min();
        Topic t = fixtures::topic("t", false, {partition(0, min, max), partition(1, -1, max), partition(2, 0, 5)});
        const SkewVerdict v = PartitionSkew::verdict(t);
        QCOMPARE(v.tag(), SkewVerdict::Case::skewed);
        QCOMPARE(v.worst()->partition, 0);
        QCOMPARE(v.idle().size(), 1);
        QCOMPARE(v.bars()[0].retained, max);
        QCOMPARE(v.bars()[1].retained, max);
        QCOMPARE(v.bars()[0].share, 1.0);
        QCOMPARE(PartitionSkew::verdict(fixtures::topic("t", false, {partition(0, max, min), partition(1, 0, 0)})),
                 SkewVerdict::allEmpty(2));
    }
};

QTEST_GUILESS_MAIN(TestPartitionSkew)
#include "tst_PartitionSkew.moc"
