#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/ConsumerGroupDetail.h"
#include "TessaronCore/model/GroupOffset.h"

#include <QtTest>

#include <limits>

using namespace tessaron;

namespace {

Topic topic(const QString& name, QList<std::pair<int32_t, int64_t>> highs, std::optional<QString> error = std::nullopt)
{
    QList<Partition> partitions;
    for (auto [id, high] : highs)
        partitions.append(Partition{id, 1, 1, 1, 0, high, std::nullopt});
    return Topic{name, partitions, false, std::move(error), std::nullopt};
}

GroupMember member(const QString& id, QList<TopicPartitionRef> assigned)
{
    return GroupMember{id, id + QStringLiteral("-client"), QStringLiteral("/10.0.0.1"), std::nullopt, assigned};
}

} // namespace

class TestConsumerGroupDetail : public QObject {
    Q_OBJECT
private slots:
    void stateRules()
    {
        QVERIFY((ConsumerGroup{QStringLiteral("g"), QStringLiteral("Empty"), false}.hasNoMembers()));
        QVERIFY(!(ConsumerGroup{QStringLiteral("g"), QStringLiteral("EMPTY"), false}.hasNoMembers()));
        ConsumerGroupDetail d{QStringLiteral("g"), QStringLiteral("PreparingRebalance"), {}, {}, {}, {}};
        QVERIFY(d.isRebalancing());
        d.state = QStringLiteral("CompletingRebalance");
        QVERIFY(d.isRebalancing());
        d.state = QStringLiteral("Stable");
        QVERIFY(!d.isRebalancing() && !d.isEmpty());
        d.state = QStringLiteral("empty");
        QVERIFY(!d.isEmpty());
    }

    void offsetAndPositionLag()
    {
        QCOMPARE((GroupOffset{QStringLiteral("t"), 0, 5, 9}.lag()), std::optional<int64_t>(4));
        QCOMPARE((GroupOffset{QStringLiteral("t"), 0, -1, 9}.lag()), std::optional<int64_t>());
        QCOMPARE((GroupOffset{QStringLiteral("t"), 0, std::nullopt, 9}.lag()), std::optional<int64_t>());
        QCOMPARE((GroupOffset{QStringLiteral("t"), 0, 12, 9}.lag()), std::optional<int64_t>(0));
        QCOMPARE((GroupOffset{QStringLiteral("t"), 7, 1, 9}.id()), QStringLiteral("t/7"));

        GroupPosition past{QStringLiteral("t"), 0, 120, 100, std::nullopt};
        QCOMPARE(past.lag(), std::optional<int64_t>(0));
        QVERIFY(past.isPastEnd());
        past.end.reset();
        QCOMPARE(past.lag(), std::optional<int64_t>());
        QVERIFY(!past.isPastEnd());
        GroupPosition far{QStringLiteral("t"), 0, 1, int64_t(1) << 40, std::nullopt};
        QCOMPARE(far.lag(), std::optional<int64_t>((int64_t(1) << 40) - 1));
    }

    void assembleJoinsOffsetsEndsAndHolders()
    {
        const QList<GroupMember> members{
            member(QStringLiteral("m1"), {{QStringLiteral("orders"), 0}, {QStringLiteral("orders"), 1}}),
            member(QStringLiteral("m2"), {{QStringLiteral("orders"), 0}}),
        };
        QHash<TopicPartitionRef, int64_t> committed;
        committed.insert({QStringLiteral("orders"), 1}, 40);
        committed.insert({QStringLiteral("orders"), 0}, 90);
        committed.insert({QStringLiteral("audit"), 2}, -1);
        committed.insert({QStringLiteral("gone"), 0}, 5);
        committed.insert({QStringLiteral("broken"), 0}, 5);
        committed.insert({QStringLiteral("orders"), 9}, 5);
        const QList<Topic> topics{topic(QStringLiteral("orders"), {{0, 100}, {1, 50}}),
                                  topic(QStringLiteral("audit"), {{2, 10}}),
                                  topic(QStringLiteral("broken"), {{0, 10}}, QStringLiteral("leader not available"))};

        const auto d =
            ConsumerGroupDetail::assemble(QStringLiteral("g"), QStringLiteral("Stable"), QStringLiteral("range"),
                                          QStringLiteral("b1:9092"), members, committed, topics);
        QCOMPARE(d.members, members);
        QCOMPARE(d.coordinator, std::optional<QString>(QStringLiteral("b1:9092")));
        QStringList ids;
        for (const auto& p : d.positions)
            ids << p.id();
        QCOMPARE(ids, QStringList({"audit/2", "broken/0", "gone/0", "orders/0", "orders/1", "orders/9"}));

        const auto orders = d.positionsOn(QStringLiteral("orders"));
        QCOMPARE(orders.size(), 3);
        QCOMPARE(orders[0].heldBy, std::optional<QString>(QStringLiteral("m2"))); // the later member wins
        QCOMPARE(orders[0].end, std::optional<int64_t>(100));
        QCOMPARE(orders[1].heldBy, std::optional<QString>(QStringLiteral("m1")));
        QCOMPARE(orders[2].end, std::optional<int64_t>()); // no such partition
        QCOMPARE(orders[2].heldBy, std::optional<QString>());

        // Negative committed offsets are kept as they are; only the lag clamps.
        QCOMPARE(d.positions[0].committed, int64_t(-1));
        QCOMPARE(d.positions[0].lag(), std::optional<int64_t>(11));
        QCOMPARE(d.positions[1].end, std::optional<int64_t>()); // topic with an error
        QCOMPARE(d.positions[2].end, std::optional<int64_t>()); // topic not listed

        const auto lag = d.lag();
        QCOMPARE(lag.known, int64_t(11 + 10 + 10));
        QCOMPARE(lag.unknownPartitions, qsizetype(3));
        QCOMPARE(d.topics(), QStringList({"audit", "broken", "gone", "orders"}));
        QVERIFY(d.positionsOn(QStringLiteral("nowhere")).isEmpty());
        QVERIFY(d.positionsOn(QStringLiteral("Orders")).isEmpty());
    }

    void emptyCommittedAndOrdering()
    {
        const auto d = ConsumerGroupDetail::assemble(QStringLiteral("g"), QStringLiteral("Empty"), QString(),
                                                     std::nullopt, {}, {}, {topic(QStringLiteral("t"), {{0, 1}})});
        QVERIFY(d.positions.isEmpty());
        QCOMPARE(d.lag(), ConsumerGroupDetail::Lag{});

        ConsumerGroupDetail unordered{QStringLiteral("g"),
                                      QStringLiteral("Stable"),
                                      {},
                                      {},
                                      {},
                                      {{QStringLiteral("b"), 2, 0, 1, {}},
                                       {QStringLiteral("a"), 0, 0, 1, {}},
                                       {QStringLiteral("b"), 1, 0, 1, {}}}};
        QCOMPARE(unordered.topics(), QStringList({"a", "b"}));

        // Plain code-point order like every other name: U+FF01 before U+1F600, although UTF-16
        // puts the surrogate pair of U+1F600 first.
        const QString fullwidth = QStringLiteral("\uFF01"), emoji = QString::fromUcs4(U"\U0001F600");
        ConsumerGroupDetail wide{QStringLiteral("g"),
                                 QStringLiteral("Stable"),
                                 {},
                                 {},
                                 {},
                                 {{emoji, 0, 0, 1, {}}, {fullwidth, 0, 0, 1, {}}}};
        QCOMPARE(wide.topics(), QStringList({fullwidth, emoji}));
        const auto onB = unordered.positionsOn(QStringLiteral("b"));
        QCOMPARE(onB[0].partition, 1);
        QCOMPARE(onB[1].partition, 2);

        // A lag sum past the 64-bit range sticks at its end instead of wrapping negative.
        const int64_t top = std::numeric_limits<int64_t>::max();
        ConsumerGroupDetail huge{QStringLiteral("g"),
                                 QStringLiteral("Stable"),
                                 {},
                                 {},
                                 {},
                                 {{QStringLiteral("a"), 0, 0, top, {}}, {QStringLiteral("a"), 1, 0, top, {}}}};
        QCOMPARE(huge.lag().known, top);

        // Partitions order numerically, not as text.
        QHash<TopicPartitionRef, int64_t> committed{{{QStringLiteral("t"), 10}, 0}, {{QStringLiteral("t"), 9}, 0}};
        const auto numeric = ConsumerGroupDetail::assemble({}, {}, {}, {}, {}, committed, {});
        QCOMPARE(numeric.positions[0].partition, 9);
    }
};

QTEST_GUILESS_MAIN(TestConsumerGroupDetail)
#include "tst_ConsumerGroupDetail.moc"
