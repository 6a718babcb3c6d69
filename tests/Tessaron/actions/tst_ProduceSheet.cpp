// The produce sheet over a real BrokerSession with fake clients: what reaches the writer, keys
// that file nothing, refusals, and a sheet closed mid-write.
#include "SheetFixture.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/actions/PayloadEditor.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "TessaronCore/rabbit/RabbitClient.h"
#include <QScopeGuard>
#include "VelkinInfra/prefs/UserDefaults.h"
#include "TessaronCore/l10n/L10n.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollArea>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

// Every character a text document is tempted to change.
const QByteArray awkward = "{\"name\":\"caf\xc3\xa9\xc2\xa0\xc2\xa0\",\t\"line\":\"a\xe2\x80\xa8"
                           "b\",\r\n"
                           "  \"para\":\"c\xe2\x80\xa9"
                           "d\", \"cr\":\"e\rf\",\n\"emoji\":\"\xf0\x9f\x90\x95\"}   \r\n\r\n";

Message source(std::optional<QByteArray> key, QByteArray payload)
{
    return Message("orders", 1, 2, std::move(key), std::move(payload), std::nullopt, {});
}

void fill(ProduceSheet& sheet, const QString& reason)
{
    sheet.reasonField()->setFocus();
    QTest::keyClicks(sheet.reasonField(), reason);
}

} // namespace

class TestProduceSheet : public QObject {
    Q_OBJECT
private:
    std::shared_ptr<FakeFactory> m_clients;
    std::unique_ptr<BrokerSession> m_session;

private slots:
    void init()
    {
        m_clients = std::make_shared<FakeFactory>();
        m_session = kafkaSession(m_clients);
    }
    void cleanup() { m_session.reset(); }

    void thePayloadEditorKeepsEveryByte()
    {
        PayloadEditor editor;
        const QString text = QString::fromUtf8(awkward);
        editor.setExactText(text);
        QCOMPARE(editor.exactText().toUtf8(), awkward);

        // Typing keeps the breaks around the edit as they were.
        editor.show();
        editor.setFocus();
        editor.moveCursor(QTextCursor::End);
        QTest::keyClicks(&editor, "x");
        QCOMPARE(editor.exactText().toUtf8(), awkward + "x");
        editor.moveCursor(QTextCursor::Start);
        QTest::keyClick(&editor, Qt::Key_Delete);
        QTest::keyClicks(&editor, "[");
        QCOMPARE(editor.exactText().toUtf8(), "[" + awkward.mid(1) + "x");
        // A new line typed in the middle is a line feed; the others stay.
        QTest::keyClick(&editor, Qt::Key_Return);
        QCOMPARE(editor.exactText().toUtf8(), "[\n" + awkward.mid(1) + "x");
        // Deleting a "\r\n" deletes both bytes.
        editor.moveCursor(QTextCursor::End);
        QTest::keyClick(&editor, Qt::Key_Backspace); // x
        QTest::keyClick(&editor, Qt::Key_Backspace); // the last "\r\n"
        QCOMPARE(editor.exactText().toUtf8(), "[\n" + awkward.mid(1, awkward.size() - 3));
        // Undo brings back the characters.
        editor.undo();
        QVERIFY(editor.exactText().toUtf8().startsWith("[\n"));
        // Replacing everything is exactly what was typed.
        editor.selectAll();
        QTest::keyClicks(&editor, "{}");
        QCOMPARE(editor.exactText(), QString("{}"));
        editor.setExactText(QString());
        QCOMPARE(editor.exactText(), QString());
    }

    void anUntouchedCopyReachesTheWriterByteForByte()
    {
        ProduceSheet sheet(source(QByteArray("k-1"), awkward), nullptr, m_session.get());
        sheet.show();
        QCOMPARE(sheet.topicField()->text(), QString("orders"));
        QCOMPARE(sheet.keyField()->text(), QString("k-1"));
        QVERIFY(!sheet.fileButton()->isEnabled());
        fill(sheet, "fix the total");
        QVERIFY(sheet.fileButton()->isEnabled());
        QTest::mouseClick(sheet.fileButton(), Qt::LeftButton);
        QTRY_VERIFY(sheet.outcome().has_value());
        QCOMPARE(m_clients->writer->produced.size(), 1);
        const FakeWriter::Produced& filed = m_clients->writer->produced.first();
        QCOMPARE(filed.payload, awkward);
        QCOMPARE(filed.key, std::optional<QByteArray>("k-1"));
        QCOMPARE(filed.topic, QString("orders"));
        QCOMPARE(filed.reason, QString("fix the total"));
        QVERIFY(sheet.outcome()->isDone());
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("FILED"));
        QCOMPARE(sheet.strikes(), 1);
        // The sheet stays open with its fields; a second filing replaces the outcome.
        QVERIFY(sheet.isVisible());
        sheet.payloadEditor()->moveCursor(QTextCursor::End);
        sheet.payloadEditor()->setFocus();
        QTest::keyClicks(sheet.payloadEditor(), " ");
        sheet.file();
        QTRY_COMPARE(sheet.strikes(), 2);
        QCOMPARE(m_clients->writer->produced.last().payload, awkward + " ");
        // The key left empty goes without one.
        sheet.keyField()->clear();
        sheet.file();
        QTRY_COMPARE(sheet.strikes(), 3);
        QCOMPARE(m_clients->writer->produced.last().key, std::nullopt);
    }

    void noKeyFilesAndEscapeCancels()
    {
        QPointer<ProduceSheet> sheet = new ProduceSheet(std::nullopt, nullptr, m_session.get());
        sheet->open();
        QCOMPARE(sheet->topicField()->text(), QString("orders"));
        sheet->payloadEditor()->setExactText("{}");
        sheet->keyField()->setText("k");
        fill(*sheet, "replay");
        QVERIFY(sheet->canFile());
        for (QWidget* field : QList<QWidget*>{sheet->topicField(), sheet->keyField(), sheet->payloadEditor(),
                                              sheet->reasonField(), sheet->cancelButton(), sheet->fileButton()})
            pressReturns(field);
        QTest::qWait(50);
        QVERIFY(m_clients->writer->produced.isEmpty());
        QVERIFY(!sheet->outcome());
        QVERIFY(sheet->isVisible());
        // Return in the payload is a new line in the payload, nothing more.
        QVERIFY(sheet->payloadEditor()->exactText().contains('\n'));
        QTest::keyClick(sheet->reasonField(), Qt::Key_Escape);
        QVERIFY(!sheet->isVisible());
        QCOMPARE(sheet->result(), int(QDialog::Rejected));
        delete sheet;
    }

    void tabRunsFromTopicToTheButtonsInOrder()
    {
        ProduceSheet sheet(std::nullopt, nullptr, m_session.get());
        sheet.open();
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        sheet.payloadEditor()->setExactText("{}");
        fill(sheet, "replay");
        QVERIFY(sheet.canFile());
        // From the reason the focus goes on to Cancel, then "File it", each in view and ringed.
        sheet.reasonField()->setFocus();
        QTest::keyClick(sheet.reasonField(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(sheet.cancelButton()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(sheet.fileButton()));
        QVERIFY(sheet.fileButton()->isVisible());
        QVERIFY(sheet.testAttribute(Qt::WA_KeyboardFocusChange));
        QVERIFY(m_clients->writer->produced.isEmpty());
    }

    void onlyKafkaIsOfferedAKey()
    {
        ProduceSheet kafka(source(QByteArray("k-1"), "{}"), nullptr, m_session.get());
        QVERIFY(kafka.keyField()->isVisibleTo(&kafka));
        QCOMPARE(kafka.form().key, QString("k-1"));
        // RabbitMQ publishes without a key: no field, and nothing typed there could travel.
        std::unique_ptr<BrokerSession> rabbit = connectedSession(m_clients, rabbitBroker());
        ProduceSheet sheet(source(QByteArray("\xff", 1), "{}"), nullptr, rabbit.get());
        QVERIFY(!sheet.keyField()->isVisibleTo(&sheet));
        QVERIFY(!sheet.keyNote()->isVisibleTo(&sheet));
        QCOMPARE(sheet.form().key, QString());
    }

    // Over a RabbitMQ queue the sheet speaks of a queue, in either language.
    void aQueuesSheetNeverSaysTopic()
    {
        std::unique_ptr<BrokerSession> rabbit = connectedSession(m_clients, rabbitBroker());
        const auto restore = qScopeGuard([] { UserDefaults::standard().remove(L10n::key); });
        for (const char* language : {"en", "pt"}) {
            UserDefaults::standard().setString(L10n::key, QString::fromLatin1(language));
            ProduceSheet sheet(std::nullopt, nullptr, rabbit.get());
            sheet.show();
            QStringList shown;
            for (const QLabel* label : sheet.findChildren<QLabel*>()) {
                if (label->isVisibleTo(&sheet))
                    shown << label->text();
            }
            QVERIFY(!shown.isEmpty());
            for (const QString& text : shown)
                QVERIFY2(!text.contains("topic", Qt::CaseInsensitive) && !text.contains("tópico", Qt::CaseInsensitive),
                         qPrintable(text));
        }
    }

    void aRefusedWriteShowsTheBrokersSentence()
    {
        m_clients->writer->produceError = KafkaError(3, "Broker: Unknown topic or partition");
        ProduceSheet sheet(std::nullopt, nullptr, m_session.get());
        sheet.show();
        sheet.topicField()->setText("nowhere");
        sheet.payloadEditor()->setExactText("x");
        fill(sheet, "test");
        sheet.file();
        QTRY_VERIFY(sheet.outcome().has_value());
        QVERIFY(!sheet.outcome()->isDone());
        QCOMPARE(sheet.outcome()->sentence(), QString("Broker: Unknown topic or partition"));
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("REFUSED"));
        QCOMPARE(sheet.outcomeBlock()->sentence()->text(), QString("Broker: Unknown topic or partition"));
        QVERIFY(sheet.fileButton()->isEnabled());
    }

    void workingDisablesFilingAndAClosedSheetLetsTheWriteFinish()
    {
        auto writer = std::make_shared<HeldWriter>();
        m_clients->writer = writer;
        QWidget window;
        window.show();
        QPointer<ProduceSheet> sheet = new ProduceSheet(std::nullopt, nullptr, m_session.get(), &window);
        sheet->setAttribute(Qt::WA_DeleteOnClose);
        sheet->setWindowModality(Qt::WindowModal);
        sheet->open();
        sheet->payloadEditor()->setExactText("{\"late\":true}");
        fill(*sheet, "closing early");
        sheet->file();
        QVERIFY(sheet->isWorking());
        QVERIFY(!sheet->fileButton()->isEnabled());
        QCOMPARE(sheet->fileButton()->labelText(), QString("Filing…"));
        // A second press while working files nothing more.
        sheet->file();
        sheet->close();
        QTRY_VERIFY(!sheet);
        writer->gate->release();
        QTRY_COMPARE(writer->produced.size(), 1);
        QCOMPARE(writer->produced.first().payload, QByteArray("{\"late\":true}"));
        // The session read the topic again after the filing, as with an open sheet.
        QTRY_VERIFY(!m_session->isLoadingMessages());
    }

    void onASmallWindowTheSheetFitsAndTheOutcomeIsSeen()
    {
        QWidget window;
        window.resize(820, 520);
        window.show();
        auto* sheet = new ProduceSheet(std::nullopt, nullptr, m_session.get(), &window);
        sheet->setWindowModality(Qt::WindowModal);
        sheet->open();
        auto footerShows = [sheet] {
            for (QWidget* part :
                 {static_cast<QWidget*>(sheet->cancelButton()), static_cast<QWidget*>(sheet->fileButton())})
                if (!sheet->rect().contains(QRect(part->mapTo(sheet, QPoint(0, 0)), part->size())))
                    return false;
            return true;
        };
        QVERIFY(sheet->height() <= window.height() && sheet->width() <= window.width());
        QVERIFY(footerShows());
        // The sheet follows the window: its full size on a large one, back down on a small one.
        window.resize(1500, 960);
        QTRY_COMPARE(sheet->size(), QSize(ActionPage::pageWidth, ActionPage::pageHeight));
        window.resize(820, 520);
        QTRY_VERIFY(sheet->height() <= window.height());
        QVERIFY(footerShows());

        // Tab from the topic to the reason brings each field whole into view as it takes the focus.
        sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        sheet->topicField()->setFocus();
        for (QWidget* next : QList<QWidget*>{sheet->keyField(), sheet->payloadEditor(), sheet->reasonField()}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
            QTRY_VERIFY2(sheet->page()->inView(next), next->metaObject()->className());
        }

        // After each filing the result is in view and holds the focus, wherever the form was scrolled.
        sheet->payloadEditor()->setExactText("{\"n\":1}");
        fill(*sheet, "seen");
        for (int round = 1; round <= 2; ++round) {
            sheet->page()->scrollArea()->ensureWidgetVisible(sheet->topicField());
            sheet->file();
            QTRY_COMPARE(sheet->strikes(), round);
            QVERIFY(sheet->outcome()->isDone());
            QTRY_VERIFY(sheet->page()->inView(sheet->outcomeBlock()));
            QCOMPARE(sheet->focusWidget(), sheet->outcomeBlock()->sentence());
        }
        delete sheet;
    }

    void aPublishWhoseAnswerWasLostIsNeitherFiledNorRefused()
    {
        auto clients = std::make_shared<FakeFactory>();
        const Broker broker = rabbitBroker();
        clients->rabbit = std::make_shared<FakeRabbit>(broker);
        clients->rabbit->listing = {{topic("jobs")}, {}};
        clients->rabbit->publishError =
            KafkaError(RabbitClient::uncertainCode, "the node went quiet after the publish");
        auto session = connectedSession(clients, broker);
        session->setSelectedTopic(QStringLiteral("jobs"));
        ProduceSheet sheet(std::nullopt, nullptr, session.get());
        sheet.show();
        sheet.payloadEditor()->setExactText("x");
        fill(sheet, "retry");
        sheet.file();
        QTRY_VERIFY(sheet.outcome().has_value());
        QCOMPARE(sheet.outcome()->which(), AppOutcome::uncertain);
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("UNCONFIRMED"));
        QVERIFY(sheet.outcomeBlock()->caution()->isVisibleTo(sheet.outcomeBlock()));
        QCOMPARE(sheet.outcomeBlock()->sentence()->text(), QString("the node went quiet after the publish"));
        // A later filing that goes through is plainly filed again.
        clients->rabbit->publishError.reset();
        sheet.file();
        QTRY_COMPARE(sheet.strikes(), 2);
        QCOMPARE(sheet.outcomeBlock()->stampText(), QString("FILED"));
        QVERIFY(!sheet.outcomeBlock()->caution()->isVisibleTo(sheet.outcomeBlock()));
    }

    void anAvroOrCutCopyIsNeverFiledAndAKeyThatIsNotTextIsNamed()
    {
        Message avro = source(std::nullopt, QByteArray("\x00\x00\x00\x00\x07\x02", 6));
        avro.setDecoded(Message::Decoded{7, "{\"amount\":1}", std::nullopt});
        ProduceSheet sheet(avro, nullptr, m_session.get());
        sheet.show();
        QCOMPARE(sheet.payloadEditor()->exactText(), QString("{\"amount\":1}"));
        fill(sheet, "try anyway");
        QVERIFY(!sheet.canFile());
        QVERIFY(!sheet.fileButton()->isEnabled());
        sheet.file();
        QTest::qWait(20);
        QVERIFY(m_clients->writer->produced.isEmpty());

        // Nor is a payload read cut: its first bytes would be filed as the whole message.
        Message cut = source(std::nullopt, "{\"amount\":");
        cut.setWholePayloadSize(4096);
        ProduceSheet cutSheet(cut, nullptr, m_session.get());
        cutSheet.show();
        fill(cutSheet, "try anyway");
        QVERIFY(!cutSheet.fileButton()->isEnabled());
        cutSheet.file();
        QTest::qWait(20);
        QVERIFY(m_clients->writer->produced.isEmpty());

        ProduceSheet binaryKey(source(QByteArray("\xff\x00", 2), "{}"), nullptr, m_session.get());
        binaryKey.show();
        QVERIFY(binaryKey.keyNote()->isVisible());
        QVERIFY(binaryKey.keyField()->text().isEmpty());
        ProduceSheet textKey(source(QByteArray("k"), "{}"), nullptr, m_session.get());
        textKey.show();
        QVERIFY(!textKey.keyNote()->isVisible());
    }
};

QTEST_MAIN(TestProduceSheet)
#include "tst_ProduceSheet.moc"
