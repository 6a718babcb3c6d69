// What the session reads on its own: after a selection, a change of tab, a change of language and a
// refresh of the listing. No view is built; the calls the fake clients saw are the answer.
#include "support/SessionFakes.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QScopeGuard>
#include <QTest>

using namespace tessaron;
using namespace tessaron::fakes;

namespace {

struct Policy {
    std::shared_ptr<FakeFactory> clients = std::make_shared<FakeFactory>();
    AppState app{clients};
    BrokerSession* kafka = nullptr;

    Policy()
    {
        UserDefaults::standard().setInteger(Prefs::messagesPerRead, 2);
        clients->kafka->listed = QList<Topic>{topic("orders", {{0, 3}}), topic("payments", {{0, 2}})};
        clients->kafka->held["orders"][0] = {message("orders", 0, 0, 1000), message("orders", 0, 1, 2000),
                                             message("orders", 0, 2, 3000)};
        clients->kafka->held["payments"][0] = {message("payments", 0, 0, 1000), message("payments", 0, 1, 2000)};
        clients->kafka->listedGroups = QList<ConsumerGroup>{{"billing", "Stable", false}};
        kafka = open(kafkaBroker("cluster"));
    }
    ~Policy() { UserDefaults::standard().remove(Prefs::messagesPerRead); }

    BrokerSession* open(const Broker& broker)
    {
        app.open(broker);
        BrokerSession* session = app.activeSession();
        [&] { QTRY_VERIFY(session->topicsListed() && !session->isLoadingTopics()); }();
        clients->kafka->calls.clear();
        return session;
    }
    qsizetype pages(const QString& topic) const { return clients->kafka->calls.filter("page " + topic + ' ').size(); }
    qsizetype describes() const { return clients->kafka->calls.count("describe billing"); }
    // Lets every queued follow-up and the reads it starts run out.
    void settle() const
    {
        QTest::qWait(20);
        QTRY_VERIFY(!kafka->isLoadingMessages() && !kafka->isLoadingGroup());
    }
};

} // namespace

class TestSessionReadPolicy : public QObject {
    Q_OBJECT
private slots:
    void aSelectionReadsWhatItShowsOnce()
    {
        Policy p;
        p.kafka->setSelectedTopic(QString("orders"));
        p.settle();
        QCOMPARE(p.clients->kafka->calls.filter("page "), QStringList{"page orders 0 tail 2 limit 2"});
        QCOMPARE(p.kafka->messages().size(), 2);
        p.kafka->setSelectedTopic(QString("orders")); // no change, no read
        p.settle();
        QCOMPARE(p.pages("orders"), 1);

        // A group clears the topic and is loaded; the topic is not read again.
        p.kafka->setSelectedGroup(QString("billing"));
        p.settle();
        QVERIFY(!p.kafka->selectedTopic());
        QCOMPARE(p.describes(), 1);
        QVERIFY(p.kafka->groupDetail());
        QCOMPARE(p.pages("orders"), 1);

        // A topic again: the group's detail goes at once, and nothing more is described.
        p.kafka->setSelectedTopic(QString("payments"));
        QVERIFY(!p.kafka->groupDetail());
        p.settle();
        QCOMPARE(p.pages("payments"), 1);
        QCOMPARE(p.describes(), 1);

        // Selections made in one turn read only the last.
        p.kafka->setSelectedTopic(QString("orders"));
        p.kafka->setSelectedTopic(QString("payments"));
        p.kafka->setSelectedTopic(QString("orders"));
        p.settle();
        QCOMPARE(p.pages("orders"), 2);
        QCOMPARE(p.pages("payments"), 1);

        // A read of the new selection asked for at once is its only read.
        p.kafka->setSelectedTopic(QString("payments"));
        syncWait(p.kafka->read(BrokerSession::Position::atOffset(1), 2, false));
        p.settle();
        QCOMPARE(p.clients->kafka->calls.filter("page payments"),
                 (QStringList{"page payments 0 tail 2 limit 2", "page payments 0 offset 1 limit 2"}));
        QCOMPARE(p.kafka->position(), BrokerSession::Position::atOffset(1));
    }

    void aTabReadsAgainWhenChosenALanguageOrARefreshReadsNothing()
    {
        Policy p;
        p.kafka->setSelectedTopic(QString("orders"));
        p.settle();
        syncWait(p.kafka->read(BrokerSession::Position::atOffset(1), 2, false));
        p.clients->kafka->calls.clear();

        // Another language: the session keeps what it read, and asks nothing.
        const auto restore = qScopeGuard([] { UserDefaults::standard().remove(L10n::key); });
        UserDefaults::standard().setString(L10n::key, QStringLiteral("pt"));
        p.settle();
        QVERIFY(p.clients->kafka->calls.isEmpty());
        QCOMPARE(p.kafka->position(), BrokerSession::Position::atOffset(1));

        // A refresh lists again; it reads no messages and loads no group.
        syncWait(p.kafka->refreshTopics());
        p.settle();
        QVERIFY(p.clients->kafka->calls.contains("topics"));
        QCOMPARE(p.pages("orders"), 0);
        QCOMPARE(p.kafka->position(), BrokerSession::Position::atOffset(1));

        // Another tab and back: the selection is read afresh from the newest.
        BrokerSession* rabbit = p.open(rabbitBroker());
        QCOMPARE(p.app.activeSession(), rabbit);
        p.settle();
        QCOMPARE(p.pages("orders"), 0);
        p.app.setSelected(p.kafka->id());
        p.settle();
        QCOMPARE(p.clients->kafka->calls.filter("page "), QStringList{"page orders 0 tail 2 limit 2"});
        QCOMPARE(p.kafka->position(), BrokerSession::Position::atTail());

        // A group selected in the tab is loaded again when the tab comes back.
        p.kafka->setSelectedGroup(QString("billing"));
        p.settle();
        p.app.setSelected(rabbit->id());
        p.app.setSelected(p.kafka->id());
        p.settle();
        QCOMPARE(p.describes(), 2);
        QCOMPARE(p.pages("orders"), 1);
    }
};

QTEST_GUILESS_MAIN(TestSessionReadPolicy)
#include "tst_SessionReadPolicy.moc"
