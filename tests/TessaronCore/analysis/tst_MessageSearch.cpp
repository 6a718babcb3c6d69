#include "Fixtures.h"

#include "TessaronCore/analysis/MessageSearch.h"

#include <QtTest>

using namespace tessaron;
using namespace tessaron::MessageSearch;
using fixtures::message;

namespace {

const QByteArray framed("\x00\x00\x00\x00\x07order", 10);

QStringList ids(const QList<Message>& list)
{
    QStringList out;
    for (const Message& m : list)
        out.append(m.id());
    return out;
}

} // namespace

class TestMessageSearch : public QObject {
    Q_OBJECT
private slots:
    void matchesNothingForABlankTerm()
    {
        const QList<Message> list{message(0, QByteArray("  "), QByteArray(" "))};
        for (const QString& term : {QString(), QStringLiteral("   "), QStringLiteral("\t \u00A0")}) {
            QVERIFY(!hit(list[0], term, Scope::everything));
            QVERIFY(hits(list, term, Scope::everything).isEmpty());
            QVERIFY(matching(list, term, Scope::everything).isEmpty());
        }
    }

    void trimsTheTermAndIgnoresCase()
    {
        const Message m = message(42, QByteArray("{}"), QByteArray("ORDERS-1"), 3);
        QCOMPARE(hit(m, u" order ", Scope::everything), (Hit{"t/3/42", true, false, {}}));
        QVERIFY(!hit(m, u"orders 1", Scope::everything));
        const Message accented = message(1, QByteArray("l'\xC3\xA9t\xC3\xA9"));
        QVERIFY(hit(accented, u"\u00C9T\u00C9", Scope::payload));
        QVERIFY(!hit(accented, u"ete", Scope::payload)); // diacritics count
    }

    void foldsCaseFully()
    {
        // One character may fold to several: "ß" and "ẞ" to "ss", "ﬁ" to "fi", either side.
        const Message street = message(0,
                                       QByteArray("Stra\xC3\x9F"
                                                  "e 1"),
                                       QByteArray("GROSSE"));
        QCOMPARE(hit(street, u"STRASSE", Scope::everything), (Hit{"t/0/0", false, true, {}}));
        QVERIFY(hit(street, u"stra\u1E9Ee", Scope::payload));
        QVERIFY(hit(street, u"gro\u00DFe", Scope::key));
        QVERIFY(hit(message(1, QByteArray("\xEF\xAC\x81le")), u"FILE", Scope::payload));
        QVERIFY(!hit(street, u"strase", Scope::payload));
        QCOMPARE(ids(matching({street}, u"\u1E9E", Scope::payload)), QStringList{"t/0/0"});
    }

    void keepsALineBreakAtTheEnd()
    {
        const Message broken = message(0, QByteArray("word\nnext"));
        const Message spaced = message(1, QByteArray("word next"));
        QVERIFY(hit(broken, u"word\n", Scope::payload));
        QVERIFY(!hit(spaced, u"word\n", Scope::payload));
    }

    void searchesOnlyReadablePayloads()
    {
        QVERIFY(!hit(message(0, framed), u"order", Scope::everything));
        QVERIFY(!hit(message(1, std::nullopt, QByteArray("k")), u"k", Scope::payload));
        QVERIFY(!hit(message(2, QByteArray("\xFForder")), u"order", Scope::everything));
        QVERIFY(hit(message(3, QByteArray("{\"order\":1}")), u"ORDER", Scope::payload));
        QVERIFY(hit(message(4, QByteArray("the order")), u"order", Scope::payload));
        // Four bytes starting with zero are no frame: plain text.
        QVERIFY(hit(message(5,
                            QByteArray("\x00"
                                       "abc",
                                       4)),
                    u"abc", Scope::payload));
    }

    void searchesTheDecodingOfAvro()
    {
        Message m = message(0, framed);
        m.setDecoded(Message::Decoded{7, QByteArray("{\"customer\":\"Ana\"}"), std::nullopt});
        QVERIFY(hit(m, u"ana", Scope::payload));
        QVERIFY(!hit(m, u"order", Scope::payload));
        Message tombstone = message(1, std::nullopt);
        tombstone.setDecoded(Message::Decoded{7, QByteArray("{\"customer\":\"Ana\"}"), std::nullopt});
        QVERIFY(!hit(tombstone, u"ana", Scope::payload));
    }

    void listsMatchingHeaders()
    {
        const QList<Message::Header> headers{{"trace", "order-7"},
                                             {"Order-Source", "web"},
                                             {"trace", "ORDER-8"},
                                             {"bin",
                                              "\xFF"
                                              "order"},
                                             {"other", "x"}};
        const Message m = message(0, QByteArray("x"), QByteArray("order"), 0, headers);
        QCOMPARE(hit(m, u"order", Scope::headers), (Hit{"t/0/0", false, false, {"trace", "Order-Source", "trace"}}));
        QCOMPARE(hit(m, u"order", Scope{Scope::key, Scope::headers}),
                 (Hit{"t/0/0", true, false, {"trace", "Order-Source", "trace"}}));
        QVERIFY(!hit(message(1, QByteArray("x"), QByteArray("order")), u"order", Scope::headers));
        QVERIFY(!hit(message(2, QByteArray("x"), QByteArray("\xFForder")), u"order", Scope::key));
    }

    void combinesScopes()
    {
        QCOMPARE((Scope{Scope::key, Scope::payload, Scope::headers}), Scope::everything);
        QCOMPARE((Scope::key | Scope::headers).rawValue(), 5);
        QVERIFY(Scope::everything.contains(Scope::payload));
        QVERIFY(!Scope::key.contains(Scope::payload));
    }

    void keepsEveryMessageOfAMatchingIdentifier()
    {
        const QList<Message> list{message(1, QByteArray("nothing")), message(2, QByteArray("needle")),
                                  message(1, QByteArray("needle")), message(3, QByteArray("nope"))};
        QCOMPARE(ids(matching(list, u"needle", Scope::everything)), (QStringList{"t/0/1", "t/0/2", "t/0/1"}));
        QCOMPARE(hits(list, u"needle", Scope::everything).size(), 2);
        QCOMPARE(matching(list, u"o", Scope::everything).size(), 3);
        QCOMPARE(matching(list, u"N", Scope::everything), list);
    }
};

QTEST_GUILESS_MAIN(TestMessageSearch)
#include "tst_MessageSearch.moc"
