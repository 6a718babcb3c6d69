#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinInfra/json/JsonLexis.h"
#include "VelkinUI/Brand.h"

#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace tessaron;
using TC = JSONHighlighter::TokenClass;

namespace {

QList<QPair<QString, TC>> classify(const QString& text)
{
    QList<QPair<QString, TC>> out;
    for (const auto& t : JSONHighlighter::tokens(text))
        out.append({text.mid(t.start, t.length), t.kind});
    return out;
}

} // namespace

class TestJSONHighlighter : public QObject {
    Q_OBJECT
private slots:
    void emptyAndBraces()
    {
        QVERIFY(JSONHighlighter::highlight("").isEmpty());
        const auto braces = classify("{}");
        QCOMPARE(braces.size(), 2);
        QCOMPARE(braces[0].second, TC::punctuation);
        QCOMPARE(braces[1].second, TC::punctuation);
    }

    void objectMembersGetTheirClasses()
    {
        const QString text = "{\"name\": \"kafka\", \"lag\": -12.5e3, \"ok\": true, \"gone\": null}";
        const auto t = classify(text);
        QList<QPair<QString, TC>> expected{{"{", TC::punctuation},
                                           {"\"name\"", TC::key},
                                           {":", TC::punctuation},
                                           {" ", TC::other},
                                           {"\"kafka\"", TC::stringValue},
                                           {",", TC::punctuation},
                                           {" ", TC::other},
                                           {"\"lag\"", TC::key},
                                           {":", TC::punctuation},
                                           {" ", TC::other},
                                           {"-12.5e3", TC::number},
                                           {",", TC::punctuation},
                                           {" ", TC::other},
                                           {"\"ok\"", TC::key},
                                           {":", TC::punctuation},
                                           {" ", TC::other},
                                           {"true", TC::keyword},
                                           {",", TC::punctuation},
                                           {" ", TC::other},
                                           {"\"gone\"", TC::key},
                                           {":", TC::punctuation},
                                           {" ", TC::other},
                                           {"null", TC::keyword},
                                           {"}", TC::punctuation}};
        QCOMPARE(t, expected);
    }

    void stringsEscapesAndCutOffText()
    {
        QCOMPARE(classify("\"a\\\"b\""), (QList<QPair<QString, TC>>{{"\"a\\\"b\"", TC::stringValue}}));
        QCOMPARE(classify("\"ab\\"), (QList<QPair<QString, TC>>{{"\"ab\\", TC::stringValue}}));
        QCOMPARE(classify("{\"a"), (QList<QPair<QString, TC>>{{"{", TC::punctuation}, {"\"a", TC::stringValue}}));
        QCOMPARE(classify("\"k\" \t\n :1")[0].second, TC::key);
        QCOMPARE(classify("\"v\"")[0].second, TC::stringValue);
        QCOMPARE(classify("\"v\"  \n")[0].second, TC::stringValue);
        QCOMPARE(classify("[\"v\", \"w\"]")[1].second, TC::stringValue);
        // Nesting is ignored: a string followed by ":" is a key anywhere.
        QCOMPARE(classify("[\"x\":1]")[1].second, TC::key);
    }

    void keywordsAndNumbers()
    {
        QCOMPARE(classify("True").size(), 4);
        for (const auto& p : classify("NULL"))
            QCOMPARE(p.second, TC::other);
        QCOMPARE(classify("null,"), (QList<QPair<QString, TC>>{{"null", TC::keyword}, {",", TC::punctuation}}));
        QCOMPARE(classify("xtrue"), (QList<QPair<QString, TC>>{{"x", TC::other}, {"true", TC::keyword}}));
        const auto nullx = classify("nullx");
        QCOMPARE(nullx.size(), 5);
        QCOMPARE(classify("true_")[0].second, TC::other);
        QCOMPARE(classify("true1")[0].second, TC::other);
        for (const QString& n : QStringList{"-", "1e", "1-2", "--", "٣٤"})
            QCOMPARE(classify(n), (QList<QPair<QString, TC>>{{n, TC::number}}));
        QCOMPARE(classify("+")[0].second, TC::other);
        QCOMPARE(classify(".")[0].second, TC::other);
        QCOMPARE(classify("e")[0].second, TC::other);
        const auto sentence = classify("it is true here");
        QCOMPARE(sentence[6], (QPair<QString, TC>{"true", TC::keyword}));
        for (const auto& p : classify("plain words, no quotes"))
            QVERIFY(p.second == TC::other || p.first == ",");
    }

    void userPerceivedCharactersStayWhole()
    {
        // A CR LF pair and a letter with a combining mark are one character each.
        const QString text = QString("\"e\u0301\"\r\n:");
        const auto t = classify(text);
        QCOMPARE(t[0].second, TC::key);
        QCOMPARE(t[1].first, QString("\r\n"));
        // A quote with a combining mark is not a quote.
        QCOMPARE(classify(QString("\"\u0301x"))[0].second, TC::other);
        // Characters outside the basic plane survive.
        const QString emoji = QString::fromUtf8("{\"😀\": \"👍🏽\"}");
        QCOMPARE(JSONHighlighter::highlight(emoji).text(), emoji);
    }

    void runsAlwaysConcatenateToTheInput()
    {
        const QStringList pieces{
            "{",    "}",    "[", "]",  ":",    ",",  "\"", "\\", "-", "+", ".",       "e", "1", "true",
            "null", "fals", " ", "\n", "\r\n", "\r", "\t", "x",  "_", "é", "e\u0301", "😀", "٣", QString(QChar(0xD800))};
        QRandomGenerator rng(7);
        for (int round = 0; round < 2000; ++round) {
            QString text;
            const int n = rng.bounded(30);
            for (int i = 0; i < n; ++i)
                text += pieces[rng.bounded(int(pieces.size()))];
            const AttributedText out = JSONHighlighter::highlight(text);
            QCOMPARE(out.text(), text);
            qsizetype at = 0;
            for (const auto& tok : JSONHighlighter::tokens(text)) {
                QCOMPARE(tok.start, at);
                QVERIFY(tok.length > 0);
                at += tok.length;
            }
            QCOMPARE(at, text.size());
            for (const auto& run : out.runs) {
                QVERIFY(run.foreground.has_value());
                QVERIFY(!run.background.has_value());
            }
        }
    }

    void runsOutliveTheirInput()
    {
        // Runs are views into the highlighted value's own copy: they must stay right when the caller's
        // text changes or dies, and in copies that outlive the original.
        auto input = std::make_unique<QString>(QStringLiteral("{\"key\": [1, \"two\", null]}"));
        const QString expected = *input;
        AttributedText out = JSONHighlighter::highlight(*input);
        (*input)[2] = QLatin1Char('X');
        input.reset();
        QCOMPARE(out.text(), expected);
        AttributedText copy;
        {
            const AttributedText temporary = out;
            copy = temporary;
        }
        out = AttributedText();
        QCOMPARE(copy.text(), expected);
        QCOMPARE(copy.runs[1].text, QStringLiteral("\"key\""));
    }

    void coloursFollowTheBrand()
    {
        const AttributedText out = JSONHighlighter::highlight("{\"k\": true}");
        QCOMPARE(*out.runs[1].foreground, Brand::palette().at(0));
        QCOMPARE(*out.runs[4].foreground, Brand::palette().at(1));
        QCOMPARE(*out.runs[0].foreground, QColor::fromRgbF(1, 1, 1, 0.55f));
    }

    void attributedTextFeedsTextLayoutsAndLabels()
    {
        const AttributedText out = JSONHighlighter::highlight("{\"a<b\": 1}\n");
        const auto formats = out.formats();
        QCOMPARE(formats.size(), out.runs.size());
        int at = 0;
        for (int i = 0; i < formats.size(); ++i) {
            QCOMPARE(formats[i].start, at);
            QCOMPARE(formats[i].format.foreground().color(), *out.runs[i].foreground);
            at += formats[i].length;
        }
        QCOMPARE(at, out.text().size());
        const QString html = out.toHtml();
        QVERIFY(html.contains("a&lt;b"));
        QVERIFY(html.endsWith("<br/></span>"));
        AttributedText plain;
        plain.runs.append({"x", std::nullopt, std::nullopt});
        QVERIFY(plain.formats().isEmpty());
        QCOMPARE(plain.toHtml(), QString("x"));
    }

    void recognisesJSONContainersOnly()
    {
        QVERIFY(JSONHighlighter::isJSON("  \n[1, 2, {\"a\": null}]\n  "));
        QVERIFY(JSONHighlighter::isJSON("{}"));
        QVERIFY(!JSONHighlighter::isJSON("42"));
        QVERIFY(!JSONHighlighter::isJSON("\"text\""));
        QVERIFY(!JSONHighlighter::isJSON("{garbage"));
        QVERIFY(!JSONHighlighter::isJSON("{} {}"));
        QVERIFY(!JSONHighlighter::isJSON("[1,]"));
        QVERIFY(!JSONHighlighter::isJSON("[01]"));
        QVERIFY(!JSONHighlighter::isJSON(QString("[\"") + QChar(0xDC00) + "\"]"));
        QVERIFY(!JSONHighlighter::isJSON(""));
    }

    void prettyPrintSortsKeysAndKeepsNumbersExact()
    {
        QCOMPARE(JSONHighlighter::prettyPrint("a plain sentence"), QString("a plain sentence"));
        QCOMPARE(JSONHighlighter::prettyPrint("42"), QString("42"));
        QCOMPARE(JSONHighlighter::prettyPrint("{\"b\""), QString("{\"b\""));
        const QString pretty = JSONHighlighter::prettyPrint("{\"b\":1,\"a\":{\"z\":[true,null,\"x\\n\"],\"y\":{}}}");
        QCOMPARE(pretty,
                 QString("{\n  \"a\" : {\n    \"y\" : {},\n    \"z\" : [\n      true,\n      null,\n      \"x\\n\"\n   "
                         " ]\n  },\n  \"b\" : 1\n}"));
        // Large integers and exact decimals are written back digit for digit.
        const QString big = JSONHighlighter::prettyPrint(
            "{\"id\": 9007199254740993, \"big\": 123456789012345678901234567890, \"f\": 0.1000000000000000055}");
        QVERIFY(big.contains("9007199254740993"));
        QVERIFY(big.contains("123456789012345678901234567890"));
        QVERIFY(big.contains("0.1000000000000000055"));
        // Escapes are decoded and written again; "/" stays as it is.
        QCOMPARE(JSONHighlighter::prettyPrint("[\"a\\/b\",\"\\u00e9\"]"), QString("[\n  \"a/b\",\n  \"é\"\n]"));
        // A pretty text is itself JSON, and printing it again changes nothing.
        QVERIFY(JSONHighlighter::isJSON(pretty));
        QCOMPARE(JSONHighlighter::prettyPrint(pretty), pretty);
        // A repeated key keeps its last value.
        QCOMPARE(JSONHighlighter::prettyPrint("{\"a\":1,\"a\":2}"), QString("{\n  \"a\" : 2\n}"));
        QCOMPARE(JSONHighlighter::prettyPrint("{\"b\":1,\"a\":1,\"b\":2,\"c\":0,\"a\":{},\"b\":3}"),
                 QString("{\n  \"a\" : {},\n  \"b\" : 3,\n  \"c\" : 0\n}"));
        // Keys are sorted by their text, escapes decoded.
        QCOMPARE(JSONHighlighter::prettyPrint("{\"\\u0062\":1,\"a\":2,\"b\":3}"),
                 QString("{\n  \"a\" : 2,\n  \"b\" : 3\n}"));
        // Absurd nesting is refused rather than crashing.
        const QString deep = QString(5000, '[') + QString(5000, ']');
        QCOMPARE(JSONHighlighter::prettyPrint(deep), deep);
    }

    // The pretty printer and the shape scanner share one nesting limit: as many containers as the
    // limit are read, one more is refused.
    void nestingLimitIsShared()
    {
        const auto nested = [](int containers) {
            return QString(containers - 1, '[') + QStringLiteral("{\"a\":1}") + QString(containers - 1, ']');
        };
        const QString deepest = nested(JsonLexis::maxNesting);
        QVERIFY(JSONHighlighter::isJSON(deepest));
        QVERIFY(JSONHighlighter::prettyPrint(deepest) != deepest);
        const QString tooDeep = nested(JsonLexis::maxNesting + 1);
        QVERIFY(!JSONHighlighter::isJSON(tooDeep));
        QCOMPARE(JSONHighlighter::prettyPrint(tooDeep), tooDeep);
    }
};

QTEST_MAIN(TestJSONHighlighter)
#include "tst_JSONHighlighter.moc"
