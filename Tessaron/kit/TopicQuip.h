#pragma once

#include "TessaronCore/model/BrokerKind.h"
#include "TessaronCore/model/Topic.h"

#include <QString>

namespace tessaron {

// The mascot's one-line remark on a topic or queue: the one thing most worth knowing about it,
// already localised. Never empty.
QString topicQuip(BrokerKind kind, const Topic& topic);

} // namespace tessaron
