// The read consent against the private RabbitMQ node (TESSARON_TEST_RABBITMQ_URL, started by
// scripts/services/run-with-services.sh): reading leaves the queue as deep as it was, and a quorum
// queue with a delivery limit is never read.
#include "support/RabbitTestSupport.h"

#include "Tessaron/browser/MessageListView.h"
#include "Tessaron/browser/ReadConsentPane.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "VelkinUI/KitButton.h"

#include <QTest>

using namespace tessaron;
using testing::ScratchVhost;
using testing::syncWait;

namespace {

std::optional<int64_t> depthOf(BrokerSession& session, const QString& queue)
{
    syncWait(session.loadTopics());
    for (const Topic& t : session.topics()) {
        if (t.name == queue)
            return t.declaredDepth;
    }
    return std::nullopt;
}

} // namespace

class TestConsentOnNode : public QObject {
    Q_OBJECT
private slots:
    void readingLeavesTheQueueAsItWasAndALimitedQuorumQueueIsNeverRead()
    {
        const QString url = ScratchVhost::nodeUrl();
        if (url.isEmpty())
            QSKIP("TESSARON_TEST_RABBITMQ_URL is not set: no RabbitMQ node (run under run-with-services.sh)");
        ScratchVhost vhost(url, "tessaron-consent-");
        vhost.declareQueue("jobs", "{\"durable\":true}");
        vhost.declareQueue("limited",
                           "{\"durable\":true,\"arguments\":{\"x-queue-type\":\"quorum\",\"x-delivery-limit\":2}}");

        AppState app;
        BrokerSession session(vhost.broker(), QString("guest"), std::nullopt, std::nullopt);
        syncWait(session.connectBroker());
        QVERIFY2(!session.connectionError(), qPrintable(session.connectionError().value_or("")));
        for (const char* payload : {"{\"n\":1}", "{\"n\":2}"})
            QVERIFY(syncWait(session.produce("jobs", std::nullopt, payload, "seeding")).isDone());
        QVERIFY(syncWait(session.produce("limited", std::nullopt, "{\"n\":3}", "seeding")).isDone());
        QTRY_COMPARE_WITH_TIMEOUT(depthOf(session, "jobs"), std::optional<int64_t>(2), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(depthOf(session, "limited"), std::optional<int64_t>(1), 15000);

        MessageListView view(&app, &session);
        session.setSelectedTopic(QString("jobs"));
        syncWait(session.readLatest()); // the workspace's first read: bindings only
        QCOMPARE(view.body(), BrowserBody::consent);
        QVERIFY(session.messages().isEmpty());

        QTest::mouseClick(view.consentPane()->readButton(), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(view.body(), BrowserBody::columns, 15000);
        QCOMPARE(session.messages().size(), 2);
        // Nothing was lost: the queue holds both messages again.
        QTRY_COMPARE_WITH_TIMEOUT(depthOf(session, "jobs"), std::optional<int64_t>(2), 15000);

        // The limited quorum queue shows the client's refusal in place of the consent, and is
        // never read, although the broker's consent was given.
        session.setSelectedTopic(QString("limited"));
        syncWait(session.readLatest());
        QCOMPARE(view.body(), BrowserBody::consent);
        QVERIFY(view.consentPane()->terms().refusal);
        QVERIFY(!view.consentPane()->readButton()->isVisibleTo(view.consentPane()));
        QVERIFY(session.messages().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(depthOf(session, "limited"), std::optional<int64_t>(1), 15000);
    }
};

QTEST_MAIN(TestConsentOnNode)
#include "tst_ConsentOnNode.moc"
