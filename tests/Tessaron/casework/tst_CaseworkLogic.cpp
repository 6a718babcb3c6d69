// The sentences and derived lists of the casework views, headless, at their boundaries.
#include "support/SessionFakes.h"

#include "Tessaron/casework/BriefingLogic.h"
#include "Tessaron/casework/CaseworkLogic.h"
#include "Tessaron/casework/GroupLogic.h"
#include "Tessaron/casework/NotesLogic.h"
#include "Tessaron/casework/SkewLogic.h"
#include "Tessaron/casework/VerdictLogic.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTest>

#include <limits>

using namespace tessaron;
using CaseworkLogic::Tone;
using fakes::namesOf;
using fakes::queue;

namespace {

Topic topicOf(const QString& name, int64_t retained, bool internal = false)
{
    Topic t;
    t.name = name;
    t.isInternal = internal;
    Partition p;
    p.high = retained;
    t.partitions = {p};
    return t;
}

GroupPosition position(const QString& topic, int32_t partition, int64_t committed, std::optional<int64_t> end,
                       std::optional<QString> heldBy = std::nullopt)
{
    return GroupPosition{topic, partition, committed, end, heldBy};
}

Message message(const QString& id, std::optional<QByteArray> key, std::optional<QByteArray> payload)
{
    return Message("orders", 0, id.toLongLong(), std::move(key), std::move(payload), std::nullopt, {});
}

QByteArray avroFrame() { return QByteArray("\x00\x00\x00\x00\x07\x02", 6); }

} // namespace

class TestCaseworkLogic : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void percentagesRoundHalvesAwayFromZeroAndCountsStayWhole()
    {
        QCOMPARE(CaseworkLogic::wholePercent(0.625), 63);
        QCOMPARE(CaseworkLogic::wholePercent(0.5), 50);
        QCOMPARE(CaseworkLogic::wholePercent(0.6667), 67);
        QCOMPARE(CaseworkLogic::wholePercent(0.666), 67);
        QCOMPARE(CaseworkLogic::wholePercent(0.428), 43);
        QCOMPARE(CaseworkLogic::wholePercent(0.999), 100);
        QCOMPARE(CaseworkLogic::wholePercent(0.004), 0);
        QCOMPARE(CaseworkLogic::wholePercent(0.005), 1);
        // A 64-bit count is never narrowed to 32 bits.
        QCOMPARE(CaseworkLogic::groupedCount(12000), QString("12,000"));
        QCOMPARE(CaseworkLogic::groupedCount(5'000'000'000LL), QString("5,000,000,000"));
        QCOMPARE(CaseworkLogic::groupedCount(std::numeric_limits<int64_t>::max()),
                 QString("9,223,372,036,854,775,807"));
        // In Portuguese a comma is the decimal mark: grouped the Portuguese way, never read as 48.21.
        UserDefaults::standard().setString(L10n::key, "pt");
        QCOMPARE(CaseworkLogic::groupedCount(48210), QString("48.210"));
        UserDefaults::standard().setString(L10n::key, "en");
    }

    void briefingOrdersDeadLettersStablyAndCountsWhatIsLeft()
    {
        const QList<Topic> topics = {topicOf("orders.dlq", 0), topicOf("pay.DLQ", 40), topicOf("ship-dead-letter", 40),
                                     topicOf("__consumer_offsets", 900, true)};
        const BriefingLogic text = BriefingLogic::of(BriefingLogic::Wording::kafka, topics, {}, {});
        QCOMPARE(namesOf(text.deadLetters), (QStringList{"pay.DLQ", "ship-dead-letter", "orders.dlq"}));
        QCOMPARE(namesOf(text.waitingDeadLetters), (QStringList{"pay.DLQ", "ship-dead-letter"}));
        QCOMPARE(text.arrivalSentence(),
                 QString("3 topics. \u2068pay.DLQ\u2069 has 40 messages waiting. That's usually why you're here."));
        QCOMPARE(text.emptySentence(),
                 std::optional<QString>("One of them is empty — never produced, or aged out. I "
                                        "can't tell which, and I won't guess."));
        QVERIFY(!text.deadLetterMoreLine());

        QList<Topic> four = topics;
        four.append(topicOf("x.dlt", 1));
        QCOMPARE(BriefingLogic::of(BriefingLogic::Wording::kafka, four, {}, {}).deadLetterMoreLine(),
                 std::optional<QString>("…and 1 more"));

        // Every one empty: the all-empty rows win over "one of them", and the dead letters are fine.
        const BriefingLogic empty = BriefingLogic::of(BriefingLogic::Wording::rabbit, {queue("a.dlq", 0)}, {}, {});
        QCOMPARE(empty.emptySentence(),
                 std::optional<QString>("All of them empty. Either nobody published, or a "
                                        "consumer got there first."));
        QCOMPARE(empty.arrivalSentence(), QString("One queue. The dead letters are all empty. Good so far."));
        QCOMPARE(BriefingLogic::of(BriefingLogic::Wording::kafka, {topicOf("pay.dlq", 1)}, {}, {}).arrivalSentence(),
                 QString("One topic. \u2068pay.dlq\u2069 has 1 message waiting. That's usually why you're here."));
        const BriefingLogic two =
            BriefingLogic::of(BriefingLogic::Wording::rabbit,
                              {queue("a", 0), queue("b", 0), queue("c", 3), queue("d", 4), queue("e", 5)}, {}, {});
        QCOMPARE(two.emptySentence(),
                 std::optional<QString>("2 of them are empty. Either nobody published, or a "
                                        "consumer got there first."));
        QCOMPARE(two.arrivalSentence(),
                 QString("5 queues. Nothing I'd call a dead letter. Which doesn't mean there isn't one."));
    }

    void briefingOfInternalTopicsOnlyIsAnEmptyBroker()
    {
        const BriefingLogic text =
            BriefingLogic::of(BriefingLogic::Wording::kafka, {topicOf("__consumer_offsets", 5, true)}, {}, {});
        QVERIFY(text.briefed.isEmpty());
        QCOMPARE(text.arrivalSentence(),
                 QString("Nothing to report. Either this broker is empty, or I couldn't see "
                         "into it — the left-hand side says which."));
        QVERIFY(!text.emptySentence());
    }

    void briefingChartShowsTheSixFullest()
    {
        QList<Topic> topics;
        for (int i = 0; i < 8; ++i)
            topics.append(topicOf(QString("t%1").arg(i), i * 10));
        const TessaronChart chart = BriefingLogic::of(BriefingLogic::Wording::kafka, topics, {}, {}).retainedChart();
        QCOMPARE(chart.bars.size(), 6);
        QCOMPARE(chart.bars.first().label, QString("t7"));
        QCOMPARE(chart.bars.last().label, QString("t2"));
        QCOMPARE(chart.scale, 70.0);
        const TessaronChart zero =
            BriefingLogic::of(BriefingLogic::Wording::kafka, {topicOf("a", 0), topicOf("b", 0)}, {}, {})
                .retainedChart();
        QCOMPARE(zero.title, QString("Everything is at zero."));
        QCOMPARE(zero.scale, 1.0);
        QCOMPARE(zero.bars.size(), 2);
    }

    void briefingFindsUnattendedQueuesOnly()
    {
        const QList<Topic> queues = {queue("q1", 5), queue("q2", 5),       queue("q3", 5),  queue("q4", 5),
                                     queue("q5", 5), queue("unmapped", 9), queue("idle", 0)};
        const QHash<QString, int64_t> consumers = {{"q1", 0}, {"q2", 0}, {"q3", 0}, {"q4", 0}, {"q5", 0}, {"idle", 0}};
        const BriefingLogic text = BriefingLogic::of(BriefingLogic::Wording::rabbit, queues, {}, consumers);
        QCOMPARE(namesOf(text.unattendedQueues), (QStringList{"q1", "q2", "q3", "q4", "q5"}));
        QCOMPARE(text.consumersSentence(), QString("5 queues have messages and no consumer."));
        QCOMPARE(text.unattendedLinks().size(), 3);
        const BriefingLogic one =
            BriefingLogic::of(BriefingLogic::Wording::rabbit, queues, {}, {{"q1", 0}, {"q2", 2}, {"q3", 1}});
        QCOMPARE(one.consumersSentence(), QString("One queue has messages and no consumer."));
        QCOMPARE(BriefingLogic::of(BriefingLogic::Wording::rabbit, queues, {}, {}).consumersSentence(),
                 QString("Every queue with messages has someone on it."));
    }

    void briefingCountsGroupsWithNobodyInThem()
    {
        const QList<ConsumerGroup> groups = {{"A", "Stable"}, {"B", "Empty"}, {"C", ""},
                                             {"D", "empty"},  {"E", "Empty"}, {"F", "Dead"}};
        const BriefingLogic text = BriefingLogic::of(BriefingLogic::Wording::kafka, {}, groups, {});
        QCOMPARE(text.groupsSentence(), QString("6 groups. 2 with nobody in them."));
        QCOMPARE(text.groupLinks().size(), 4);
        QCOMPARE(text.groupsMoreLine(), std::optional<QString>("…and 2 more, in the sidebar."));
        QVERIFY(!BriefingLogic::of(BriefingLogic::Wording::kafka, {}, groups.mid(0, 4), {}).groupsMoreLine());
        QCOMPARE(BriefingLogic::of(BriefingLogic::Wording::kafka, {}, groups.mid(0, 5), {}).groupsMoreLine(),
                 std::optional<QString>("…and 1 more, in the sidebar."));

        QCOMPARE(BriefingLogic::groupCountSentence(1, 1), QString("One group, and nobody is in it."));
        QCOMPARE(BriefingLogic::groupCountSentence(1, 0), QString("One group, and someone is in it."));
        QCOMPARE(BriefingLogic::groupCountSentence(3, 0), QString("3 groups, all with members."));
        QCOMPARE(BriefingLogic::groupCountSentence(3, 1), QString("3 groups. One with nobody in it."));
        BriefingLogic none = BriefingLogic::of(BriefingLogic::Wording::kafka, {}, {}, {});
        QCOMPARE(none.groupsSentence(), QString("No consumer groups. Nobody's reading yet — or nobody has committed."));
        // Groups that could not be listed are not zero groups.
        none.groupsUnseen = true;
        QCOMPARE(none.groupsSentence(),
                 QString("I couldn't list the consumer groups, so I can't tell you who's reading."));
    }

    void groupVerdictSentencesAtTheirBoundaries()
    {
        const GroupPosition worst = position("orders", 3, 0, 100);
        const QString half = GroupLogic::explanation(GroupVerdict::behind(300, 3, worst, 0.5));
        QCOMPARE(
            half,
            QString("300 behind across 3 partitions, and \u2068orders\u2069 p3 carries 50% of it. Start there — one "
                    "partition far behind the rest is usually one consumer, not the whole group."));
        // Of two, the worst always carries half: 4 against 3 is spread, 7 against 3 stands out.
        QCOMPARE(GroupLogic::explanation(GroupVerdict::behind(7, 2, worst, 4.0 / 7.0)),
                 QString("7 behind, spread across 2 partitions with no one of them standing out. That's the shape "
                         "of consumers that are simply slower than the producers."));
        QCOMPARE(GroupLogic::explanation(GroupVerdict::behind(200, 2, worst, 0.5)),
                 QString("200 behind, spread across 2 partitions with no one of them standing out. That's the shape "
                         "of consumers that are simply slower than the producers."));
        QVERIFY(GroupLogic::explanation(GroupVerdict::behind(10, 2, worst, 0.7)).contains("far behind the rest"));
        QCOMPARE(
            GroupLogic::explanation(GroupVerdict::behind(5'000'000'000LL, 3, worst, 0.625)),
            QString(
                "5,000,000,000 behind across 3 partitions, and \u2068orders\u2069 p3 carries 63% of it. Start there — "
                "one partition far behind the rest is usually one consumer, not the whole group."));
        QCOMPARE(GroupLogic::explanation(GroupVerdict::behind(1000, 4, worst, 0.499)),
                 QString("1,000 behind, spread across 4 partitions with no one of them standing out. That's the "
                         "shape of consumers that are simply slower than the producers."));
        QCOMPARE(GroupLogic::explanation(GroupVerdict::caughtUp(1)),
                 QString("Its one partition is read to the end. Whatever's wrong, it isn't this group."));
        QCOMPARE(GroupLogic::explanation(GroupVerdict::caughtUp(3)),
                 QString("All 3 partitions are read to the end. Whatever's wrong, it isn't this group."));
        QVERIFY(
            GroupLogic::explanation(GroupVerdict::neverCommitted(1)).startsWith("One member and nothing committed"));
        QVERIFY(GroupLogic::explanation(GroupVerdict::neverCommitted(2)).startsWith("2 members and nothing committed"));
        QCOMPARE(GroupLogic::headline(GroupVerdict::neverCommitted(0, true)), QString("Gone."));
        QVERIFY(!GroupLogic::explanation(GroupVerdict::neverCommitted(0, true)).contains("remembers the name"));
        QCOMPARE(GroupLogic::explanation(GroupVerdict::behind(7, 1, worst, 1.0)),
                 QString("7 behind, all of it on \u2068orders\u2069 p3, its one partition."));
        QVERIFY(GroupLogic::explanation(GroupVerdict::rebalancing("PreparingRebalance"))
                    .startsWith("PreparingRebalance. "));
        QCOMPARE(GroupLogic::headline(GroupVerdict::nobodyHomeCaughtUp()), QString("Nobody home. Nothing waiting."));
        // The lag is an offset distance (aborted transactions and their markers take offsets), never
        // a count of messages, in either language.
        QVERIFY(GroupLogic::explanation(GroupVerdict::nobodyHome(8))
                    .startsWith("Nobody's in the group and it's 8 "
                                "offsets behind."));
        QVERIFY(GroupLogic::explanation(GroupVerdict::nobodyHome(1)).contains("1 offset behind"));
        // Offsets that would not read: no claim about what was committed.
        QCOMPARE(GroupLogic::headline(GroupVerdict::cannotSee(0)), QString("Can't see."));
        QVERIFY(!GroupLogic::explanation(GroupVerdict::cannotSee(0)).contains("committed on"));
        {
            const auto restore = qScopeGuard([] { UserDefaults::standard().remove(L10n::key); });
            UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
            const QString waiting = GroupLogic::explanation(GroupVerdict::nobodyHome(8));
            QVERIFY2(waiting.contains("8 offsets atrás") && !waiting.contains("mensagens"), qPrintable(waiting));
            QVERIFY(GroupLogic::explanation(GroupVerdict::cannotSee(0)).startsWith("O Tessaron não conseguiu ler"));
        }
    }

    void positionCellsSayWhatTheyCanMeasure()
    {
        const QHash<QString, QString> clients = {{"m-1", "worker-1"}};
        using Behind = GroupLogic::PositionCells::Behind;
        const auto past = GroupLogic::positionCells(position("orders", 0, 120, 100, "m-1"), std::nullopt, clients);
        QCOMPARE(past.behind, Behind::pastEnd);
        QCOMPARE(past.behindText, QString("past the end"));
        QCOMPARE(past.end, std::optional<QString>("100"));
        QCOMPARE(past.heldBy, QString("worker-1"));
        const auto level = GroupLogic::positionCells(position("orders", 1, 100, 100, "m-9"), std::nullopt, clients);
        QCOMPARE(level.behind, Behind::caughtUp);
        QCOMPARE(level.behindText, QString("0"));
        QCOMPARE(level.heldBy, QString("m-9")); // not in the map: the member id itself
        const auto lagging = GroupLogic::positionCells(position("orders", 2, 90, 12090), std::nullopt, clients);
        QCOMPARE(lagging.behind, Behind::lagging);
        QCOMPARE(lagging.behindText, QString("12,000"));
        QVERIFY(lagging.heldByNobody);
        QCOMPARE(lagging.heldBySpoken, QString("nobody"));
        // Members the broker would not describe: held by someone unseen, not by nobody.
        const auto unseen = GroupLogic::positionCells(position("orders", 2, 90, 90), std::nullopt, {}, true);
        QCOMPARE(unseen.heldBy, QString("\u2014"));
        QCOMPARE(unseen.heldBySpoken, QString("unknown"));
        QVERIFY(unseen.heldByUnknown && !unseen.heldByNobody);
        const auto blind = GroupLogic::positionCells(position("orders", 3, 5'000'000'000LL, std::nullopt),
                                                     position("orders", 3, 0, 1), clients);
        QCOMPARE(blind.behind, Behind::cantSee);
        QVERIFY(!blind.end);
        QCOMPARE(blind.committed, QString("5,000,000,000"));
        QVERIFY(blind.worst);
        // The worst position of another topic marks nothing here.
        QVERIFY(!GroupLogic::positionCells(position("orders", 3, 0, 1), position("audit", 3, 0, 1), clients).worst);
    }

    void membersTheirNamesAndWhatTheyHold()
    {
        GroupMember member{"m-1", "", "/10.0.0.1", QString(""), {{"orders", 2}, {"orders", 0}, {"audit", 1}}};
        QCOMPARE(GroupLogic::memberName(member), QString("m-1"));
        QCOMPARE(GroupLogic::assignmentLine(member), QString("audit p1 \u00B7 orders p2, p0"));
        member.assigned.clear();
        QCOMPARE(GroupLogic::assignmentLine(member), QString("Holding nothing."));
    }

    void statsAndTopicCardsOfADetail()
    {
        ConsumerGroupDetail detail;
        detail.id = "g";
        detail.state = "CompletingRebalance";
        detail.coordinator = QString();
        detail.positions = {position("a", 0, 10, 20), position("a", 1, 10, std::nullopt), position("a", 2, 10, 10),
                            position("b", 0, 1, std::nullopt)};
        const QList<GroupLogic::Stat> stats = GroupLogic::stats(detail);
        QCOMPARE(stats.first().tone, Tone::lavender);
        QCOMPARE(stats.first().value, QString("COMPLETINGREBALANCE"));
        QCOMPARE(stats[1].label, QString("members"));
        QCOMPARE(stats[3], (GroupLogic::Stat{"10", "behind", Tone::warning}));
        QCOMPARE(stats[4], (GroupLogic::Stat{"2", "partitions he can't see", Tone::muted}));
        QCOMPARE(stats.last(), (GroupLogic::Stat{"", "coordinator", Tone::muted}));
        QCOMPARE(GroupLogic::nobodySentence(detail), QString("Nobody yet — they're being seated."));
        QCOMPARE(GroupLogic::membersTone(detail), Tone::warning);

        const QList<GroupLogic::TopicCard> cards = GroupLogic::topicCards(detail, {topicOf("a", 20)});
        QCOMPARE(cards.size(), 2);
        QCOMPARE(cards[0].eyebrow, QString("WHERE IT STANDS"));
        QCOMPARE(cards[1].eyebrow, QString("AND ON"));
        // One row of three unmeasurable: still tinted by the lag, but no lag label.
        QCOMPARE(cards[0].tone, Tone::warning);
        QVERIFY(!cards[0].lagLabel);
        QCOMPARE(cards[1].tone, Tone::muted);
        QVERIFY(!cards[1].listed);
        QVERIFY(cards[1].note->startsWith("The broker doesn't list this topic anymore."));
        // A listed topic whose partition's end would not read says so, on the card and as a blind spot.
        QCOMPARE(cards[0].note, std::optional<QString>("The end of p1 wouldn't read, so the lag there is unknown."));
        const auto spots = GroupLogic::blindSpots(detail, {topicOf("a", 20)}, {{"Members", "timed out"}});
        QCOMPARE(spots.size(), 3);
        QCOMPARE(spots[1].title, QString("a"));
        QCOMPARE(spots[1].sentence, QString("The end of p1 wouldn't read, so the lag there is unknown."));
        QCOMPARE(spots[2].title, QString("b"));
        QVERIFY(spots[2].isTopic);

        detail.state = "Stable";
        detail.positions = {position("a", 0, 20, 20)};
        QCOMPARE(GroupLogic::topicCards(detail, {topicOf("a", 20)}).first().lagLabel,
                 std::optional<QString>("caught up"));
        QCOMPARE(GroupLogic::stats(detail)[3].tone, Tone::allClear);
    }

    void notesAvroSentenceOnlyWhenEveryMessageIsAvro()
    {
        Broker broker;
        broker.schemaRegistryURL = " \t ";
        const QList<Message> avro = {message("1", {}, avroFrame()), message("2", {}, avroFrame())};
        const ShapeVerdict nothing = ShapeVerdict::nothingToCompare();
        QCOMPARE(NotesLogic::shapeVerdictSentence(nothing, avro, broker),
                 QString("2 Avro messages and no Schema Registry to read them with. Add one on the broker's form and "
                         "I'll open them."));
        broker.schemaRegistryURL = "http://registry:8081";
        QCOMPARE(NotesLogic::shapeVerdictSentence(nothing, avro, broker),
                 QString("2 Avro messages the registry couldn't read for me. Each row says why."));
        QList<Message> mixed = avro;
        mixed.append(message("3", {}, std::nullopt));
        QVERIFY(NotesLogic::shapeVerdictSentence(nothing, mixed, broker).startsWith("Nothing here I can compare"));
        QCOMPARE(NotesLogic::shapeVerdictSentence(nothing, {}, broker), QString("Nothing retained to read."));
        QCOMPARE(NotesLogic::verdictWord(ShapeVerdict::notEnoughEvidence(2)), QString("Read."));
        QCOMPARE(NotesLogic::verdictWord(nothing), QString("Read."));
    }

    void notesDriftSentencesAndTheMoreLine()
    {
        ShapeVerdict::Drift drift;
        drift.sampled = 12;
        drift.outlierIDs = {"orders/0/1"};
        drift.differences = {{"amount", JSONKind::number, JSONKind::string}};
        QCOMPARE(NotesLogic::shapeVerdictSentence(ShapeVerdict::drift(drift), {}, Broker()),
                 QString("One of the 12 disagrees with the rest — on \u2068amount\u2069. Start there."));
        drift.outlierIDs = {"orders/0/1", "orders/0/2"};
        QCOMPARE(NotesLogic::shapeVerdictSentence(ShapeVerdict::drift(drift), {}, Broker()),
                 QString("2 of the 12 disagree with the rest — on \u2068amount\u2069. Start with those."));
        for (int i = 3; i <= 5; ++i)
            drift.outlierIDs << QString("orders/0/%1").arg(i);
        QVERIFY(!NotesLogic::outliersMoreLine(ShapeVerdict::drift(drift)));
        drift.outlierIDs << "orders/0/6"
                         << "orders/0/7";
        QCOMPARE(NotesLogic::outliersMoreLine(ShapeVerdict::drift(drift)),
                 std::optional<QString>("…and 2 more, marked in the list."));

        QList<Message> read;
        for (int i = 9; i >= 0; --i)
            read.append(message(QString::number(i), QByteArray("k"), QByteArray("{}")));
        const QList<Message> outliers = NotesLogic::outliers(ShapeVerdict::drift(drift), read);
        QCOMPARE(outliers.size(), 5);
        QCOMPARE(outliers.first().id(), QString("orders/0/7")); // newest first, as read
        QCOMPARE(NotesLogic::exhibitNumber(outliers.first(), read), 3);
        QCOMPARE(NotesLogic::exhibitNumber(message("99", {}, {}), read), 1);
        QCOMPARE(NotesLogic::keyText(message("1", QByteArray("\xff\xfe"), {})), QString("\u2205"));
        QCOMPARE(NotesLogic::placeText(message("1042", {}, {})), QString("p0\u00B71042"));
    }

    void notesHotKeyNeedsHalfTheShareOverTenKeyedMessages()
    {
        const QList<Message> read = {message("1", QByteArray("k"), QByteArray("{}"))};
        KeyShareEstimate::Result estimate;
        estimate.ranked = {{"hot", 0.5, 5}, {"b", 0.2, 2}, {"c", 0.1, 1}, {"d", 0.1, 1}, {"e", 0.1, 1}};
        estimate.keyed = 10;
        NotesLogic::KeyCard card = NotesLogic::keyCard(read, estimate);
        QVERIFY(card.hot);
        QCOMPARE(card.tone, Tone::warning);
        QCOMPARE(card.rows.size(), 4);
        QVERIFY(card.rows[0].hot);
        QVERIFY(!card.rows[1].hot);
        QCOMPARE(card.rows[0].percent, QString("~50%"));
        QCOMPARE(card.rows[0].seen, QString("seen 5"));
        QCOMPARE(card.crowding,
                 QString("One key is carrying about 50% of this topic. That is usually what a hot "
                         "partition looks like from the inside."));
        QCOMPARE(card.footnote, QString("From the 10 read with a key. Says nothing about the ones I haven't."));

        estimate.keyed = 9;
        card = NotesLogic::keyCard(read, estimate);
        QVERIFY(!card.hot);
        QCOMPARE(card.tone, Tone::neutral);
        QCOMPARE(card.crowding, QString("No single key is crowding this topic."));
        estimate.keyed = 10;
        estimate.ranked[0].share = 0.49;
        QVERIFY(!NotesLogic::keyCard(read, estimate).hot);

        estimate.allUnique = true;
        QVERIFY(NotesLogic::keyCard(read, estimate).sentence->startsWith("Every one has its own key — 10 of them"));
        // Keyless messages are counted apart, never under "every one".
        QList<Message> mostlyKeyless = {message("0", QByteArray("k"), QByteArray("{}"))};
        for (int i = 1; i < 100; ++i)
            mostlyKeyless.append(message(QString::number(i), std::nullopt, QByteArray("{}")));
        QCOMPARE(NotesLogic::keyCard(mostlyKeyless, KeyShareEstimate::estimate(mostlyKeyless, {})).sentence,
                 std::optional<QString>("One has a key; the other 99 have none I can read. Nothing is crowding a "
                                        "partition."));
        estimate.keyed = 3;
        QVERIFY(NotesLogic::keyCard(mostlyKeyless, estimate)
                    .sentence->startsWith("3 have a key each, no repeats; the "
                                          "other 97 have none"));
        estimate.keyed = 0;
        QVERIFY(NotesLogic::keyCard(read, estimate).sentence->startsWith("No keys on any of these."));
        QCOMPARE(NotesLogic::keyCard({}, estimate).sentence, std::optional<QString>("Nothing read yet."));
    }

    void verdictBarSentences()
    {
        QCOMPARE(VerdictLogic::differenceSentence(JSONKind::number, JSONKind::string),
                 QString("is string here, number in the rest"));
        QCOMPARE(VerdictLogic::differenceSentence(JSONKind::number, std::nullopt),
                 QString("is missing here — the rest carry number"));
        QCOMPARE(VerdictLogic::differenceSentence(std::nullopt, JSONKind::object),
                 QString("only appears here, as object"));
        QCOMPARE(VerdictLogic::differenceSentence(std::nullopt, std::nullopt), QString());
        QCOMPARE(VerdictLogic::line(ShapeVerdict::noMajority(7, 3))->sentence,
                 QString("No two agree — 3 shapes across 7 messages. Tessaron won't pick a winner."));
        QVERIFY(!VerdictLogic::line(ShapeVerdict::nothingToCompare()));
        ShapeVerdict::Drift drift;
        drift.sampled = 9;
        drift.outlierIDs = {"a", "b"};
        drift.differences = {{"a", JSONKind::number, JSONKind::string},
                             {"b", JSONKind::number, JSONKind::string},
                             {"c", JSONKind::number, JSONKind::string}};
        QCOMPARE(VerdictLogic::objectionSentence(drift), QString("2 of 9 disagree with the rest"));
        QVERIFY(!VerdictLogic::moreDifferences(drift));
        drift.differences.append({"d", JSONKind::number, JSONKind::string});
        QCOMPARE(VerdictLogic::moreDifferences(drift), std::optional<QString>("…and 1 more difference"));
        UserDefaults::standard().setString(L10n::key, "pt");
        QCOMPARE(VerdictLogic::moreDifferences(drift), std::optional<QString>("…e mais 1 diferença"));
        drift.differences.append({"e", JSONKind::number, JSONKind::string});
        QCOMPARE(VerdictLogic::moreDifferences(drift), std::optional<QString>("…e mais 2 diferenças"));
        UserDefaults::standard().setString(L10n::key, "en");
    }

    void skewSentencesAndFlags()
    {
        using Bar = SkewVerdict::Bar;
        QCOMPARE(SkewLogic::shows(SkewVerdict::notPartitioned()), SkewLogic::Shows::nothing);
        QVERIFY(!SkewLogic::sentence(SkewVerdict::nothingToCompare()));
        QCOMPARE(SkewLogic::sentence(SkewVerdict::notEnoughEvidence(12, 3)),
                 std::optional<QString>("12 across 3 partitions — too few to call the spread."));
        const QList<Bar> bars = {{0, 6667, 0.6667}, {1, 3000, 0.3}, {4, 100, 0.01}, {7, 233, 0.0233}};
        const SkewVerdict skewed = SkewVerdict::skewed(bars, bars[0], {bars[2], bars[3]});
        QCOMPARE(SkewLogic::sentence(skewed), std::optional<QString>("p0 is holding 67% of it, and p4 has none."));
        QCOMPARE(SkewLogic::flagged(skewed), (QSet<int32_t>{0, 4, 7}));
        QCOMPARE(SkewLogic::tallest(skewed), 6667);
        QCOMPARE(SkewLogic::sentence(SkewVerdict::skewed(bars, bars[0], {})),
                 std::optional<QString>("p0 is holding 67% of it."));
        QCOMPARE(SkewLogic::sentence(SkewVerdict::starved(bars, {bars[2]})),
                 std::optional<QString>("p4 has almost nothing while the rest are full."));
        QCOMPARE(SkewLogic::sentence(SkewVerdict::starved(bars, {bars[2], bars[3]})),
                 std::optional<QString>("2 partitions have almost nothing while the rest are full."));
        QVERIFY(SkewLogic::flagged(SkewVerdict::even(bars)).isEmpty());
        QCOMPARE(SkewLogic::tallest(SkewVerdict::allEmpty(3)), 1);
        QCOMPARE(SkewLogic::barTip({3, 5'000'000'000LL, 0.625}), QString("p3 — 5,000,000,000 retained (63%)"));
    }
};

QTEST_MAIN(TestCaseworkLogic)
#include "tst_CaseworkLogic.moc"
