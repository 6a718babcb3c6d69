#pragma once

#include "support/FaceAudit.h"

namespace tessaron {

// Every fault the face audit may meet in the screens tool and let pass, each with its reason, in
// one place (FaceExceptions.cpp).
const QList<testing::FaceException>& faceExceptions();

} // namespace tessaron
