#include "Fixtures.h"

#include "TessaronCore/analysis/TopicFilter.h"

#include <QtTest>

using namespace tessaron;
using fixtures::topic;

namespace {

QStringList names(const QList<Topic>& topics)
{
    QStringList out;
    for (const Topic& t : topics)
        out.append(t.name);
    return out;
}

QList<Topic> named(const QStringList& list)
{
    QList<Topic> out;
    for (const QString& n : list)
        out.append(topic(n));
    return out;
}

} // namespace

class TestTopicFilter : public QObject {
    Q_OBJECT
private slots:
    void hidesInternalTopicsByFlag()
    {
        const QList<Topic> topics{topic("__consumer_offsets", true), topic("plain", true), topic("zeta"),
                                  topic("__looks_internal")};
        QCOMPARE(names(TopicFilter::visible(topics, u"", std::nullopt, false)),
                 (QStringList{"__looks_internal", "zeta"}));
        QCOMPARE(names(TopicFilter::visible(topics, u"", std::nullopt, true)),
                 (QStringList{"__looks_internal", "zeta", "__consumer_offsets", "plain"}));
    }

    void ordersDeadLettersFirstThenByCodePoint()
    {
        QCOMPARE(names(TopicFilter::visible(named({"a", "B", "b-dlq"}), u"", std::nullopt, false)),
                 (QStringList{"b-dlq", "B", "a"}));
        QCOMPARE(names(TopicFilter::visible(named({"alpha", "Zeta", "orders.DLQ", "audit-DLT", "\u00E9t\u00E9", "eta"}),
                                            u"", std::nullopt, false)),
                 (QStringList{"audit-DLT", "orders.DLQ", "Zeta", "alpha", "eta", "\u00E9t\u00E9"}));
    }

    void narrowsToANamespaceAndASearch()
    {
        const QList<Topic> topics = named({"orders", "orders.paid", "ordersX", "shop.orders", "Orders.late"});
        QCOMPARE(names(TopicFilter::visible(topics, u"", QStringLiteral("orders"), false)),
                 (QStringList{"orders", "orders.paid"}));
        QCOMPARE(names(TopicFilter::visible(topics, u"  ORDERS.", std::nullopt, false)),
                 (QStringList{"Orders.late", "orders.paid"}));
        QCOMPARE(TopicFilter::visible(topics, u" \t ", std::nullopt, false).size(), topics.size());
        QVERIFY(TopicFilter::visible(topics, u"orders\n", std::nullopt, false).isEmpty());
    }

    void splitsIntoSections()
    {
        const QList<Topic> topics{topic("a"), topic("z"), topic("m-dlq"), topic("plain"), topic("__hidden", true)};
        const QStringList pins{"z", "gone", "a", "z", "__hidden"};
        const TopicFilter::Sections s = TopicFilter::sections(topics, pins, u"", std::nullopt, false, true);
        QCOMPARE(names(s.pinned), (QStringList{"z", "a", "z"}));
        QCOMPARE(s.missingPins, QStringList{"gone"});
        QCOMPARE(names(s.deadLetters), QStringList{"m-dlq"});
        QCOMPARE(names(s.ordinary), QStringList{"plain"});
        QVERIFY(TopicFilter::sections(topics, pins, u"", std::nullopt, false, false).missingPins.isEmpty());
    }

    void reportsMissingPinsOnlyWithinTheFilter()
    {
        const QList<Topic> topics = named({"shop.a", "shop.b"});
        const QStringList pins{"shop.gone", "billing.gone", "shop.lost", "shop.gone"};
        const auto s = TopicFilter::sections(topics, pins, u"GONE", QStringLiteral("shop"), false, true);
        QCOMPARE(s.missingPins, (QStringList{"shop.gone", "shop.gone"}));
        QVERIFY(s.pinned.isEmpty());
    }

    void offersNamespacesOfTwoOrMore()
    {
        QCOMPARE(TopicFilter::namespaces(named({"shop.orders", "shop.users", "billing.x", "plain"})),
                 QStringList{"shop"});
        QCOMPARE(TopicFilter::namespaces(named({"orders.", "orders.paid", ".a.b", "a", "a.c", "..", "b", "b"})),
                 (QStringList{"a", "orders"}));
        QList<Topic> internal{topic("__x.a", true), topic("__x.b", true), topic("__x.c")};
        QVERIFY(TopicFilter::namespaces(internal).isEmpty());
        QCOMPARE(TopicFilter::namespaces(named({"b.x", "b.y", "B.x", "B.y", "a.x", "a.y"})),
                 (QStringList{"B", "a", "b"}));
    }
};

QTEST_GUILESS_MAIN(TestTopicFilter)
#include "tst_TopicFilter.moc"
