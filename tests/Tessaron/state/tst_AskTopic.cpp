#include "Tessaron/state/AskTopic.h"

#include <QTest>

using namespace tessaron;

namespace {

Topic orders()
{
    Topic t;
    t.name = "orders.dlq";
    Partition p;
    p.id = 0;
    p.low = 10;
    p.high = 110;
    t.partitions = {p, p};
    t.partitions[1].id = 1;
    return t;
}

Message json(int64_t offset, QByteArray payload = "{\"a\":1}")
{
    return Message("orders.dlq", 0, offset, QByteArray("k"), payload,
                   QDateTime::fromMSecsSinceEpoch(1700000000000 + offset, Qt::UTC), {});
}

QStringList lines(const QString& prompt) { return prompt.split('\n'); }

} // namespace

class TestAskTopic : public QObject {
    Q_OBJECT
private slots:
    void theFactsOfTheTopicAndItsGroups()
    {
        AskTopic::Evidence evidence{
            orders(), {}, ShapeVerdict::nothingToCompare(), {{"billing", "Stable", false}, {"audit", "Empty", false}},
            12,       600};
        const QString prompt = AskTopic::prompt("What is this?", evidence);
        QVERIFY(prompt.startsWith(
            "You are helping a developer understand a Kafka topic inside Tessaron MQ, a Linux client."));
        QVERIFY(prompt.contains("no markdown headings.\n\nTOPIC: orders.dlq\npartitions: 2\n"
                                "messages retained (not total ever produced): 200\nnamed like a dead-letter queue\n\n"
                                "CONSUMER GROUPS: billing (Stable), audit (Empty)\n\n"
                                "SHAPE COMPARISON (computed by Tessaron, authoritative):\n"
                                "nothing comparable \u2014 tombstones, binary, or non-object JSON\n\n"
                                "SAMPLE (newest first, 0 of 0 read):\n\nQUESTION: What is this?"));
        QVERIFY(prompt.endsWith("QUESTION: What is this?"));

        evidence.groups.clear();
        QVERIFY(!AskTopic::prompt("q", evidence).contains("CONSUMER GROUPS"));
        evidence.groupsUnseen = true;
        QVERIFY(
            AskTopic::prompt("q", evidence).contains("\nCONSUMER GROUPS: could not be listed (unknown, not none)\n"));
    }

    void theSampleIsTheNewestTwelve()
    {
        AskTopic::Evidence evidence{orders(), {}, ShapeVerdict::consistent(12), {}, 12, 600};
        for (int i = 100; i > 0; --i)
            evidence.messages.append(json(i));
        const QString prompt = AskTopic::prompt("q", evidence);
        QVERIFY(prompt.contains(
            "SAMPLE (newest first, 12 of 100 read):\np0@100 key=k at=2023-11-14T22:13:20Z\n  {\"a\":1}\n"));
        QCOMPARE(prompt.count(QRegularExpression("^p0@", QRegularExpression::MultilineOption)), 12);
        QVERIFY(prompt.contains("all 12 sampled messages share one shape"));
    }

    void payloadLinesByKind()
    {
        AskTopic::Evidence evidence{orders(), {}, ShapeVerdict::nothingToCompare(), {}, 12, 600};
        evidence.messages.append(json(1, "{\"text\":\"" + QByteArray(700, 'x') + "\"}"));
        evidence.messages.append(Message("orders.dlq", 0, 2, QByteArray("\xff\xfe"), std::nullopt, std::nullopt, {}));
        Message framed("orders.dlq", 0, 3, std::nullopt, QByteArray::fromHex("00000000072a"), std::nullopt,
                       {{"h1", "v"}, {"bin", QByteArray("\xff")}});
        evidence.messages.append(framed);
        Message failed = framed;
        failed.setDecodeFailure(QString("the registry has no schema 7"));
        evidence.messages.append(failed);
        evidence.messages.append(
            Message("orders.dlq", 0, 5, std::nullopt, QByteArray("\x01\xff\xfe"), std::nullopt, {}));
        const QStringList l = lines(AskTopic::prompt("q", evidence));
        const qsizetype first = l.indexOf(QRegularExpression("^p0@1 .*"));
        QCOMPARE(l[first + 1], "  {\"text\":\"" + QString(591, 'x'));
        QCOMPARE(l[first + 2], QString("\u2026(truncated)\u2026"));
        QVERIFY(l.contains("p0@2")); // a key that is not UTF-8 is left out
        QVERIFY(l.contains("  <tombstone \u2014 this key is deleted>"));
        QVERIFY(l.contains("  <Avro, schema 7, not decoded: no Schema Registry configured>"));
        QVERIFY(l.contains("  <Avro, schema 7, not decoded: the registry has no schema 7>"));
        QVERIFY(l.contains("  \u00b7 h1: v"));
        QVERIFY(l.contains("  \u00b7 bin: <binary>"));
        QVERIFY(l.contains("  <3 bytes, not text>"));
    }

    void driftLinesConsiderTheFirstFiveDifferences()
    {
        ShapeVerdict::Drift drift;
        drift.sampled = 10;
        drift.majorityCount = 8;
        drift.outlierIDs = {"a", "b"};
        drift.differences = {{"f1", std::nullopt, JSONKind(JSONKind::string)},
                             {"f2", JSONKind(JSONKind::number), std::nullopt},
                             {"f3", JSONKind(JSONKind::number), JSONKind(JSONKind::string)},
                             {"f4", std::nullopt, std::nullopt},
                             {"f5", JSONKind(JSONKind::array), JSONKind(JSONKind::object)},
                             {"f6", JSONKind(JSONKind::array), JSONKind(JSONKind::object)}};
        AskTopic::Evidence evidence{orders(), {}, ShapeVerdict::drift(drift), {}, 12, 600};
        const QString prompt = AskTopic::prompt("q", evidence);
        QVERIFY(prompt.contains("2 of 10 disagree with the majority shape\n"
                                "  f1: only present in the outliers, as string\n"
                                "  f2: missing from the outliers, number in the rest\n"
                                "  f3: string in the outliers, number in the rest\n"
                                "  f5: object in the outliers, array in the rest\n\nSAMPLE"));
    }

    void thePromptAlwaysFitsInOneArgument()
    {
        AskTopic::Evidence evidence{orders(), {}, ShapeVerdict::nothingToCompare(), {}, 12, 600};
        for (int i = 0; i < 5000; ++i)
            evidence.groups.append({"group-with-a-long-name-" + QString::number(i), "Stable", false});
        // Six huge header values and keys on every message, payloads of wide characters.
        QList<Message::Header> headers;
        for (int h = 0; h < 6; ++h)
            headers.append({"h" + QString::number(h), QByteArray(100000, 'v')});
        const QByteArray wide = QString::fromUtf8("\U0001F600").repeated(600).toUtf8(); // 600 characters, 2400 bytes
        for (int i = 0; i < 12; ++i)
            evidence.messages.append(
                Message("t", 0, i, QByteArray(50000, 'k'), "\"" + wide + "\"", std::nullopt, headers));
        const QString prompt = AskTopic::prompt(QString(500000, 'q'), evidence);
        QVERIFY(prompt.toUtf8().size() <= AskTopic::maxPromptBytes);
        QVERIFY(prompt.contains("and "));
        QVERIFY(prompt.contains(" more"));
        QVERIFY(prompt.contains("SAMPLE (newest first, 12 of 12 read):"));
    }
};

QTEST_GUILESS_MAIN(TestAskTopic)
#include "tst_AskTopic.moc"
