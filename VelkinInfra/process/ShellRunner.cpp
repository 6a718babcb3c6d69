#include "VelkinInfra/process/ShellRunner.h"

#include <QFileInfo>
#include <QFuture>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPromise>
#include <QRegularExpression>
#include <QStringDecoder>

#include <qcoro/qcorofuture.h>

#include <memory>
#include <pwd.h>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace tessaron {

namespace {

QString passwordDatabaseHome()
{
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? QString::fromLocal8Bit(entry->pw_dir) : QString();
}

QString decodeOrEmpty(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isAbsolute() && info.isFile() && info.isExecutable();
}

// Tool names only: no path separators, no option-like or shell-significant characters. This also
// keeps the name safe inside the single quotes of the shell command.
bool isPlainName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_.+@][A-Za-z0-9_.+@-]*$"));
    return plain.match(name).hasMatch() && name != QLatin1String(".") && name != QLatin1String("..");
}

struct ChildResult {
    std::optional<QString> launchError;
    ShellRunner::Output output;
    bool timedOut = false;
};

// Runs one child to its end on the calling thread. QProcess drains both pipes while it waits,
// so a child that fills standard error while standard output is still open cannot stall.
// With a limit, the child leads its own session and its whole process group is killed at the limit.
ChildResult runChild(const QString& executable, const QStringList& arguments,
                     const ShellRunner::Environment& environment, std::optional<int> limitMs)
{
    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    QProcessEnvironment env;
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        env.insert(it.key(), it.value());
    process.setProcessEnvironment(env);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::SeparateChannels);
    if (limitMs)
        process.setChildProcessModifier([]() { setsid(); });

    ChildResult result;
    process.start();
    if (!process.waitForStarted(-1)) {
        result.launchError = process.errorString();
        return result;
    }
    if (!process.waitForFinished(limitMs.value_or(-1))) {
        result.timedOut = true;
        const qint64 pid = process.processId();
        if (pid > 0)
            ::kill(-pid_t(pid), SIGKILL);
        process.kill();
        process.waitForFinished(5000);
    }
    result.output.stdout = decodeOrEmpty(process.readAllStandardOutput());
    result.output.stderr = decodeOrEmpty(process.readAllStandardError());
    result.output.exitCode = process.exitCode();
    if (process.exitStatus() == QProcess::CrashExit && result.output.exitCode == 0)
        result.output.exitCode = -1;
    return result;
}

// Runs `work` on a thread of its own and lets the awaiting coroutine resume on its own thread.
// A detached thread, not a pool: a child that never exits must not hold up the program's exit.
template <typename T, typename F> QFuture<T> onWorker(F work)
{
    auto promise = std::make_shared<QPromise<T>>();
    QFuture<T> future = promise->future();
    promise->start();
    std::thread([promise, work = std::move(work)]() mutable {
        promise->addResult(work());
        promise->finish();
    }).detach();
    return future;
}

QFuture<ChildResult> startRun(const QString& executable, const QStringList& arguments,
                              const std::optional<ShellRunner::Environment>& environment)
{
    ShellRunner::Environment env = environment ? *environment : ShellRunner::augmentedEnvironment();
    return onWorker<ChildResult>(
        [executable, arguments, env = std::move(env)]() { return runChild(executable, arguments, env, std::nullopt); });
}

QFuture<std::optional<QString>> startResolve(const QString& name)
{
    return onWorker<std::optional<QString>>([name]() { return ShellRunner::resolveBlocking(name); });
}

} // namespace

QString ShellRunner::homeDirectory()
{
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        return QString::fromLocal8Bit(home);
    const QString fromDatabase = passwordDatabaseHome();
    return fromDatabase.isEmpty() ? QStringLiteral("/") : fromDatabase;
}

QStringList ShellRunner::commonBinDirs()
{
    const QString home = homeDirectory();
    return {
        home + QStringLiteral("/.local/bin"),
        QStringLiteral("/opt/homebrew/bin"),
        QStringLiteral("/usr/local/bin"),
        home + QStringLiteral("/.bun/bin"),
        home + QStringLiteral("/.deno/bin"),
        home + QStringLiteral("/.volta/bin"),
        home + QStringLiteral("/.npm-global/bin"),
        home + QStringLiteral("/n/bin"),
        QStringLiteral("/usr/bin"),
    };
}

QString ShellRunner::loginShell()
{
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_shell) {
        const QString shell = QString::fromLocal8Bit(entry->pw_shell);
        if (isExecutableFile(shell))
            return shell;
    }
    const QString fromEnvironment = qEnvironmentVariable("SHELL");
    if (isExecutableFile(fromEnvironment))
        return fromEnvironment;
    return QStringLiteral("/bin/sh");
}

ShellRunner::Environment ShellRunner::augmentedEnvironment()
{
    Environment env;
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    for (const QString& key : system.keys())
        env.insert(key, system.value(key));

    // An empty PATH is treated as none: keeping it would add the working directory to the search.
    const QString oldPath = env.value(QStringLiteral("PATH"));
    env.insert(QStringLiteral("PATH"),
               commonBinDirs().join(QLatin1Char(':')) + QLatin1Char(':')
                   + (oldPath.isEmpty() ? QStringLiteral("/usr/bin:/bin") : oldPath));
    if (env.value(QStringLiteral("HOME")).isEmpty())
        env.insert(QStringLiteral("HOME"), homeDirectory());
    return env;
}

ShellRunner::Output ShellRunner::runBlocking(const QString& executable, const QStringList& arguments,
                                             const std::optional<Environment>& environment)
{
    ChildResult result =
        runChild(executable, arguments, environment ? *environment : augmentedEnvironment(), std::nullopt);
    if (result.launchError)
        throw ShellError(*result.launchError);
    return result.output;
}

QCoro::Task<ShellRunner::Output> ShellRunner::run(QString executable, QStringList arguments,
                                                  std::optional<Environment> environment)
{
    // Everything but the await stays outside the coroutine body: g++ 12 mishandles some
    // temporaries in coroutine frames.
    QFuture<ChildResult> running = startRun(executable, arguments, environment);
    ChildResult result = co_await running;
    if (result.launchError)
        throw ShellError(*result.launchError);
    co_return result.output;
}

std::optional<QString> ShellRunner::resolveWith(const QString& name, const QString& shell, int shellLimitMs)
{
    if (!isPlainName(name))
        return std::nullopt;

    const QString command = QStringLiteral("command -v '") + name + QLatin1Char('\'');
    const ChildResult answer = runChild(shell, {QStringLiteral("-ilc"), command}, augmentedEnvironment(), shellLimitMs);
    if (!answer.launchError && !answer.timedOut && answer.output.exitCode == 0) {
        // Start-up files may print first; only the last line is the answer, and only a path to an
        // executable file counts (an alias or a function is not something we can run).
        const QStringList lines = answer.output.stdout.trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!lines.isEmpty()) {
            const QString path = lines.last().trimmed();
            if (isExecutableFile(path))
                return path;
        }
    }

    for (const QString& folder : commonBinDirs()) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (isExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::optional<QString> ShellRunner::resolveBlocking(const QString& name)
{
    return resolveWith(name, loginShell(), kLoginShellLimitMs);
}

QCoro::Task<std::optional<QString>> ShellRunner::resolve(QString name)
{
    QFuture<std::optional<QString>> resolving = startResolve(name);
    std::optional<QString> path = co_await resolving;
    co_return path;
}

} // namespace tessaron
