#include "AppTestSupport.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/workspace/TabBar.h"
#include "VelkinUI/Brand.h"

#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;

class TestTabBar : public QObject {
    Q_OBJECT

private:
    std::shared_ptr<fakes::FakeFactory> m_clients;
    std::unique_ptr<AppState> m_app;

    TabChip* chipOf(TabBar& bar, const BrokerSession* session)
    {
        for (TabChip* chip : bar.chips()) {
            if (chip->brokerId() == session->id())
                return chip;
        }
        return nullptr;
    }

private slots:
    void init()
    {
        m_clients = std::make_shared<fakes::FakeFactory>();
        m_clients->kafka->listed = QList<Topic>{apptest::orders()};
        m_app = std::make_unique<AppState>(m_clients);
    }

    void cleanup() { m_app.reset(); }

    void chipsFollowTheSessionsAndClicksSelect()
    {
        TabBar bar(m_app.get());
        bar.show();
        QVERIFY(bar.chips().isEmpty());
        BrokerSession* a = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("alpha")));
        BrokerSession* b = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("beta")));
        QCOMPARE(bar.chips().size(), 2);
        QCOMPARE(bar.chips()[0]->brokerId(), a->id());
        QCOMPARE(bar.chips()[1]->brokerId(), b->id());
        QVERIFY(!bar.chips()[0]->isSelected());
        QVERIFY(bar.chips()[1]->isSelected());
        // The selected chip shows its close button; an idle one does not.
        QVERIFY(bar.chips()[1]->closeButton()->isVisible());
        QVERIFY(!bar.chips()[0]->closeButton()->isVisible());

        QSignalSpy selected(m_app.get(), &AppState::selectedChanged);
        QTest::mouseClick(bar.chips()[0], Qt::LeftButton);
        QCOMPARE(m_app->selected(), std::optional<QUuid>(a->id()));
        QVERIFY(bar.chips()[0]->isSelected());
        QVERIFY(!bar.chips()[1]->isSelected());
        QCOMPARE(selected.count(), 1);
        // The newly chosen chip's name turns DemiBold and gets the room it then needs.
        bar.resize(900, bar.sizeHint().height());
        QTRY_VERIFY(bar.chips()[0]->width() >= bar.chips()[0]->sizeHint().width());
        // Clicking the selected chip changes nothing.
        QTest::mouseClick(bar.chips()[0], Qt::LeftButton);
        QCOMPARE(selected.count(), 1);
        // The keyboard reaches the chips too.
        bar.chips()[1]->setFocus();
        QTest::keyClick(bar.chips()[1], Qt::Key_Space);
        QCOMPARE(m_app->selected(), std::optional<QUuid>(b->id()));
    }

    void aChipShowsItsRingOnlyWhenTheKeyboardBroughtTheFocus()
    {
        TabBar bar(m_app.get());
        apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("alpha")));
        apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("beta")));
        bar.show();
        QVERIFY(QTest::qWaitForWindowActive(&bar));
        const QColor accent = TessaronPalette::accent();
        const auto ringed = [&](QWidget* chip) {
            const QImage image = chip->grab().toImage().convertToFormat(QImage::Format_RGB32);
            int near = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    near += std::abs(c.red() - accent.red()) + std::abs(c.green() - accent.green())
                            + std::abs(c.blue() - accent.blue())
                        < 40;
                }
            }
            return near > chip->width();
        };
        TabChip* first = bar.chips()[0];
        QTest::mouseClick(first, Qt::LeftButton);
        QVERIFY(first->hasFocus());
        QVERIFY(first->isSelected());
        QVERIFY(!ringed(first));
        // Away and back by the keyboard: now the ring shows.
        QTest::keyClick(first, Qt::Key_Tab);
        QVERIFY(!first->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(first->hasFocus());
        QVERIFY(ringed(first));
        // A click on the other chip takes the focus without a ring, and leaves none behind.
        TabChip* second = bar.chips()[1];
        QTest::mouseClick(second, Qt::LeftButton);
        QVERIFY(second->hasFocus());
        QVERIFY(!ringed(second));
        QVERIFY(!ringed(first));
    }

    void closingTabsMovesTheSelectionRightmost()
    {
        TabBar bar(m_app.get());
        bar.show();
        BrokerSession* a = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("a")));
        BrokerSession* b = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("b")));
        BrokerSession* c = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("c")));
        const QUuid idA = a->id(), idC = c->id();

        // The selected middle tab closes through its own button: the rightmost one takes over.
        m_app->setSelected(b->id());
        QTest::mouseClick(chipOf(bar, b)->closeButton(), Qt::LeftButton);
        QCOMPARE(m_app->sessions().size(), 2);
        QCOMPARE(m_app->selected(), std::optional<QUuid>(idC));
        QCOMPARE(bar.chips().size(), 2);

        // An unselected tab, closed while hovered, leaves the selection alone.
        TabChip* first = chipOf(bar, a);
        QVERIFY(!first->closeButton()->isVisible());
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(first, &enter);
        QVERIFY(first->closeButton()->isVisible());
        QTest::mouseClick(first->closeButton(), Qt::LeftButton);
        QCOMPARE(m_app->selected(), std::optional<QUuid>(idC));
        QCOMPARE(m_app->sessions().size(), 1);
        QCOMPARE(bar.chips().size(), 1);
        Q_UNUSED(idA);

        // The last one: nothing is selected and the reception is not asked for.
        m_app->setShowingPicker(true);
        QTest::mouseClick(bar.chips()[0]->closeButton(), Qt::LeftButton);
        QVERIFY(m_app->sessions().isEmpty());
        QVERIFY(!m_app->selected());
        QVERIFY(!m_app->showingPicker());
        QVERIFY(bar.chips().isEmpty());
    }

    void dotsTellTheConnectionState()
    {
        TabBar bar(m_app.get());
        // Connecting: held at the listing.
        auto gate = m_clients->kafka->gates.hold(QStringLiteral("topics"));
        m_app->open(fakes::kafkaBroker(QStringLiteral("slow")));
        BrokerSession* slow = m_app->activeSession();
        QVERIFY(slow->isConnecting());
        QCOMPARE(chipOf(bar, slow)->statusColor(), Brand::palette().at(2));
        gate->release();
        QTRY_VERIFY(!slow->isConnecting());
        QCOMPARE(chipOf(bar, slow)->statusColor(), QColor::fromRgbF(0.33f, 0.80f, 0.56f));

        m_clients->makeError = KafkaError(-1, QStringLiteral("refused"));
        BrokerSession* failed = apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("failed")));
        QCOMPARE(chipOf(bar, failed)->statusColor(), QColor::fromRgbF(0.98f, 0.58f, 0.26f));
        m_clients->makeError.reset();

        // A connected RabbitMQ broker shows grey, not the Kafka green.
        m_clients->rabbit = std::make_shared<fakes::FakeRabbit>(fakes::rabbitBroker());
        BrokerSession* rabbit = apptest::openSettled(*m_app, fakes::rabbitBroker());
        QVERIFY(rabbit->connection());
        QColor grey(Qt::white);
        grey.setAlphaF(0.3);
        QCOMPARE(chipOf(bar, rabbit)->statusColor(), grey);
    }

    void plusAsksForTheReceptionThroughTheSharedAction()
    {
        apptest::openSettled(*m_app, fakes::kafkaBroker());
        {
            TabBar bar(m_app.get());
            bar.show();
            QVERIFY(!bar.plusButton()->accessibleName().isEmpty());
            QTest::mouseClick(bar.plusButton(), Qt::LeftButton);
            QVERIFY(m_app->showingPicker());
        }
        m_app->setShowingPicker(false);
        QAction openAnother;
        int fired = 0;
        connect(&openAnother, &QAction::triggered, this, [&] { ++fired; });
        TabBar bar(m_app.get(), &openAnother);
        bar.show();
        QTest::mouseClick(bar.plusButton(), Qt::LeftButton);
        QCOMPARE(fired, 1);
        // The action decides what happens; the button adds nothing of its own.
        QVERIFY(!m_app->showingPicker());
    }

    void aLongNameStaysOnOneLine()
    {
        TabBar bar(m_app.get());
        apptest::openSettled(*m_app, fakes::kafkaBroker(QStringLiteral("short")));
        apptest::openSettled(*m_app, fakes::kafkaBroker(QString(80, QLatin1Char('w'))));
        QCOMPARE(bar.chips()[0]->sizeHint().height(), bar.chips()[1]->sizeHint().height());
    }
};

QTEST_MAIN(TestTabBar)
#include "tst_TabBar.moc"
