#include "VelkinAI/AIProvider.h"

#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AIError.h"
#include "VelkinAI/AIToolRunner.h"
#include "VelkinInfra/process/ShellRunner.h"

#include <QMutex>

namespace tessaron {

namespace {

QMutex limitsMutex;
AIProvider::Limits sharedLimits;

// The coroutines below take everything by value: an AIProvider is a small value that may be gone
// before the lookups and the run finish.
QCoro::Task<std::optional<AICLI>> detectFirst()
{
    for (AICLI cli : AICLI::allCases()) {
        const std::optional<QString> path = co_await ShellRunner::resolve(cli.binary());
        if (path)
            co_return cli;
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<AICLI>> resolveChoice(std::optional<QString> choice)
{
    const std::optional<AICLI> chosen = choice ? AICLI::fromRawValue(*choice) : std::nullopt;
    if (chosen) {
        const std::optional<QString> path = co_await ShellRunner::resolve(chosen->binary());
        if (path)
            co_return chosen;
    }
    co_return co_await detectFirst();
}

QCoro::Task<QString> runTool(QString prompt, AICLI cli, AIProvider::Limits limits)
{
    if (prompt.trimmed().isEmpty())
        throw AIError::makeEmptyInput();
    const std::optional<QString> path = co_await ShellRunner::resolve(cli.binary());
    if (!path)
        throw AIError::makeNotFound(cli);
    const QStringList arguments = cli.arguments(prompt);
    const AIToolRunner::Output output =
        co_await AIToolRunner::run(*path, arguments, limits.runMs, limits.maxOutputBytes);
    if (output.ok())
        co_return output.standardOutput.trimmed();
    const QString error = output.standardError.trimmed();
    throw AIError::makeFailed(error.isEmpty() ? L10n::t("Exited with code %d", output.exitCode) : error);
}

QCoro::Task<QString> resolveAndRun(QString prompt, std::optional<QString> choice, AIProvider::Limits limits)
{
    const std::optional<AICLI> cli = co_await resolveChoice(choice);
    if (!cli)
        throw AIError::makeNoProvider();
    co_return co_await runTool(prompt, *cli, limits);
}

QCoro::Task<QMap<AICLI, QString>> detectAll()
{
    QMap<AICLI, QString> found;
    for (AICLI cli : AICLI::allCases()) {
        const std::optional<QString> path = co_await ShellRunner::resolve(cli.binary());
        if (path)
            found.insert(cli, *path);
    }
    co_return found;
}

} // namespace

AIProvider::Limits AIProvider::defaultLimits()
{
    QMutexLocker lock(&limitsMutex);
    return sharedLimits;
}

void AIProvider::setDefaultLimits(const Limits& limits)
{
    QMutexLocker lock(&limitsMutex);
    sharedLimits = limits;
}

QCoro::Task<QMap<AICLI, QString>> AIProvider::detect() const { return detectAll(); }

QCoro::Task<std::optional<AICLI>> AIProvider::detectBackend() const { return detectFirst(); }

QCoro::Task<std::optional<AICLI>> AIProvider::resolveBackend() const
{
    // The choice is read now; only the lookups are awaited. Anything but a tool's raw value
    // (including "auto") means automatic detection.
    std::optional<QString> choice;
    if (m_prefs)
        choice = m_prefs->stringFor(backendPrefKey, autoValue);
    return resolveChoice(choice);
}

QCoro::Task<QString> AIProvider::run(QString prompt, AICLI cli) const
{
    return runTool(std::move(prompt), cli, m_limits);
}

QCoro::Task<QString> AIProvider::run(QString prompt) const
{
    std::optional<QString> choice;
    if (m_prefs)
        choice = m_prefs->stringFor(backendPrefKey, autoValue);
    return resolveAndRun(std::move(prompt), choice, m_limits);
}

} // namespace tessaron
