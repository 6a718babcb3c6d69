#include "VelkinInfra/process/ShellRunner.h"

#include "VelkinInfra/process/ChildProcess.h"

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringDecoder>

#include <pwd.h>
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

// A child's output as text: strict UTF-8, empty when it is not.
ShellRunner::Output outputOf(const ChildProcess::Result& result)
{
    ShellRunner::Output output;
    output.stdout = decodeOrEmpty(result.standardOutput);
    output.stderr = decodeOrEmpty(result.standardError);
    output.exitCode = result.exitCode;
    if (result.crashed && output.exitCode == 0)
        output.exitCode = -1;
    return output;
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

QCoro::Task<ShellRunner::Output> ShellRunner::run(QString executable, QStringList arguments,
                                                  std::optional<Environment> environment)
{
    ChildProcess::Request request;
    request.executable = std::move(executable);
    request.arguments = std::move(arguments);
    request.environment = environment ? std::move(*environment) : augmentedEnvironment();
    auto running = ChildProcess::run(std::move(request));
    const ChildProcess::Result result = co_await std::move(running);
    if (result.launchError)
        throw ShellError(*result.launchError);
    co_return outputOf(result);
}

QCoro::Task<std::optional<QString>> ShellRunner::resolveWith(QString name, QString shell, int shellLimitMs)
{
    if (!isPlainName(name))
        co_return std::nullopt;

    ChildProcess::Request request;
    request.executable = shell;
    request.arguments = {QStringLiteral("-ilc"), QStringLiteral("command -v '") + name + QLatin1Char('\'')};
    request.environment = augmentedEnvironment();
    request.limitMs = shellLimitMs;
    auto asking = ChildProcess::run(std::move(request));
    const ChildProcess::Result answer = co_await std::move(asking);
    if (!answer.launchError && !answer.timedOut && !answer.crashed && answer.exitCode == 0) {
        // Start-up files may print first; only the last line is the answer, and only a path to an
        // executable file counts (an alias or a function is not something we can run).
        const QStringList lines =
            decodeOrEmpty(answer.standardOutput).trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!lines.isEmpty()) {
            const QString path = lines.last().trimmed();
            if (isExecutableFile(path))
                co_return path;
        }
    }

    for (const QString& folder : commonBinDirs()) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (isExecutableFile(candidate))
            co_return candidate;
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<QString>> ShellRunner::resolve(QString name)
{
    auto resolving = resolveWith(std::move(name), loginShell(), kLoginShellLimitMs);
    std::optional<QString> path = co_await std::move(resolving);
    co_return path;
}

} // namespace tessaron
