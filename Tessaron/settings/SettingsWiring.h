#pragma once

namespace tessaron {

class WindowsService;

// Plugs the settings window, the about window and the notes of a new version into the
// application's view slots; the settings window's "The badge" opens the about window through
// `windows`.
void installSettingsViews(WindowsService* windows);

} // namespace tessaron
