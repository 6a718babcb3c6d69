#include "TessaronCore/kafka/KafkaLibrary.h"

#include <librdkafka/rdkafka.h>

namespace tessaron::kafka {

QString libraryVersion() { return QStringLiteral("librdkafka ") + QString::fromUtf8(rd_kafka_version_str()); }

} // namespace tessaron::kafka
