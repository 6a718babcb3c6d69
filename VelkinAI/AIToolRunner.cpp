#include "VelkinAI/AIToolRunner.h"

#include "VelkinAI/AIError.h"

#include <QCoroProcess>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace tessaron {

namespace {

QString homeFolder()
{
    return QDir::homePath();
}

// The user's own login shell, when it understands POSIX positional parameters; the tool's name
// is handed to it as "$1", never spliced into the command text.
std::optional<QString> posixLoginShell()
{
    QString shell;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_shell && *entry->pw_shell)
        shell = QString::fromLocal8Bit(entry->pw_shell);
    if (shell.isEmpty())
        shell = qEnvironmentVariable("SHELL");
    const QString base = QFileInfo(shell).fileName();
    static const QStringList posix = {QStringLiteral("sh"), QStringLiteral("bash"), QStringLiteral("zsh"),
                                      QStringLiteral("dash"), QStringLiteral("ksh"), QStringLiteral("mksh")};
    if (shell.isEmpty() || !posix.contains(base) || !QFileInfo(shell).isExecutable())
        return std::nullopt;
    return shell;
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isAbsolute() && info.isFile() && info.isExecutable();
}

// Appends what the channel has to the buffer up to the cap; the rest is read and dropped so the
// child never stalls on a full pipe.
void drain(QProcess* process, QProcess::ProcessChannel channel, QByteArray& buffer, qint64 cap)
{
    process->setReadChannel(channel);
    const QByteArray chunk = process->readAll();
    const qint64 room = cap - buffer.size();
    if (room > 0)
        buffer.append(chunk.left(room));
}

} // namespace

QStringList AIToolRunner::commonBinDirs()
{
    const QString home = homeFolder();
    return {home + QStringLiteral("/.local/bin"), QStringLiteral("/opt/homebrew/bin"), QStringLiteral("/usr/local/bin"),
            home + QStringLiteral("/.bun/bin"),   home + QStringLiteral("/.deno/bin"),  home + QStringLiteral("/.volta/bin"),
            home + QStringLiteral("/.npm-global/bin"), home + QStringLiteral("/n/bin"), QStringLiteral("/usr/bin")};
}

QProcessEnvironment AIToolRunner::augmentedEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString oldPath = env.contains(QStringLiteral("PATH")) ? env.value(QStringLiteral("PATH")) : QStringLiteral("/usr/bin:/bin");
    env.insert(QStringLiteral("PATH"), commonBinDirs().join(u':') + u':' + oldPath);
    if (!env.contains(QStringLiteral("HOME")))
        env.insert(QStringLiteral("HOME"), homeFolder());
    return env;
}

QCoro::Task<AIToolRunner::Output> AIToolRunner::run(QString executable, QStringList arguments, int timeoutMs, qint64 maxOutputBytes)
{
    for (const QString& argument : arguments) {
        if (argument.toUtf8().size() > maxArgumentBytes)
            throw AIError::makeTooLong();
    }

    // Declared before the process so the folder outlives it.
    QTemporaryDir workDir(QDir::tempPath() + QStringLiteral("/tessaron-ai-XXXXXX"));
    if (!workDir.isValid())
        throw AIError::makeLaunchFailed(workDir.errorString());

    auto process = std::make_unique<QProcess>();
    process->setProgram(executable);
    process->setArguments(arguments);
    process->setProcessEnvironment(augmentedEnvironment());
    process->setWorkingDirectory(workDir.path());
    process->setStandardInputFile(QProcess::nullDevice());
    // A group of its own, so that a stuck tool can be stopped together with its children.
    process->setChildProcessModifier([] { ::setsid(); });

    QByteArray out, err;
    QProcess* raw = process.get();
    QObject::connect(raw, &QProcess::readyReadStandardOutput, raw,
                     [raw, &out, maxOutputBytes] { drain(raw, QProcess::StandardOutput, out, maxOutputBytes); });
    QObject::connect(raw, &QProcess::readyReadStandardError, raw,
                     [raw, &err, maxOutputBytes] { drain(raw, QProcess::StandardError, err, maxOutputBytes); });

    const bool started = co_await qCoro(raw).start(QIODevice::ReadOnly);
    if (!started)
        throw AIError::makeLaunchFailed(raw->errorString());

    const qint64 pid = raw->processId();
    const bool finished = co_await qCoro(raw).waitForFinished(std::chrono::milliseconds(timeoutMs));
    if (!finished) {
        if (pid > 0)
            ::kill(-pid_t(pid), SIGKILL);
        raw->kill();
        co_await qCoro(raw).waitForFinished(std::chrono::milliseconds(5000));
        raw->disconnect();
        throw AIError::makeTimedOut(qMax(1, (timeoutMs + 999) / 1000));
    }
    drain(raw, QProcess::StandardOutput, out, maxOutputBytes);
    drain(raw, QProcess::StandardError, err, maxOutputBytes);
    raw->disconnect();

    Output output;
    output.standardOutput = QString::fromUtf8(out);
    output.standardError = QString::fromUtf8(err);
    output.exitCode = raw->exitStatus() == QProcess::NormalExit ? raw->exitCode() : -1;
    co_return output;
}

QCoro::Task<std::optional<QString>> AIToolRunner::resolve(QString name, int timeoutMs)
{
    if (const auto shell = posixLoginShell()) {
        try {
            const QStringList arguments{QStringLiteral("-ilc"), QStringLiteral("command -v \"$1\""), QStringLiteral("tessaron"), name};
            const Output found = co_await run(*shell, arguments, timeoutMs, 64 * 1024);
            if (found.ok()) {
                const QStringList lines = found.standardOutput.trimmed().split(u'\n', Qt::SkipEmptyParts);
                // Start-up files may print other lines first; only the last one counts, and only
                // when it names an executable (not an alias or a function).
                if (!lines.isEmpty() && isExecutableFile(lines.last().trimmed()))
                    co_return lines.last().trimmed();
            }
        } catch (const AIError&) {
            // A shell that cannot start or does not answer in time: fall back to the folders.
        }
    }
    for (const QString& dir : commonBinDirs()) {
        const QString candidate = dir + u'/' + name;
        if (isExecutableFile(candidate))
            co_return candidate;
    }
    co_return std::nullopt;
}

} // namespace tessaron
