#include "Tessaron/browser/BrowserBody.h"
#include "Tessaron/browser/PayloadLines.h"
#include "Tessaron/browser/RelativeTime.h"

#include <QTest>

using namespace tessaron;

namespace {

QList<bool> marks(const QString& text, const QSet<QString>& suspects)
{
    QList<bool> out;
    for (const PayloadLine& line : PayloadLines::split(text, suspects))
        out << line.suspect;
    return out;
}

QStringList contents(const QString& text)
{
    QStringList out;
    for (const PayloadLine& line : PayloadLines::split(text, {}))
        out << line.content;
    return out;
}

} // namespace

class TestBrowserLogic : public QObject {
    Q_OBJECT
private slots:
    void linesKeepEmptyPiecesAndDropTheCarriageReturn()
    {
        QCOMPARE(contents(""), QStringList{""});
        QCOMPARE(contents("a\n"), (QStringList{"a", ""}));
        QCOMPARE(contents("a\n\nb"), (QStringList{"a", "", "b"}));
        QCOMPARE(contents("one\r\ntwo\r\n"), (QStringList{"one", "two", ""}));
        // A carriage return that does not end a line stays.
        QCOMPARE(contents("a\rb\n\r"), (QStringList{"a\rb", "\r"}));
        const QList<PayloadLine> lines = PayloadLines::split("x\ny", {});
        QCOMPARE(lines.last().index, 1);
    }

    void suspectLinesNeedTheQuotedNameAndAColon_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("suspects");
        QTest::addColumn<bool>("marked");
        QTest::newRow("key and value") << "  \"total\" : 12.5," << QStringList{"total"} << true;
        QTest::newRow("longer key") << "  \"subtotal\" : 3," << QStringList{"total"} << false;
        QTest::newRow("no colon") << "  \"total\"," << QStringList{"total"} << false;
        QTest::newRow("escaped quotes in a value")
            << "  \"note\" : \"see \\\"total\\\"\"" << QStringList{"total"} << false;
        QTest::newRow("as a value with a colon") << "  \"field\" : \"total\"," << QStringList{"total"} << true;
        QTest::newRow("case differs") << "  \"Total\" : 1" << QStringList{"total"} << false;
        QTest::newRow("dotted path not on the line")
            << "    \"name\" : \"Ana\"," << QStringList{"customer.name"} << false;
        QTest::newRow("dotted path spelled out") << "{\"customer.name\": 1}" << QStringList{"customer.name"} << true;
        QTest::newRow("any of several") << "\"b\": 1" << QStringList{"a", "b"} << true;
        QTest::newRow("none given") << "\"total\": 1" << QStringList{} << false;
    }

    void suspectLinesNeedTheQuotedNameAndAColon()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, suspects);
        QFETCH(bool, marked);
        QCOMPARE(PayloadLines::isSuspect(line, QSet<QString>(suspects.cbegin(), suspects.cend())), marked);
    }

    void aDocumentMarksOnlyItsSuspectLines()
    {
        const QString doc = "{\n  \"customer\" : {\n    \"total\" : 1\n  },\n  \"total\" : \"2\"\n}";
        QCOMPARE(marks(doc, {"total"}), (QList<bool>{false, false, true, false, true, false}));
        QCOMPARE(marks(doc, {"customer.total"}), (QList<bool>{false, false, false, false, false, false}));
    }

    void relativeTimesInBothLanguages_data()
    {
        QTest::addColumn<int>("secondsAgo");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("portuguese");
        QTest::newRow("now") << 0 << "now"
                             << "agora";
        QTest::newRow("seconds") << 42 << "42 sec ago"
                                 << "há 42 s";
        QTest::newRow("minutes") << 3 * 60 + 59 << "3 min ago"
                                 << "há 3 min";
        QTest::newRow("an hour") << 3600 << "1 hr ago"
                                 << "há 1 h";
        QTest::newRow("a day") << 86400 << "1 day ago"
                               << "há 1 dia";
        QTest::newRow("days") << 3 * 86400 << "3 days ago"
                              << "há 3 dias";
        QTest::newRow("weeks") << 15 * 86400 << "2 wk ago"
                               << "há 2 sem.";
        QTest::newRow("months") << 70 * 86400 << "2 mo ago"
                                << "há 2 meses";
        QTest::newRow("a year") << 400 * 86400 << "1 yr ago"
                                << "há 1 ano";
        QTest::newRow("ahead") << -5 * 60 << "in 5 min"
                               << "em 5 min";
    }

    void relativeTimesInBothLanguages()
    {
        QFETCH(int, secondsAgo);
        QFETCH(QString, english);
        QFETCH(QString, portuguese);
        const QDateTime now(QDate(2026, 12, 9), QTime(10, 0), Qt::UTC);
        const QDateTime then = now.addSecs(-secondsAgo);
        QCOMPARE(RelativeTime::format(then, now, AppLanguage::en), english);
        QCOMPARE(RelativeTime::format(then, now, AppLanguage::pt), portuguese);
    }

    void theClockIsInjectable()
    {
        const QDateTime fixed(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);
        RelativeTime::setClock([&] { return fixed; });
        QCOMPARE(RelativeTime::now(), fixed);
        QCOMPARE(RelativeTime::format(fixed.addSecs(-120), RelativeTime::now(), AppLanguage::en), QString("2 min ago"));
        RelativeTime::setClock({});
        QVERIFY(RelativeTime::now().secsTo(QDateTime::currentDateTimeUtc()) < 5);
    }

    void theBodyIsTheFirstThatApplies()
    {
        // hasTopic, needsConsent, isLoading, hasMessages
        QCOMPARE(chooseBody(false, true, false, false), BrowserBody::briefing);
        QCOMPARE(chooseBody(true, true, true, true), BrowserBody::consent);
        QCOMPARE(chooseBody(true, false, true, true), BrowserBody::working);
        QCOMPARE(chooseBody(false, false, true, false), BrowserBody::working);
        QCOMPARE(chooseBody(true, false, false, true), BrowserBody::columns);
        QCOMPARE(chooseBody(true, false, false, false), BrowserBody::nothingRetained);
    }
};

QTEST_GUILESS_MAIN(TestBrowserLogic)
#include "tst_BrowserLogic.moc"
