#include "BrowserFixtures.h"

#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/PayloadDocument.h"
#include "Tessaron/kit/FormHeading.h"
#include "VelkinUI/KitButton.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>

using namespace tessaron;
using namespace tessaron::browserfixtures;

namespace {

QStringList headings(const ExhibitView& view)
{
    QStringList out;
    for (const FormHeading* heading : view.findChildren<FormHeading*>())
        out << heading->displayedText();
    return out;
}

QList<qsizetype> suspectLines(const PayloadDocument* document)
{
    QList<qsizetype> out;
    for (const PayloadLine& line : document->lines()) {
        if (line.suspect)
            out << line.index;
    }
    return out;
}

} // namespace

class TestExhibit : public QObject {
    Q_OBJECT
private slots:
    void init() { useFixedClock(); }

    void outliersMarkTheirSuspectLinesAndOthersMarkNothing()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 5}, {0, 5}})});
        stage.kafka().held["orders"] = driftingOrders();
        stage.open("orders");
        const ShapeVerdict::Drift drift = *stage.session->shapeVerdict().driftDetail();
        ExhibitView view(stage.app.get(), stage.session.get());
        QVERIFY(view.showsNotes());

        stage.session->setSelectedMessage(drift.outlierIDs.first());
        QVERIFY(!view.showsNotes());
        QVERIFY(view.suspects().contains("total"));
        QVERIFY(view.document());
        const QList<PayloadLine>& lines = view.document()->lines();
        const QList<qsizetype> marked = suspectLines(view.document());
        QCOMPARE(marked.size(), 1);
        QVERIFY(lines[marked.first()].content.contains("\"total\""));

        // A message of the majority: the same verdict, nothing marked.
        for (const Message& m : stage.session->messages()) {
            if (!drift.outlierIDs.contains(m.id())) {
                stage.session->setSelectedMessage(m.id());
                break;
            }
        }
        QVERIFY(view.suspects().isEmpty());
        QVERIFY(suspectLines(view.document()).isEmpty());
    }

    void exhibitNumbersCountEveryMessageRead()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"][0] = {keyed("orders", 0, 0, "a", "{}", 3), keyed("orders", 0, 1, "b", "{}", 2),
                                           keyed("orders", 0, 2, "c", "{}", 1)};
        stage.open("orders");
        stage.session->setMessageSearch("a");
        ExhibitView view(stage.app.get(), stage.session.get());
        stage.session->setSelectedMessage(QString("orders/0/0"));
        QCOMPARE(view.exhibitNumber(), std::optional<int>(3));
        // A message that is no longer among those read falls back to the notes.
        stage.session->setSelectedMessage(QString("orders/0/9"));
        QVERIFY(view.showsNotes());
    }

    void headersTombstonesAndCopies()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 3}})});
        stage.kafka().held["orders"][0] = {
            keyed("orders", 0, 0, "a", "\xEF\xBB\xBFline one\r\nline two", 3,
                  {{"trace", QByteArray("\xff\xfe", 2)}, {"empty", ""}}),
            Message("orders", 0, 1, QByteArray("b"), std::nullopt, std::nullopt, {}),
            keyed("orders", 0, 2, QByteArray("\xff", 1), QByteArray("\x80\x81\x82", 3), 1)};
        stage.open("orders");
        ExhibitView view(stage.app.get(), stage.session.get());

        stage.session->setSelectedMessage(QString("orders/0/0"));
        QCOMPARE(headings(view), (QStringList{"ANNOTATIONS", "THE RECORD"}));
        QStringList texts;
        for (const QLabel* label : view.findChildren<QLabel*>())
            texts << label->text();
        QVERIFY(texts.contains("<binary>"));
        // CR LF text reads one line per line, without the carriage return.
        QCOMPARE(view.document()->lines().size(), 2);
        QCOMPARE(view.document()->lines().first().content, QString("line one"));
        // The copy holds the text exactly as read, its byte-order mark too.
        view.copyPayload();
        QCOMPARE(QApplication::clipboard()->text().toUtf8(), QByteArray("\xEF\xBB\xBFline one\r\nline two"));

        // A tombstone offers no copy, and never empties the clipboard.
        stage.session->setSelectedMessage(QString("orders/0/1"));
        QCOMPARE(headings(view), QStringList{"THE RECORD"});
        QVERIFY(!view.document());
        QVERIFY(!view.findChild<KitButton*>(QStringLiteral("copy"))->isEnabled());
        view.copyPayload();
        QCOMPARE(QApplication::clipboard()->text().toUtf8(), QByteArray("\xEF\xBB\xBFline one\r\nline two"));

        // Binary: no document; the copy holds the bytes as hex.
        stage.session->setSelectedMessage(QString("orders/0/2"));
        QVERIFY(!view.document());
        view.copyPayload();
        QCOMPARE(QApplication::clipboard()->text(), QString("80 81 82"));
    }

    void fileACorrectedCopySetsTheProduceAction()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 1}})});
        stage.kafka().held["orders"][0] = {keyed("orders", 0, 0, "a", R"({"a":1})", 3)};
        stage.open("orders");
        ExhibitView view(stage.app.get(), stage.session.get());
        stage.session->setSelectedMessage(QString("orders/0/0"));
        auto* file = view.findChild<KitButton*>("fileCopy");
        QVERIFY(file);
        QTest::mouseClick(file, Qt::LeftButton);
        QVERIFY(stage.app->action());
        QCOMPARE(stage.app->action()->which(), AppState::Action::produce);
        QCOMPARE(stage.app->action()->message()->id(), QString("orders/0/0"));
    }

    void theDocumentSelectsAndCopiesText()
    {
        PayloadDocument document("{\n  \"a\" : 1\n}", {});
        document.resize(400, document.heightForWidth(400));
        document.show();
        QVERIFY(QTest::qWaitForWindowExposed(&document));
        const double y = 8 + document.rowHeight() * 1.5;
        QTest::mousePress(&document, Qt::LeftButton, {}, QPoint(int(document.textLeft()), int(y)));
        QTest::mouseMove(&document, QPoint(int(document.textLeft() + 300), int(y)));
        QTest::mouseRelease(&document, Qt::LeftButton, {}, QPoint(int(document.textLeft() + 300), int(y)));
        QCOMPARE(document.selectedText(), QString("  \"a\" : 1"));
        document.selectAll();
        QTest::keySequence(&document, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QString("{\n  \"a\" : 1\n}"));
        // Long lines wrap: the height grows as the width shrinks.
        PayloadDocument wide(QString(500, QLatin1Char('x')), {});
        QVERIFY(wide.heightForWidth(300) > wide.heightForWidth(1200));
    }
};

QTEST_MAIN(TestExhibit)
#include "tst_Exhibit.moc"
