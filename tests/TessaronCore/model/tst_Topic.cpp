#include "TessaronCore/model/GroupOffset.h"
#include "TessaronCore/model/GroupPosition.h"
#include "TessaronCore/model/QueueBinding.h"
#include "TessaronCore/model/Topic.h"

#include <QtTest>

using namespace tessaron;

namespace {

Partition span(int32_t id, int64_t low, int64_t high, int64_t replicas = 3, int64_t inSync = 3)
{
    return Partition{id, 1, replicas, inSync, low, high, std::nullopt};
}

} // namespace

class TestTopic : public QObject {
    Q_OBJECT
private slots:
    void retainedCounts()
    {
        QCOMPARE(span(0, 10, 4).retained(), int64_t(0));
        QCOMPARE(span(0, 4, 10).retained(), int64_t(6));

        Topic empty{QStringLiteral("t"), {}, false, std::nullopt, std::nullopt};
        QCOMPARE(empty.retained(), int64_t(0));
        QVERIFY(!empty.hasUnderReplicated());

        // Each partition is clamped on its own: a backwards span cannot reduce the total.
        Topic t{
            QStringLiteral("t"), {span(0, 0, 5), span(1, 10, 7), span(2, 3, 10)}, false, std::nullopt, std::nullopt};
        QCOMPARE(t.retained(), int64_t(12));

        // Offsets are 64-bit: spans past 2^32 add up exactly.
        Topic big{QStringLiteral("b"),
                  {span(0, 0, int64_t(1) << 40), span(1, 5, (int64_t(1) << 40) + 5)},
                  false,
                  std::nullopt,
                  std::nullopt};
        QCOMPARE(big.retained(), int64_t(1) << 41);

        Topic queue = t;
        queue.declaredDepth = 0;
        QCOMPARE(queue.retained(), int64_t(0));
        queue.declaredDepth = 12;
        QCOMPARE(queue.retained(), int64_t(12));
    }

    void broker64BitLimitsSaturateInsteadOfOverflowing()
    {
        constexpr int64_t top = std::numeric_limits<int64_t>::max();
        constexpr int64_t bottom = std::numeric_limits<int64_t>::min();
        QCOMPARE(span(0, bottom, top).retained(), top);
        Topic huge{
            QStringLiteral("h"), {span(0, 0, top), span(1, 0, top), span(2, -1, 0)}, false, std::nullopt, std::nullopt};
        QCOMPARE(huge.retained(), top);
        QCOMPARE((GroupPosition{QStringLiteral("t"), 0, bottom, top, std::nullopt}.lag()), std::optional<int64_t>(top));
        QCOMPARE((GroupOffset{QStringLiteral("t"), 0, 0, top}.lag()), std::optional<int64_t>(top));
    }

    void underReplication()
    {
        QVERIFY(span(0, 0, 1, 3, 2).underReplicated());
        QVERIFY(!span(0, 0, 1, 3, 3).underReplicated());
        Topic t{QStringLiteral("t"), {span(0, 0, 1), span(1, 0, 1, 3, 1)}, false, std::nullopt, std::nullopt};
        QVERIFY(t.hasUnderReplicated());
    }

    void deadLetterNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("deadLetter");
        for (const char* n : {"orders.DLQ", "Payments-Dead-Letter", "billing_dead_letter", "x.deadletter.y",
                              "audit.dlt", "audit-DLT", "dlq", "caf\u00e9.DLQ", "na\u00efve-Dead-Letter", "x.dlqs"})
            QTest::newRow(n) << QString::fromUtf8(n) << true;
        for (const char* n : {"auditdlt", "dl-queue", "dead.letter", "orders", "", "dl", "dead-lette", "caf\u00e9.dl"})
            QTest::newRow(n) << QString::fromUtf8(n) << false;
    }
    void deadLetterNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, deadLetter);
        QCOMPARE((Topic{name, {}, false, std::nullopt, std::nullopt}.looksLikeDeadLetter()), deadLetter);
    }

    void internalNames()
    {
        QVERIFY(Topic::isKafkaInternal(QStringLiteral("__consumer_offsets")));
        QVERIFY(Topic::isKafkaInternal(QStringLiteral("__")));
        QVERIFY(Topic::isKafkaInternal(QStringLiteral("_schemas")));
        QVERIFY(!Topic::isKafkaInternal(QStringLiteral("_schemas-old")));
        QVERIFY(!Topic::isKafkaInternal(QStringLiteral("_confluent-metrics")));
        QVERIFY(!Topic::isKafkaInternal(QStringLiteral("schemas")));
    }

    void equalityCoversPartitions()
    {
        Topic a{QStringLiteral("t"), {span(0, 0, 5)}, false, std::nullopt, std::nullopt};
        Topic b{QStringLiteral("t"), {span(0, 0, 6)}, false, std::nullopt, std::nullopt};
        QVERIFY(a != b);
        QCOMPARE(a.id(), b.id());
        Topic c = a;
        QCOMPARE(a, c);
        QCOMPARE(qHash(a), qHash(c));
        c.error = QString();
        QVERIFY(a != c); // an empty error text is still an error
    }

    void bindings()
    {
        QueueBinding d{QString(), QStringLiteral("jobs")};
        QVERIFY(d.isDefaultExchange());
        QCOMPARE(d.sourceLabel(), QStringLiteral("(default exchange)"));
        QCOMPARE(d.id(), QStringLiteral("/jobs"));
        QueueBinding e{QStringLiteral("events"), QStringLiteral("a.b")};
        QVERIFY(!e.isDefaultExchange());
        QCOMPARE(e.sourceLabel(), QStringLiteral("events"));
        QCOMPARE(e.id(), QStringLiteral("events/a.b"));
    }
};

QTEST_GUILESS_MAIN(TestTopic)
#include "tst_Topic.moc"
