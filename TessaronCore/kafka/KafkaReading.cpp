#include "TessaronCore/kafka/KafkaReading.h"

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

QCoro::Task<QList<Message>> KafkaReading::read(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                               int32_t timeoutMs)
{
    auto pending = page(std::move(topic), partition, std::move(from), limit, timeoutMs);
    Page result = co_await pending;
    co_return std::move(result.messages);
}

} // namespace tessaron
