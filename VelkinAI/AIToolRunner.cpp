#include "VelkinAI/AIToolRunner.h"

#include "VelkinAI/AIError.h"
#include "VelkinInfra/process/ChildProcess.h"
#include "VelkinInfra/process/ShellRunner.h"

#include <QDir>
#include <QTemporaryDir>

namespace tessaron {

QCoro::Task<AIToolRunner::Output> AIToolRunner::run(QString executable, QStringList arguments, int timeoutMs,
                                                    qint64 maxOutputBytes)
{
    for (const QString& argument : arguments) {
        if (argument.toUtf8().size() > maxArgumentBytes)
            throw AIError::makeTooLong();
    }

    // A fresh empty folder of its own, removed when the run ends.
    QTemporaryDir workDir(QDir::tempPath() + QStringLiteral("/tessaron-ai-XXXXXX"));
    if (!workDir.isValid())
        throw AIError::makeLaunchFailed(workDir.errorString());

    ChildProcess::Request request;
    request.executable = std::move(executable);
    request.arguments = std::move(arguments);
    request.environment = ShellRunner::augmentedEnvironment();
    request.workingDirectory = workDir.path();
    request.limitMs = timeoutMs;
    request.maxOutputBytes = maxOutputBytes;
    auto running = ChildProcess::run(std::move(request));
    const ChildProcess::Result result = co_await std::move(running);
    if (result.launchError)
        throw AIError::makeLaunchFailed(*result.launchError);
    if (result.timedOut)
        throw AIError::makeTimedOut(qMax(1, (timeoutMs + 999) / 1000));

    Output output;
    output.standardOutput = QString::fromUtf8(result.standardOutput);
    output.standardError = QString::fromUtf8(result.standardError);
    output.exitCode = result.crashed ? -1 : result.exitCode;
    co_return output;
}

} // namespace tessaron
