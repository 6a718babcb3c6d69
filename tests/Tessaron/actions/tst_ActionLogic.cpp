// The deciding logic of the action sheets, without widgets.
#include "support/SessionFakes.h"

#include "Tessaron/actions/AskLogic.h"
#include "Tessaron/actions/ProduceLogic.h"
#include "Tessaron/actions/ResetLogic.h"

#include <QLocale>
#include <QTest>

using namespace tessaron;
using fakes::topic;

namespace {

Message message(std::optional<QByteArray> key, std::optional<QByteArray> payload)
{
    return Message("orders", 1, 42, std::move(key), std::move(payload), std::nullopt, {});
}

} // namespace

class TestActionLogic : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void fileNeedsADestinationAPayloadAndAReason()
    {
        using ProduceLogic::canFile;
        const ProduceLogic::Form full{"orders", "", "{}", "replay"};
        QVERIFY(canFile(full, false));
        QVERIFY(!canFile(full, true)); // an Avro source is never filed
        QVERIFY(!canFile({"orders", "", "{}", ""}, false));
        QVERIFY(!canFile({"orders", "", "{}", "   "}, false));
        QVERIFY(!canFile({"orders", "", "{}", "\t\u3000 "}, false)); // any space separator
        QVERIFY(!canFile({" \t", "", "{}", "why"}, false));
        QVERIFY(!canFile({"orders", "", "", "why"}, false));
        // A payload of one space is a payload; line breaks are not trimmed.
        QVERIFY(canFile({"orders", "", " ", "why"}, false));
        QVERIFY(canFile({"\n", "", "x", "\n"}, false));
        QVERIFY(canFile({" orders", "", "x", "why"}, false));
    }

    void prefillTakesTheSourceAsItIs()
    {
        Topic current = topic("a-topic-whose-name-is-rather-long", {{0, 1}});
        // No source: the workspace's topic, an upper-cased and cut docket.
        ProduceLogic::Prefill fresh = ProduceLogic::prefill(std::nullopt, current);
        QCOMPARE(fresh.topic, current.name);
        QVERIFY(fresh.key.isEmpty() && fresh.payload.isEmpty() && !fresh.keyNotText);
        QCOMPARE(ProduceLogic::subtitle(current),
                 QString("DOCKET A-TOPIC-WHOSE-NAME-IS-RA · A NEW ENTRY ON THE RECORD"));
        QCOMPARE(ProduceLogic::subtitle(std::nullopt), QString("DOCKET  · A NEW ENTRY ON THE RECORD"));
        QCOMPARE(ProduceLogic::prefill(std::nullopt, std::nullopt).topic, QString());
        QCOMPARE(ProduceLogic::title(std::nullopt), QString("File a message"));

        const QByteArray payload = "{ \"a\" : 1 }\r\n\t";
        const Message source = message(QByteArray("key-7"), payload);
        const ProduceLogic::Prefill copy = ProduceLogic::prefill(source, current);
        QCOMPARE(copy.topic, QString("orders"));
        QCOMPARE(copy.key, QString("key-7"));
        QCOMPARE(copy.payload.toUtf8(), payload);
        // A leading byte-order mark is part of the bytes the copy starts from.
        const QByteArray marked = "\xEF\xBB\xBF{\"a\":1}";
        QCOMPARE(ProduceLogic::prefill(message(std::nullopt, marked), {}).payload.toUtf8(), marked);
        QCOMPARE(ProduceLogic::title(source), QString("File a corrected copy"));

        // A key that is not text is said to be left behind; a payload that is not text prefills nothing.
        const ProduceLogic::Prefill binary = ProduceLogic::prefill(message(QByteArray("\xff\xfe", 2), "\x80"), {});
        QVERIFY(binary.keyNotText);
        QVERIFY(binary.key.isEmpty());
        QVERIFY(binary.payload.isEmpty());
        QVERIFY(!ProduceLogic::prefill(message(std::nullopt, std::nullopt), {}).keyNotText);
    }

    void avroSourcesOfBothKindsAreRefused()
    {
        const QByteArray framed("\x00\x00\x00\x00\x07\x02", 6);
        Message confluent = message(std::nullopt, framed);
        QVERIFY(ProduceLogic::sourceIsAvro(confluent));
        Message decoded = confluent;
        decoded.setDecoded(Message::Decoded{7, "{\"amount\":1}", std::nullopt});
        QVERIFY(ProduceLogic::sourceIsAvro(decoded));
        QCOMPARE(ProduceLogic::prefill(decoded, {}).payload, QString("{\"amount\":1}"));
        QVERIFY(!ProduceLogic::sourceIsAvro(message(std::nullopt, "{}")));
        QVERIFY(!ProduceLogic::sourceIsAvro(std::nullopt));
    }

    void targetParseIsStrict()
    {
        using ResetLogic::parseTarget;
        QCOMPARE(parseTarget("0"), std::optional<int64_t>(0));
        QCOMPARE(parseTarget("+5"), std::optional<int64_t>(5));
        QCOMPARE(parseTarget("-1"), std::optional<int64_t>(-1));
        QCOMPARE(parseTarget("007"), std::optional<int64_t>(7));
        QCOMPARE(parseTarget("9223372036854775807"), std::optional<int64_t>(INT64_MAX));
        QCOMPARE(parseTarget("-9223372036854775808"), std::optional<int64_t>(INT64_MIN));
        for (const char* bad : {"", "+", "-", "5 ", " 5", "1,000", "1.000", "1e3", "abc", "++5", "+-5", "0x10",
                                "9223372036854775808", "-9223372036854775809", "99999999999999999999"})
            QVERIFY2(!parseTarget(QString::fromUtf8(bad)), bad);
        // Other scripts' digits are not decimal digits here.
        QVERIFY(!parseTarget(QString::fromUtf8("\u0665")));
    }

    void warningsOnATopicThatStartsAt100AndEndsAt200()
    {
        Topic t = topic("orders", {{100, 200}, {0, 250}, {100, 90}});
        t.partitions[2].error = "leader not available";
        using namespace ResetLogic;
        // Inside the retained range: nothing to warn about.
        QVERIFY(pastEnd(t, "150").isEmpty());
        QVERIFY(beforeStart(t, "150").isEmpty());
        // "The beginning" on a partition whose oldest messages were deleted.
        QCOMPARE(beforeStart(t, "0").size(), 1);
        QCOMPARE(beforeStartWarning(beforeStart(t, "0")),
                 QString("Before the start of p0, which now begins at 100: its older messages were deleted, so that "
                         "offset no longer exists. Type 100 or more, or choose “The beginning”."));
        // Equal to the end is not past it; a partition with an error is never listed.
        QVERIFY(pastEnd(t, "200").isEmpty());
        QCOMPARE(pastEndWarning(pastEnd(t, "201")),
                 QString("Past the end of p0, which ends at 200. Kafka will accept it; the consumer's next read is out "
                         "of range, and its auto.offset.reset decides what happens — \"latest\" skips everything."));
        Topic wide = topic("wide", {{0, 100}, {0, 250}, {0, 90}, {0, 12345}});
        QCOMPARE(pastEndWarning(pastEnd(wide, "20000")).left(40), QString("Past the end of 4 partitions (p0, p1, p2"));
        QVERIFY(pastEndWarning(pastEnd(wide, "20000")).contains("(p0, p1, p2, p3)"));
        QVERIFY(pastEndWarning(pastEnd(topic("big", {{0, 12345}}), "20000")).contains("ends at 12,345."));
        QCOMPARE(beforeStart(topic("two", {{5, 9}, {7, 9}}), "1").size(), 2);
        QVERIFY(beforeStartWarning(beforeStart(topic("two", {{5, 9}, {7, 9}}), "1"))
                    .startsWith("Before the start of 2 partitions (p0, p1)"));
        // A target that does not parse warns of nothing.
        QVERIFY(pastEnd(t, "1,000").isEmpty());
        QVERIFY(beforeStart(t, "abc").isEmpty());
        QVERIFY(pastEnd(std::nullopt, "5").isEmpty());
    }

    void canMoveNeedsAWholeTargetOfZeroOrMoreATopicAndAReason()
    {
        const Topic t = topic("orders", {{0, 10}});
        using ResetLogic::canMove;
        QVERIFY(canMove("0", t, "replay", false));
        QVERIFY(!canMove("0", t, " \t", false));
        QVERIFY(!canMove("0", std::nullopt, "replay", false));
        QVERIFY(!canMove("5 ", t, "replay", false));
        QVERIFY(!canMove("0", t, "replay", true));
        // A negative target is refused, and says so.
        QVERIFY(!canMove("-1", t, "replay", false));
        QVERIFY(!ResetLogic::negativeRefusal("-1").isEmpty());
        QVERIFY(ResetLogic::negativeRefusal("0").isEmpty());
        QVERIFY(ResetLogic::negativeRefusal("abc").isEmpty());
        QVERIFY(canMove("\n", t, "x", false) == false);
        QVERIFY(canMove("3", t, "\n", false));
        // A target before a partition's retained start is refused; "the beginning" needs no target.
        const Topic trimmed = topic("trimmed", {{100, 200}, {0, 50}});
        QVERIFY(!canMove("99", trimmed, "replay", false));
        QVERIFY(canMove("100", trimmed, "replay", false));
        QVERIFY(canMove("", trimmed, "replay", false, true));
        QVERIFY(!canMove("", trimmed, "", false, true));
        QVERIFY(!canMove("", std::nullopt, "replay", false, true));

        QCOMPARE(ResetLogic::effectiveTopic(std::nullopt, t)->name, QString("orders"));
        QCOMPARE(ResetLogic::effectiveTopic(topic("given", {}), t)->name, QString("given"));
        QVERIFY(ResetLogic::scopeLine(std::nullopt).contains("no topic"));
        QCOMPARE(ResetLogic::scopeLine(t), QString("Applies to the one partition of \u2068orders\u2069."));
        QCOMPARE(ResetLogic::scopeLine(topic("two", {{0, 1}, {0, 1}})),
                 QString("Applies to all 2 partitions of \u2068two\u2069."));
    }

    void groupStateLineAndSubtitle()
    {
        const ConsumerGroup stable{"billing", "Stable", false};
        QCOMPARE(ResetLogic::subtitle(stable), QString("billing · STABLE"));
        QVERIFY(!ResetLogic::groupIsEmpty(stable));
        QVERIFY(ResetLogic::groupStateLine(stable).startsWith("\u2068billing\u2069 is Stable — Tessaron will refuse."));
        const ConsumerGroup empty{"billing", "Empty", false};
        QVERIFY(ResetLogic::groupIsEmpty(empty));
        QCOMPARE(ResetLogic::groupStateLine(empty),
                 QString("Nobody is consuming this group, so nothing will fight you."));
        QVERIFY(!ResetLogic::groupIsEmpty({"billing", "empty", false}));
    }

    void askNoticeCountsWhatLeaves()
    {
        const AskLogic::Tool claude{AskLogic::Tool::named, "Claude Code"};
        QCOMPARE(AskLogic::sendNotice(5, 3, claude),
                 QString("Your question, this topic's figures and shape comparison, the broker's 3 consumer groups, "
                         "and the newest 5 of the 5 messages he read with their headers — to Claude Code, signed in on "
                         "this computer, which sends them to its own service. Nothing leaves your machine for a "
                         "service Tessaron chose."));
        QVERIFY(AskLogic::sendNotice(300, 0, claude).contains("the newest 12 of the 300 messages"));
        QVERIFY(AskLogic::sendNotice(0, 0, {}).contains("the newest 0 of the 0 messages"));
        QVERIFY(AskLogic::sendNotice(0, 0, {AskLogic::Tool::none, {}}).contains("nothing will leave"));
        QVERIFY(AskLogic::sendNotice(1, 1, claude)
                    .contains("the broker's one consumer group, and the one message he read with its headers — to"));
        // Groups that could not be listed are never "0 consumer groups", whatever the tool.
        for (const AskLogic::Tool& tool : {claude, AskLogic::Tool{}, AskLogic::Tool{AskLogic::Tool::none, {}}}) {
            const QString notice = AskLogic::sendNotice(5, std::nullopt, tool);
            QVERIFY2(notice.contains("consumer groups couldn't be listed"), qPrintable(notice));
            QVERIFY(!notice.contains("consumer groups,"));
        }

        QVERIFY(!AskLogic::canAsk("", false));
        QVERIFY(!AskLogic::canAsk(" \t ", false));
        QVERIFY(AskLogic::canAsk("\n", false));
        QVERIFY(!AskLogic::canAsk("why?", true));
        QCOMPARE(AskLogic::subtitle("", 4), QString(" · 4 messages read"));
        QCOMPARE(AskLogic::suggestions().size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestActionLogic)
#include "tst_ActionLogic.moc"
