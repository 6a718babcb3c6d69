#pragma once

#include <QString>

namespace tessaron {

// The application's own folder inside the user's data folder ($XDG_DATA_HOME/tessaron.velkin).
// Paths are computed on every use; failures to create folders are ignored and the path is
// returned all the same, so callers find out when they write.
class AppSupport {
public:
    AppSupport() = delete;

    // The folder, created with any missing parents.
    static QString root();
    // A file inside the folder; nothing is created beyond the folder itself.
    static QString url(const QString& name);
    // A sub-folder, created when missing.
    static QString directory(const QString& name);
};

} // namespace tessaron
