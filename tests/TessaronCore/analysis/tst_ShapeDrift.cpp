#include "Fixtures.h"

#include "TessaronCore/analysis/ShapeDrift.h"

#include <QtTest>

using namespace tessaron;
using fixtures::message;

namespace {

const QByteArray shapeA = "{\"id\":1,\"name\":\"a\",\"tags\":[]}";
const QByteArray shapeB = "{\"id\":\"x\",\"name\":\"a\",\"tags\":[]}";
const QByteArray shapeC = "{\"id\":1,\"tags\":[],\"extra\":true}";

QList<Message> messages(const QList<QByteArray>& payloads)
{
    QList<Message> list;
    for (qsizetype i = 0; i < payloads.size(); ++i)
        list.append(message(i, payloads[i]));
    return list;
}

Message decodedMessage(int64_t offset, QByteArray framed, QByteArray json, std::optional<MessageShape> shape)
{
    Message m = message(offset, std::move(framed));
    m.setDecoded(Message::Decoded{7, std::move(json), std::move(shape)});
    return m;
}

const QByteArray framed("\x00\x00\x00\x00\x07\x02\x04", 7);

} // namespace

class TestShapeDrift : public QObject {
    Q_OBJECT
private slots:
    void comparesNothingWithoutShapes()
    {
        QCOMPARE(ShapeDrift::verdict({}), ShapeVerdict::nothingToCompare());
        QList<Message> list{message(0, std::nullopt),
                            message(1, QByteArray("\xFF\xFE")),
                            message(2, QByteArray("plain")),
                            message(3, QByteArray("[{\"a\":1}]")),
                            message(4, framed),
                            message(5, QByteArray("{}"))};
        QCOMPARE(ShapeDrift::verdict(list), ShapeVerdict::nothingToCompare());
    }

    void needsFourShapedMessages()
    {
        QCOMPARE(ShapeDrift::verdict(messages({shapeA, shapeA, shapeA})), ShapeVerdict::notEnoughEvidence(3));
        QCOMPARE(ShapeDrift::verdict(messages({shapeA, "text", shapeB})), ShapeVerdict::notEnoughEvidence(2));
        QCOMPARE(ShapeDrift::verdict(messages({shapeA, shapeA, shapeA, shapeA})), ShapeVerdict::consistent(4));
        QCOMPARE(ShapeDrift::verdict(messages({shapeA, shapeA, "plain text", shapeA, shapeA})),
                 ShapeVerdict::consistent(4));
    }

    void ignoresKeyOrderAndValues()
    {
        QCOMPARE(ShapeDrift::verdict(messages({"{\"a\":1,\"b\":\"x\"}", "{\"b\":\"y\",\"a\":2}",
                                               " {\"b\":\"\",\"a\":-1e3} ", "{\"a\":0,\"b\":\"z\"}"})),
                 ShapeVerdict::consistent(4));
    }

    void tellsKindsApartInAnyKeyOrder()
    {
        const QList<QByteArray> payloads{"{\"a\":1,\"b\":\"x\",\"c\":null}", "{\"c\":null,\"a\":2,\"b\":\"y\"}",
                                         "{\"b\":\"z\",\"c\":null,\"a\":3}", "{\"c\":null,\"b\":4,\"a\":\"w\"}",
                                         "{\"b\":\"v\",\"a\":5,\"c\":null,\"a\":6}"};
        const auto d = ShapeDrift::verdict(messages(payloads)).driftDetail();
        QVERIFY(d);
        QCOMPARE(d->majorityCount, 4);
        QCOMPARE(d->outlierIDs, QStringList{"t/0/3"});
        QCOMPARE(d->differences,
                 (QList<FieldDifference>{{"a", JSONKind::number, JSONKind::string},
                                         {"b", JSONKind::string, JSONKind::number}}));
    }

    void wantsAStrictMajority()
    {
        const ShapeVerdict v = ShapeDrift::verdict(messages({shapeA, shapeB, shapeA, shapeB}));
        QCOMPARE(v, ShapeVerdict::noMajority(4, 2));
        QCOMPARE(ShapeDrift::verdict(messages({shapeA, shapeA, shapeB, shapeC, shapeC})).tag(),
                 ShapeVerdict::Case::noMajority);
    }

    void namesTheOutliersAndTheirDifferences()
    {
        const ShapeVerdict v = ShapeDrift::verdict(messages({shapeB, shapeA, shapeA, shapeC, shapeA}));
        QCOMPARE(v.tag(), ShapeVerdict::Case::drift);
        const auto d = v.driftDetail();
        QVERIFY(d);
        QCOMPARE(d->sampled, 5);
        QCOMPARE(d->majorityCount, 3);
        QCOMPARE(d->outlierIDs, (QStringList{"t/0/0", "t/0/3"}));
        QCOMPARE(d->outlierCount(), 2);
        QCOMPARE(d->differences,
                 (QList<FieldDifference>{{"extra", std::nullopt, JSONKind::boolean},
                                         {"id", JSONKind::number, JSONKind::string},
                                         {"name", JSONKind::string, std::nullopt}}));
    }

    void ordersDifferencesByCountThenPath()
    {
        // Majority {B,a,b,z: number}; two outliers lack z, one changes b and B, one changes a.
        const QByteArray majority = "{\"B\":1,\"a\":1,\"b\":1,\"z\":1}";
        const QList<QByteArray> payloads{majority,
                                         majority,
                                         majority,
                                         majority,
                                         majority,
                                         "{\"B\":\"s\",\"a\":1,\"b\":\"s\"}",
                                         "{\"B\":1,\"a\":null,\"b\":1}"};
        const auto d = ShapeDrift::verdict(messages(payloads)).driftDetail();
        QVERIFY(d);
        QCOMPARE(d->differences,
                 (QList<FieldDifference>{{"z", JSONKind::number, std::nullopt},
                                         {"B", JSONKind::number, JSONKind::string},
                                         {"a", JSONKind::number, JSONKind::null},
                                         {"b", JSONKind::number, JSONKind::string}}));
    }

    void breaksTiesOfOnePathByKinds()
    {
        // Same count, same path: ordered by the outlier's kind in declaration order (string before bool),
        // whatever order the outliers came in.
        const QByteArray majority = "{\"x\":1,\"y\":1}";
        for (bool boolFirst : {true, false}) {
            QList<QByteArray> payloads{majority, majority, majority, majority, majority};
            payloads.insert(boolFirst ? 1 : 3, "{\"x\":true,\"y\":1}");
            payloads.insert(boolFirst ? 4 : 0, "{\"x\":\"s\",\"y\":1}");
            const auto d = ShapeDrift::verdict(messages(payloads)).driftDetail();
            QVERIFY(d);
            QCOMPARE(d->differences,
                     (QList<FieldDifference>{{"x", JSONKind::number, JSONKind::string},
                                             {"x", JSONKind::number, JSONKind::boolean}}));
        }
    }

    void judgesAvroByItsDecoding()
    {
        const MessageShape avroShape(
            QMap<QString, JSONKind>{{"id", JSONKind::number}, {"name", JSONKind::string}, {"tags", JSONKind::array}});
        QList<Message> list{decodedMessage(0, framed, "not json", avroShape),
                            decodedMessage(1, shapeA, shapeB, std::nullopt), // judged by its decoded JSON
                            message(2, shapeA), message(3, shapeA), message(4, framed)};
        const ShapeVerdict v = ShapeDrift::verdict(list);
        QCOMPARE(v.tag(), ShapeVerdict::Case::drift);
        QCOMPARE(v.driftDetail()->sampled, 4);
        QCOMPARE(v.driftDetail()->majorityCount, 3);
        QCOMPARE(v.driftDetail()->outlierIDs, QStringList{"t/0/1"});
    }

    void keepsRepeatedIdentifiers()
    {
        QList<Message> list = messages({shapeA, shapeA, shapeA});
        list.append(message(0, shapeB));
        list.append(message(0, shapeB));
        list.prepend(message(1, shapeA));
        const auto d = ShapeDrift::verdict(list).driftDetail();
        QVERIFY(d);
        QCOMPARE(d->sampled, 6);
        QCOMPARE(d->outlierIDs, (QStringList{"t/0/0", "t/0/0"}));
    }

    void groupsRepeatedKeysByTheirLastValue()
    {
        // {"id":{"x":1},"id":1,...} is shape A once the repeated key keeps its last value.
        const QByteArray repeated = "{\"id\":{\"x\":1},\"name\":\"n\",\"tags\":[],\"id\":1}";
        QCOMPARE(ShapeDrift::verdict(messages({shapeA, repeated, shapeA, repeated})), ShapeVerdict::consistent(4));
    }
};

QTEST_GUILESS_MAIN(TestShapeDrift)
#include "tst_ShapeDrift.moc"
