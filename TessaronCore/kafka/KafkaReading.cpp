#include "TessaronCore/kafka/KafkaReading.h"

namespace tessaron {

QCoro::Task<QList<Message>> KafkaReading::read(QString topic, int32_t partition, StartPosition from, qsizetype limit,
                                               int32_t timeoutMs)
{
    // Named: GCC 12 destroys temporaries of a co_await expression twice.
    auto pending = page(std::move(topic), partition, std::move(from), limit, timeoutMs);
    Page result = co_await pending;
    co_return std::move(result.messages);
}

} // namespace tessaron
