#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace tessaron {

// Library configuration as ordered key and value pairs; the order is the order of application.
using KafkaPairs = QList<std::pair<QString, QString>>;

} // namespace tessaron
