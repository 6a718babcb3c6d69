#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <qcoro/qcorotask.h>

#include <optional>

namespace tessaron {

// The one way this program runs a child process: awaited from the main thread's event loop, never
// blocking it. The child leads a process group of its own with standard input at end of file;
// whatever it leaves behind in that group (background children included) is killed when the run
// ends, however it ends. Both output streams are drained as they fill, kept up to a cap each, the
// rest read and dropped, so a chatty child never stalls on a full pipe. Being leaders of their
// own groups, children would outlive this program; endAll ends them when it quits.
struct ChildProcess {
    struct Request {
        QString executable; // an absolute path; no shell is involved
        QStringList arguments;
        QMap<QString, QString> environment;       // the whole environment of the child
        QString workingDirectory;                 // empty: this process's own
        std::optional<int> limitMs;               // the child's group is killed when it runs longer
        qint64 maxOutputBytes = 16 * 1024 * 1024; // per stream
    };

    struct Result {
        std::optional<QString> launchError; // set when the child could not be started
        bool timedOut = false;
        bool crashed = false; // ended by a signal
        int exitCode = 0;     // the exit status; with `crashed`, what Qt reports for the signal
        QByteArray standardOutput;
        QByteArray standardError;
    };

    static QCoro::Task<Result> run(Request request);

    // Kills the process group of every child still running, for an application that quits: the
    // runs awaiting them then end as crashed. Main thread only.
    static void endAll();
};

} // namespace tessaron
