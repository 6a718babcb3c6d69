#pragma once

#include <QString>

namespace tessaron {

// One message key's estimated share of a topic's messages. Identity is `key`.
struct KeyShare {
    QString key;
    double share = 0;   // 0 to 1
    qsizetype seen = 0; // sampled messages with this key

    const QString& id() const { return key; }
    friend bool operator==(const KeyShare&, const KeyShare&) = default;
};

} // namespace tessaron
