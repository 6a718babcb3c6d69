#include "VelkinHelpers/MarkdownText.h"

#include "GalleryShot.h"

#include <QLabel>
#include <QTextDocument>
#include <QTest>

using namespace tessaron;

namespace {

using Kind = MarkdownText::Kind;

QList<Kind> kinds(const QString& text)
{
    QList<Kind> out;
    const QList<MarkdownText::Block> blocks = MarkdownText::parse(text);
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (blocks.at(i).id != i)
            qWarning("block %lld has id %d", qlonglong(i), blocks.at(i).id);
        out.append(blocks.at(i).kind);
    }
    return out;
}

} // namespace

class TestMarkdownText : public QObject {
    Q_OBJECT
private slots:
    void blankTextGivesNoBlocks()
    {
        QVERIFY(MarkdownText::parse(QString()).isEmpty());
        QVERIFY(MarkdownText::parse(QStringLiteral("\n  \n\t\n")).isEmpty());
    }

    void headings()
    {
        QCOMPARE(kinds("# Title"), QList<Kind>{Kind::makeHeading(1, "Title")});
        QCOMPARE(kinds("   ## Sub  "), QList<Kind>{Kind::makeHeading(2, "Sub")});
        QCOMPARE(kinds("###  spaced"), QList<Kind>{Kind::makeHeading(3, " spaced")});
        QCOMPARE(kinds("#Title"), QList<Kind>{Kind::makeParagraph("#Title")});
        QCOMPARE(kinds("#### Four"), QList<Kind>{Kind::makeParagraph("#### Four")});
        QCOMPARE(kinds("#\tTabbed"), QList<Kind>{Kind::makeParagraph("#\tTabbed")});
    }

    void lists()
    {
        QCOMPARE(kinds("- one\n* two"), QList<Kind>{Kind::makeList({"one", "two"}, false)});
        QCOMPARE(kinds("- one\n1. two"), (QList<Kind>{Kind::makeList({"one"}, false), Kind::makeList({"two"}, true)}));
        QCOMPARE(kinds("3. three\n10. ten"), QList<Kind>{Kind::makeList({"three", "ten"}, true)});
        QCOMPARE(kinds("1. a\n- b"), (QList<Kind>{Kind::makeList({"a"}, true), Kind::makeList({"b"}, false)}));
        // Not items: a bare number, an empty numbered item, a lone dash, no blank after the stop.
        QCOMPARE(kinds("1."), QList<Kind>{Kind::makeParagraph("1.")});
        QCOMPARE(kinds("2. "), QList<Kind>{Kind::makeParagraph("2. ")});
        QCOMPARE(kinds("-"), QList<Kind>{Kind::makeParagraph("-")});
        QCOMPARE(kinds("4.x"), QList<Kind>{Kind::makeParagraph("4.x")});
    }

    void paragraphsKeepTheirLinesAndEndAtOtherBlocks()
    {
        QCOMPARE(kinds("  one\n   two\n three"), QList<Kind>{Kind::makeParagraph("  one    two  three")});
        QCOMPARE(kinds("text\n# Head"), (QList<Kind>{Kind::makeParagraph("text"), Kind::makeHeading(1, "Head")}));
        QCOMPARE(kinds("text\n- item"), (QList<Kind>{Kind::makeParagraph("text"), Kind::makeList({"item"}, false)}));
        QCOMPARE(kinds("text\n```\ncode"), (QList<Kind>{Kind::makeParagraph("text"), Kind::makeCode("code")}));
        QCOMPARE(kinds("a\n\nb"), (QList<Kind>{Kind::makeParagraph("a"), Kind::makeParagraph("b")}));
    }

    void fences()
    {
        QCOMPARE(kinds("```cpp\n  let a\n    b\n```  trailing\nafter"),
                 (QList<Kind>{Kind::makeCode("  let a\n    b"), Kind::makeParagraph("after")}));
        QCOMPARE(kinds("```\n# not a heading\n- nor a list"),
                 QList<Kind>{Kind::makeCode("# not a heading\n- nor a list")});
        QCOMPARE(kinds("para\n```"), (QList<Kind>{Kind::makeParagraph("para"), Kind::makeCode("")}));
        QCOMPARE(kinds("```\n```"), QList<Kind>{Kind::makeCode("")});
    }

    // Text written with CR LF endings reads like text written with LF alone.
    void crLfEndsLines()
    {
        const QString text =
            QStringLiteral("# Title\r\n\r\nline one\r\nline two\r\n- a\r\n- b\r\n```\r\ncode\r\n```\r\n");
        QCOMPARE(kinds(text),
                 (QList<Kind>{Kind::makeHeading(1, "Title"), Kind::makeParagraph("line one line two"),
                              Kind::makeList({"a", "b"}, false), Kind::makeCode("code")}));
        // A carriage return on its own is not a line break.
        QCOMPARE(kinds("a\rb"), QList<Kind>{Kind::makeParagraph("a\rb")});
    }

    void idsCountFromZero()
    {
        const QList<MarkdownText::Block> blocks = MarkdownText::parse("# a\n\ntext\n- x\n```\ny\n```");
        QCOMPARE(blocks.size(), 4);
        for (int i = 0; i < blocks.size(); ++i)
            QCOMPARE(blocks.at(i).id, i);
    }

    void inlineSyntax()
    {
        const QString html = MarkdownText::inlineHtml("a **b** *c* `d  e` [f](https://example.org) g");
        QVERIFY(html.contains("<b>b</b>"));
        QVERIFY(html.contains("<i>c</i>"));
        QVERIFY(html.contains(">d  e</span>"));
        QVERIFY(html.contains("<a href=\"https://example.org\""));
        QVERIFY(html.contains("white-space:pre-wrap"));
        QVERIFY(MarkdownText::inlineHtml("***x***").contains("<b><i>x</i></b>"));
        QVERIFY(MarkdownText::inlineHtml("snake_case_name").contains("snake_case_name"));
    }

    // Nothing in the source is dropped or passed through as markup.
    void inlineFallsBackToText()
    {
        const auto plain = [](const QString& text) {
            QTextDocument doc;
            doc.setHtml(MarkdownText::inlineHtml(text));
            return doc.toPlainText();
        };
        for (const QString& text :
             {QStringLiteral("**open"), QStringLiteral("`tick"), QStringLiteral("[x](y"), QStringLiteral("a * b * c"),
              QStringLiteral("<b>&amp;</b>"), QStringLiteral("\\*lit\\*"), QStringLiteral("[x] (y)")}) {
            const QString expected = text == QStringLiteral("\\*lit\\*") ? QStringLiteral("*lit*") : text;
            QCOMPARE(plain(text), expected);
        }
        // Only web and mail addresses can be followed.
        QVERIFY(!MarkdownText::inlineHtml("[x](file:///etc/passwd)").contains("href"));
        QVERIFY(!MarkdownText::inlineHtml("[x](javascript:alert(1))").contains("href"));
        QCOMPARE(plain("[x](file:///etc/passwd)"), QStringLiteral("x"));
    }

    // Absurdly deep nesting is shown, not followed to the bottom of the stack.
    void deepNestingStaysText()
    {
        const int n = 100000;
        const QString links = QString(n, '[') + "x" + QString("](https://e.org)").repeated(n);
        QVERIFY(!MarkdownText::inlineHtml(links).isEmpty());
        QString stars;
        for (int i = 0; i < n; ++i)
            stars += (i % 2 ? "**" : "*");
        stars += "x" + QString(stars.size(), '*');
        QVERIFY(!MarkdownText::inlineHtml(stars).isEmpty());
    }

    void viewShowsOneWidgetPerBlock()
    {
        MarkdownText view(
            QStringLiteral("# Case notes\n\nThe **majority** of messages agree; `3` differ.\n\n"
                           "- first lead\n- second lead\n\n7. one\n8. two\n\n```\n{\n  \"id\": 1\n}\n```"));
        QCOMPARE(view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 5);
        const QList<QLabel*> labels = view.findChildren<QLabel*>();
        QStringList markers;
        for (QLabel* label : labels) {
            if (label->width() == 16 || label->maximumWidth() == 16)
                markers.append(label->text());
        }
        QCOMPARE(markers, (QStringList{"•", "•", "1.", "2."}));
        QVERIFY(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* l) { return l->text() == QStringLiteral("{\n  \"id\": 1\n}"); }));

        view.setText(QString());
        QCOMPARE(view.findChildren<QLabel*>().size(), 0);
        view.setText(
            QStringLiteral("# Case notes\n\nThe **majority** of messages agree; `3` differ, and this line is "
                           "long enough to wrap inside the panel.\n\n- first lead\n- second lead\n\n7. one\n8. "
                           "two\n\n```\n{\n  \"id\": 1\n}\n```"));
        const QImage shot = GalleryShot::save(&view, QStringLiteral("markdown-text"), QSize(320, 0));
        QVERIFY(!shot.isNull());
        // Wrapped text gets the whole height it needs at the width it is given.
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->wordWrap())
                QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
        }
    }
};

QTEST_MAIN(TestMarkdownText)
#include "tst_MarkdownText.moc"
