#pragma once

// Internal helpers shared by the Kafka client and writer: owners for library objects, the
// library's texts, moments as the library wants them, handle creation and the queue frame.

#include "VelkinInfra/async/SerialQueue.h"
#include "TessaronCore/model/KafkaError.h"
#include "TessaronCore/kafka/KafkaPairs.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <librdkafka/rdkafka.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>

namespace tessaron::kafka {

template <auto Destroy> struct Destroyer {
    template <typename T> void operator()(T* p) const
    {
        if (p)
            Destroy(p);
    }
};

using OwnedTopic = std::unique_ptr<rd_kafka_topic_t, Destroyer<rd_kafka_topic_destroy>>;
using OwnedPartitionList =
    std::unique_ptr<rd_kafka_topic_partition_list_t, Destroyer<rd_kafka_topic_partition_list_destroy>>;
using OwnedEvent = std::unique_ptr<rd_kafka_event_t, Destroyer<rd_kafka_event_destroy>>;
using OwnedQueue = std::unique_ptr<rd_kafka_queue_t, Destroyer<rd_kafka_queue_destroy>>;
using OwnedOptions = std::unique_ptr<rd_kafka_AdminOptions_t, Destroyer<rd_kafka_AdminOptions_destroy>>;
using OwnedMessage = std::unique_ptr<rd_kafka_message_t, Destroyer<rd_kafka_message_destroy>>;
using OwnedHeaders = std::unique_ptr<rd_kafka_headers_t, Destroyer<rd_kafka_headers_destroy>>;
using OwnedError = std::unique_ptr<rd_kafka_error_t, Destroyer<rd_kafka_error_destroy>>;
using OwnedHandle = std::unique_ptr<rd_kafka_t, Destroyer<rd_kafka_destroy>>;

// The library's text for a code, as is.
QString libraryText(int32_t code);

// context + ": " + the library's text for the code.
KafkaError failure(int32_t code, const QString& context);

// Milliseconds since 1970-01-01 00:00:00 UTC.
int64_t momentMs(const QDateTime& moment);

// "2024-05-01 09:30:00 +0000".
QString momentText(const QDateTime& moment);

using OwnedMetadata = std::unique_ptr<const rd_kafka_metadata_t, Destroyer<rd_kafka_metadata_destroy>>;

// The cluster's metadata (every topic's when `allTopics`, else only the brokers'), waiting up to the
// time-out for a broker to answer. A reading handle stops waiting once every broker is down for a
// reason that waiting will not change: the broker refused the user name or password or presented a
// certificate that is not trusted, or, a second on, every address still refuses the connection. An
// address that does not answer at all is waited for. Fails with context + ": " + the cause.
OwnedMetadata awaitMetadata(rd_kafka_t* rk, bool allTopics, int32_t timeoutMs, const QString& context);

// A request no broker answered within the time-out: context + ": the broker at <its bootstrap
// address> did not answer within N s", with the library's code for a time-out.
KafkaError unanswered(rd_kafka_t* rk, const QString& context, int32_t timeoutMs);

// Fails with context + ": " + the cause unless some broker answers within the time-out.
// librdkafka 2.0 aborts the whole process when a request to a group's coordinator cannot be sent
// (its error path frees what it still uses); asking this first turns the commonest case, a
// cluster that is down, into a lost connection instead.
void requireAnswer(rd_kafka_t* rk, const QString& context, int32_t timeoutMs);

// Applies the pairs in order and makes a handle of the given type; library logs and errors go
// to the "tessaron.kafka" logging category instead of standard error. A producer's delivery
// reports go to `deliveryReport`, whose handle opaque is `opaque`.
rd_kafka_t* createHandle(rd_kafka_type_t type, const KafkaPairs& pairs,
                         void (*deliveryReport)(rd_kafka_t*, const rd_kafka_message_t*, void*) = nullptr,
                         void* opaque = nullptr);

// What the library reported about a reading handle's connections; its error callback writes it
// when a poll of the handle serves the reports. Handed to the library as the handle's opaque.
struct ConnectionNotes {
    struct Failure {
        int32_t code = 0;  // transport, name resolution, authentication or TLS
        QString text;      // the library's account, as reported
        quint64 count = 0; // failures reported so far
    };
    void noteFailure(int32_t code, const char* text);
    Failure lastFailure() const;

    // Whether every broker the handle knows of failed since the last answer. The library says so
    // itself only now and then (from 2.10 on it re-bootstraps instead, and a handle whose brokers
    // all refuse may never hear it), so each broker's reported failure counts as well.
    bool allBrokersDown() const;
    void noteAllBrokersDown();
    // A lookup was answered: what failed before says nothing any more. `brokers`, when known, is
    // how many brokers the cluster named.
    void answered(int brokers = 0);
    // How many brokers the handle knows of before any answer: its bootstrap addresses.
    void setKnownBrokers(int brokers);

private:
    mutable std::mutex m_lock;
    Failure m_failure;
    QSet<QString> m_failing; // brokers (the library's names for them) failed since the last answer
    int m_known = 1;
    bool m_libraryAllDown = false;
};

// The library handle that the jobs of one queue share. Jobs capture it, so a running
// operation keeps it alive; only the release job posted by the owner destroys it.
struct SharedHandle {
    rd_kafka_t* raw = nullptr;
    ConnectionNotes notes;
};

// The reader handle's notes, or nothing for other handles.
ConnectionNotes* connectionNotes(rd_kafka_t* rk);

// Why a connection failed, from the library's report: "the broker refused the user name or
// password (…)", "the broker's certificate is not trusted (…)", "the broker at … did not answer
// in time" for a first request that timed out, else the library's account.
QString connectionCause(int32_t code, const QString& report);

// Serves the handle's event queue once after a job, so that errors and logs raised while the
// brokers are down do not pile up.
struct PollAfter {
    rd_kafka_t* raw;
    ~PollAfter()
    {
        if (raw)
            rd_kafka_poll(raw, 0);
    }
};

// Runs `work(raw handle)` on the queue; the awaiting coroutine resumes with its value or error.
template <typename F> auto onQueue(SerialQueue& queue, std::shared_ptr<SharedHandle> handle, F work)
{
    using T = std::invoke_result_t<F, rd_kafka_t*>;
    return queue.run([handle = std::move(handle), work = std::move(work)]() -> T {
        PollAfter poll{handle->raw};
        return work(handle->raw);
    });
}

} // namespace tessaron::kafka
