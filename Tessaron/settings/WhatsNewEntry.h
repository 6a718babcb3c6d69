#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

class UserDefaults;

// One release's notes. Headlines and item texts are kept in English and localised when shown, so
// a change of language never leaves a heading behind in the old one.
struct WhatsNewEntry {
    struct Item {
        QString icon;
        QString text;
    };

    QString version;
    QString headline;
    QString headlineAccent;
    QList<Item> items;

    QString id() const { return version; }

    // The table, newest first.
    static const QList<WhatsNewEntry>& all();
    // The entry of exactly this version, or nothing.
    static std::optional<WhatsNewEntry> entry(const QString& version);
    // The notes the user still owes a look: nothing before the introduction is done, nothing when
    // the running version is the one last seen or has no entry. Only reads.
    static std::optional<WhatsNewEntry> unseen(bool onboarded);
    static std::optional<WhatsNewEntry> unseen(bool onboarded, const UserDefaults& store);
    // What the settings and about windows show when asked: the running version's entry, else the
    // newest one.
    static std::optional<WhatsNewEntry> entryOnRequest();
    // Records the running version as seen.
    static void markSeen();
    static void markSeen(UserDefaults& store);

    // The running version and the build, as BuildInfo gives them.
    static QString currentVersion();
    static QString buildNumber();
    // For tests: stand-ins for the built version and build (BuildInfo's); nothing restores the
    // built ones.
    static void overrideVersion(std::optional<QString> version);
    static void overrideBuild(std::optional<QString> build);
};

} // namespace tessaron
