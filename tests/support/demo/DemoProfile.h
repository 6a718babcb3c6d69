#pragma once

#include "TessaronCore/model/Broker.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaron::demo {

// A throwaway profile for the application: HOME and the XDG folders under one folder, with the
// brokers file naming the demo brokers. Pointing the application at it (environment()) keeps
// the user's own brokers, preferences and keyring out of reach.
//
//   <folder>/home, config, data, cache, run (the last private to the user)
//   <folder>/data/tessaron.velkin/brokers.json
//   <folder>/config/tessaron.velkin/preferences.json (the introduction marked done)
class DemoProfile {
public:
    DemoProfile() = delete;

    // Creates the folders and writes both files; the reason when something could not be written.
    static std::optional<QString> write(const QString& folder, const QList<Broker>& brokers);

    static QString brokersFile(const QString& folder);
    static QString preferencesFile(const QString& folder);
    // HOME and XDG_{CONFIG,DATA,CACHE}_HOME, XDG_RUNTIME_DIR as NAME=value pairs.
    static QStringList environment(const QString& folder);
};

} // namespace tessaron::demo
