#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <qcoro/qcorotask.h>

#include <cstdint>
#include <exception>
#include <optional>

namespace tessaron {

// Finds command-line tools the way the user's login shell would (or in a list of common program
// folders) and runs them as child processes, collecting what they print.
//
// Every child runs through ChildProcess: awaited from the main thread's event loop, which never
// blocks.
class ShellRunner {
public:
    ShellRunner() = delete;

    using Environment = QMap<QString, QString>;

    struct Output {
        QString stdout;
        QString stderr;
        // The exit status, or the signal number when the child was killed.
        int32_t exitCode = 0;
        bool ok() const { return exitCode == 0; }
    };

    // The only failure: the child could not be started.
    class ShellError : public std::exception {
    public:
        enum Case { launchFailed };
        explicit ShellError(QString reason)
            : m_reason(std::move(reason))
            , m_utf8(description().toUtf8())
        { }
        Case kind() const { return launchFailed; }
        const QString& reason() const { return m_reason; }
        QString description() const { return QStringLiteral("Failed to launch process: ") + m_reason; }
        const char* what() const noexcept override { return m_utf8.constData(); }

    private:
        QString m_reason;
        QByteArray m_utf8;
    };

    // The nine folders searched after the login shell, in order; computed on every call.
    static QStringList commonBinDirs();
    // The current home folder: $HOME, or the password database's entry when the variable is unset.
    static QString homeDirectory();
    // The user's login shell: the password database's, then $SHELL, then /bin/sh.
    static QString loginShell();
    // This process's environment with the common folders put in front of PATH (PATH alone when
    // there is none) and HOME set when missing.
    static Environment augmentedEnvironment();

    // Runs `executable` (an absolute path) with `arguments` as they are, standard input at end of
    // file, in `environment` (the augmented one when absent). A non-zero exit is not a failure.
    // Throws ShellError when the child cannot be started.
    static QCoro::Task<Output> run(QString executable, QStringList arguments,
                                   std::optional<Environment> environment = std::nullopt);

    // The absolute path of the tool called `name`, or nothing. Never fails.
    static QCoro::Task<std::optional<QString>> resolve(QString name);
    // As resolve, with the shell and the time it may take given.
    static QCoro::Task<std::optional<QString>> resolveWith(QString name, QString shell, int shellLimitMs);

    // How long the login shell may take to answer before its process group is killed.
    static constexpr int kLoginShellLimitMs = 10000;
};

} // namespace tessaron
