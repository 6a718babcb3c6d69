#pragma once

#include "TessaronCore/model/Message.h"

namespace tessaron::PayloadKinds {

// The kind of a message's payload. Telling JSON from text parses the whole payload, so the kinds
// of large payloads are remembered for the few messages seen last: the row and the exhibit of one
// message then parse it once between them.
PayloadKind of(const Message& message);

} // namespace tessaron::PayloadKinds
