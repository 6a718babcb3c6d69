#include "TessaronCore/kafka/KafkaReading.h"

#include <exception>

namespace tessaron {

QCoro::Task<QList<KafkaReading::MarkedTopic>> KafkaReading::watermarksOf(QList<Topic> topics, int32_t timeoutMs)
{
    QList<MarkedTopic> marked;
    marked.reserve(topics.size());
    for (qsizetype i = 0; i < topics.size(); ++i) {
        MarkedTopic answer;
        try {
            auto pending = watermarks(topics[i], timeoutMs);
            Topic done = co_await pending;
            answer.topic = std::move(done);
        } catch (const KafkaError& error) {
            answer.failure = error;
        }
        const bool lost = answer.failure && answer.failure->isTimeout();
        marked.append(std::move(answer));
        if (lost)
            break;
    }
    co_return marked;
}

QCoro::Task<QList<KafkaReading::PartitionPage>> KafkaReading::pages(QString topic, QList<PartitionStart> starts,
                                                                    qsizetype limit, int32_t timeoutMs)
{
    QList<PartitionPage> answers;
    answers.reserve(starts.size());
    for (const PartitionStart& start : starts) {
        PartitionPage answer{start.partition, std::nullopt, std::nullopt};
        try {
            auto pending = page(topic, start.partition, start.from, limit, timeoutMs);
            Page done = co_await pending;
            answer.page = std::move(done);
        } catch (const KafkaError& error) {
            answer.failure = error;
        } catch (const std::exception& error) {
            answer.failure = KafkaError(-1, QString::fromUtf8(error.what()));
        }
        const bool lost = answer.failure && answer.failure->isTimeout();
        answers.append(std::move(answer));
        if (lost)
            break;
    }
    co_return answers;
}

QCoro::Task<QList<Message>> KafkaReading::read(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                               int32_t timeoutMs)
{
    auto pending = page(std::move(topic), partition, std::move(from), limit, timeoutMs);
    Page result = co_await pending;
    co_return std::move(result.messages);
}

QCoro::Task<std::optional<QStringList>> KafkaReading::clusterOperations(int32_t) { co_return std::nullopt; }

} // namespace tessaron
