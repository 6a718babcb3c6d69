#include "BrowserFixtures.h"
#include "Tessaron/kit/ElidedLabel.h"

#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/PayloadDocument.h"
#include "Tessaron/kit/FormHeading.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>
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

    void inANarrowColumnTheFactsWrapWhole()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 1}})});
        stage.kafka().held["orders"][0] = {keyed("orders", 0, 0, "pay-50120", "{}", 3)};
        stage.open("orders");
        ExhibitView view(stage.app.get(), stage.session.get());
        stage.session->setSelectedMessage(QString("orders/0/0"));
        // As wide as the exhibit gets beside the rows in the smallest window.
        view.resize(240, 400);
        view.show();
        QTest::qWait(50);
        QStringList cut;
        for (const ElidedLabel* label : view.findChildren<ElidedLabel*>()) {
            if (label->isVisible() && label->width() < label->sizeHint().width())
                cut << label->text();
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
    }

    void headersTombstonesAndCopies()
    {
        Stage stage = kafkaStage({fakes::topic("orders", {{0, 4}})});
        Message cut = keyed("orders", 0, 3, "c", "the first bytes", 1);
        cut.setWholePayloadSize(4096);
        stage.kafka().held["orders"][0] = {
            keyed("orders", 0, 0, "a", "\xEF\xBB\xBFline one\r\nline two", 3,
                  {{"trace", QByteArray("\xff\xfe", 2)}, {"empty", ""}}),
            Message("orders", 0, 1, QByteArray("b"), std::nullopt, std::nullopt, {}),
            keyed("orders", 0, 2, QByteArray("\xff", 1), QByteArray("\x80\x81\x82", 3), 1), cut};
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
        QVERIFY(!view.findChild<QLabel*>(QStringLiteral("cutNote")));

        // A payload read cut says so beside what is copied from it.
        stage.session->setSelectedMessage(QString("orders/0/3"));
        QVERIFY(view.findChild<QLabel*>(QStringLiteral("cutNote")));
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

    // A payload of more lines than a widget can be pixels tall: the document keeps to the view,
    // scrolls by rows to the very last line, and its gutter holds the whole number.
    void aMillionLinesStayReachableAndNumberedWhole()
    {
        QByteArray payload = "[";
        for (int i = 0; i < 1'200'000; ++i)
            payload += (i ? "," : "") + QByteArray::number(1'000'000 + i);
        payload += "]";
        Stage stage = kafkaStage({fakes::topic("big", {{0, 1}})});
        stage.kafka().held["big"][0] = {keyed("big", 0, 0, "a", payload, 1)};
        stage.open("big");
        ExhibitView view(stage.app.get(), stage.session.get());
        view.resize(520, 640);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        stage.session->setSelectedMessage(QString("big/0/0"));
        QApplication::processEvents();
        PayloadDocument* document = view.document();
        QVERIFY(document);
        QCOMPARE(document->lineCount(), 1'200'002);
        QVERIFY(document->scrolls());
        QVERIFY(document->height() < view.height());

        document->setFocus();
        QTest::keyClick(document, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(document->linesInView().second, document->lineCount() - 1);
        QCOMPARE(document->lines().last().content, QString("]"));
        QTest::keyClick(document, Qt::Key_PageUp);
        QVERIFY(document->linesInView().second < document->lineCount() - 1);
        QTest::keyClick(document, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(document->linesInView().first, 0);

        // The wheel scrolls the document; at its end the event is left to the page around it.
        const QPoint inside = document->rect().center();
        const auto wheel = [&] {
            QWheelEvent event(inside, document->mapToGlobal(inside), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(document, &event);
            return event.isAccepted();
        };
        QVERIFY(wheel());
        QVERIFY(document->scrollBar()->value() > 0);
        QTest::keyClick(document, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(!wheel());

        const QFontMetricsF digits(KitFont::font(9, QFont::Normal, FontDesign::monospaced));
        QVERIFY(document->numberWidth() >= digits.horizontalAdvance(QStringLiteral("1200002")));
        // A short document keeps the narrow gutter and grows to its full height.
        PayloadDocument small("{\n}", {});
        QCOMPARE(small.numberWidth(), 20.0);
        QVERIFY(!small.scrolls());
    }

    // Characters are laid out by their drawn width: no gap after an emoji (two UTF-16 units), a
    // letter with a combining accent is one character, and the pointer never lands inside either.
    void layoutFollowsUserPerceivedCharacters()
    {
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        const QString accented = QStringLiteral("e\u0301");
        PayloadDocument document(QStringLiteral("a") + emoji + QStringLiteral("b\n") + accented + QStringLiteral("x"),
                                 {});
        document.resize(400, document.heightForWidth(400));
        document.show();
        QVERIFY(QTest::qWaitForWindowExposed(&document));
        const QFontMetricsF fm(document.font());
        QCOMPARE(document.columnX(0, 3), document.columnX(0, 1) + fm.horizontalAdvance(emoji));
        QCOMPARE(document.columnX(1, 2), fm.horizontalAdvance(accented));

        const double y0 = 8 + document.rowHeight() * 0.5;
        const double afterEmoji = document.textLeft() + document.columnX(0, 3) - 1;
        QTest::mousePress(&document, Qt::LeftButton, {}, QPoint(int(afterEmoji), int(y0)));
        QTest::mouseMove(&document, QPoint(int(document.textLeft() + 300), int(y0)));
        QTest::mouseRelease(&document, Qt::LeftButton, {}, QPoint(int(document.textLeft() + 300), int(y0)));
        QCOMPARE(document.selectedText(), QString("b"));
        // From the accented letter's right half: the selection starts after the whole letter.
        const double y1 = 8 + document.rowHeight() * 1.5;
        const double insideAccent = document.textLeft() + document.columnX(1, 2) * 0.75;
        QTest::mousePress(&document, Qt::LeftButton, {}, QPoint(int(insideAccent), int(y1)));
        QTest::mouseMove(&document, QPoint(int(document.textLeft() + 300), int(y1)));
        QTest::mouseRelease(&document, Qt::LeftButton, {}, QPoint(int(document.textLeft() + 300), int(y1)));
        QCOMPARE(document.selectedText(), QString("x"));
    }
};

QTEST_MAIN(TestExhibit)
#include "tst_Exhibit.moc"
