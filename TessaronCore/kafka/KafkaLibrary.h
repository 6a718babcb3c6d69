#pragma once

#include <QString>

namespace tessaron::kafka {

// The Kafka library this program was linked with, as "librdkafka 2.14.2": what a bug report about a
// broker needs first, shown by --version and the about window.
QString libraryVersion();

} // namespace tessaron::kafka
