#pragma once

#include "TessaronCore/model/Broker.h"

#include <QString>

namespace tessaron {

// How a saved broker guards its door, in one short sentence: the broker card and the sidebar's
// broker menu say the same.
QString securitySentence(const Broker& broker);

} // namespace tessaron
