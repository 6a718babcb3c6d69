#pragma once

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QString>

// Fake AI command-line tools: shell scripts installed in ~/.local/bin of the test's throwaway
// home, the first folder the bridge searches after the login shell.
namespace faketools {

inline QString binDir() { return QDir::homePath() + QStringLiteral("/.local/bin"); }

inline void install(const QString& name, const QByteArray& body)
{
    QDir().mkpath(binDir());
    QFile file(binDir() + u'/' + name);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

inline void removeAll()
{
    QFile::remove(binDir() + QStringLiteral("/claude"));
    QFile::remove(binDir() + QStringLiteral("/codex"));
}

// Whether the process a fake tool wrote down is gone, or a zombie waiting for a reaper that is not
// ours.
inline bool processGone(const QString& pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    return fields.size() > 2 && fields[2] == "Z";
}

} // namespace faketools
