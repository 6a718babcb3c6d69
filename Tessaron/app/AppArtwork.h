#pragma once

#include <QIcon>

namespace tessaron::AppArtwork {

// The application's own drawings, compiled into the application library.
QIcon appIcon();
QIcon logoMark();

} // namespace tessaron::AppArtwork
