#include "VelkinAI/AIToolRunner.h"

#include "VelkinAI/AIError.h"
#include "VelkinInfra/process/ShellRunner.h"

#include <QCoroProcess>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

#include <signal.h>
#include <unistd.h>

namespace tessaron {

namespace {

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

// Kills the tool's whole process group when the run ends, however it ends (answer, time-out,
// failure): children the tool left running in the background go with it.
struct GroupEnd {
    qint64 pid = 0;
    ~GroupEnd()
    {
        if (pid > 0)
            ::kill(-pid_t(pid), SIGKILL);
    }
};

} // namespace

QProcessEnvironment AIToolRunner::augmentedEnvironment()
{
    QProcessEnvironment env;
    const ShellRunner::Environment augmented = ShellRunner::augmentedEnvironment();
    for (auto it = augmented.cbegin(); it != augmented.cend(); ++it)
        env.insert(it.key(), it.value());
    return env;
}

QCoro::Task<AIToolRunner::Output> AIToolRunner::run(QString executable, QStringList arguments, int timeoutMs,
                                                    qint64 maxOutputBytes)
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
    // Declared after the process, so it runs first when the frame goes: the group is gone before
    // the process object waits for its child.
    GroupEnd groupEnd{pid};
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

} // namespace tessaron
