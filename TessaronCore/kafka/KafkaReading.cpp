#include "TessaronCore/kafka/KafkaReading.h"

namespace tessaron {

QCoro::Task<QList<Message>> KafkaReading::read(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                               int32_t timeoutMs)
{
    auto pending = page(std::move(topic), partition, std::move(from), limit, timeoutMs);
    Page result = co_await pending;
    co_return std::move(result.messages);
}

} // namespace tessaron
