#pragma once

#include <QCoroTask>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaron {

// Runs AI command-line tools, always within bounds: every child runs in a fresh empty
// private working directory, in a process group of its own that is killed whole when the run ends
// (answered, failed or overran its time), with standard input from the null device and its
// output read up to a cap.
class AIToolRunner {
public:
    AIToolRunner() = delete;

    struct Output {
        QString standardOutput;
        QString standardError;
        int exitCode = 0;
        bool ok() const { return exitCode == 0; }
    };

    // The kernel refuses a single argument of 128 KiB or more (terminating zero included).
    static constexpr qsizetype maxArgumentBytes = 128 * 1024 - 1;

    // The process environment with the common program folders in front of PATH and HOME filled in.
    static QProcessEnvironment augmentedEnvironment();

    // Runs the executable with the arguments (no shell involved) in the augmented environment.
    // Throws AIError: launchFailed, timedOut (the process group was killed) or tooLong (an argument
    // the kernel would refuse). A non-zero exit is not an error; it is in `exitCode`.
    static QCoro::Task<Output> run(QString executable, QStringList arguments, int timeoutMs, qint64 maxOutputBytes);
};

} // namespace tessaron
