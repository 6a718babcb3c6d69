#include "VelkinInfra/process/ChildProcess.h"

#include <QCoroProcess>
#include <QCoroFuture>
#include <QFuture>
#include <QPromise>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>

#include <chrono>
#include <memory>

#include <signal.h>
#include <unistd.h>

namespace tessaron {

namespace {

// Appends what the channel has to the buffer up to the cap; the rest is read and dropped.
void drain(QProcess* process, QProcess::ProcessChannel channel, QByteArray& buffer, qint64 cap)
{
    process->setReadChannel(channel);
    const QByteArray chunk = process->readAll();
    const qint64 room = cap - buffer.size();
    if (room > 0)
        buffer.append(chunk.left(room));
}

void killGroup(qint64 pid)
{
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
}

// The groups of the children running now; their runs take them out again.
QSet<qint64>& runningGroups()
{
    static QSet<qint64> groups;
    return groups;
}

} // namespace

QCoro::Task<ChildProcess::Result> ChildProcess::run(Request request)
{
    auto process = std::make_unique<QProcess>();
    QProcess* raw = process.get();
    raw->setProgram(request.executable);
    raw->setArguments(request.arguments);
    QProcessEnvironment env;
    for (auto it = request.environment.cbegin(); it != request.environment.cend(); ++it)
        env.insert(it.key(), it.value());
    raw->setProcessEnvironment(env);
    if (!request.workingDirectory.isEmpty())
        raw->setWorkingDirectory(request.workingDirectory);
    raw->setStandardInputFile(QProcess::nullDevice());
    raw->setProcessChannelMode(QProcess::SeparateChannels);
    raw->setChildProcessModifier([] { ::setsid(); });

    // The buffers live in the frame; the connections die with the process before the frame does.
    Result result;
    const qint64 cap = request.maxOutputBytes;
    QObject::connect(raw, &QProcess::readyReadStandardOutput, raw,
                     [raw, &result, cap] { drain(raw, QProcess::StandardOutput, result.standardOutput, cap); });
    QObject::connect(raw, &QProcess::readyReadStandardError, raw,
                     [raw, &result, cap] { drain(raw, QProcess::StandardError, result.standardError, cap); });

    // Waits for the start through a promise rather than qCoro's start(), which waits out its whole
    // time-out when the program cannot be started at all.
    auto settled = std::make_shared<QPromise<void>>();
    settled->start();
    QObject::connect(raw, &QProcess::stateChanged, raw, [settled](QProcess::ProcessState state) {
        if (state != QProcess::Starting && !settled->future().isFinished())
            settled->finish();
    });
    raw->start(QIODevice::ReadOnly);
    // The fork is done when start() returns: the child is known from here, before its exec is
    // reported, so a quit in between still ends it.
    const qint64 pid = raw->processId();
    if (pid > 0)
        runningGroups().insert(pid);
    if (raw->state() == QProcess::Starting) {
        QFuture<void> starting = settled->future();
        co_await starting;
    }
    if (raw->state() == QProcess::NotRunning && raw->error() == QProcess::FailedToStart) {
        result.launchError = raw->errorString();
        runningGroups().remove(pid);
        raw->disconnect();
        co_return result;
    }

    const auto limit = request.limitMs ? std::chrono::milliseconds(*request.limitMs) : std::chrono::milliseconds(-1);
    const bool finished = co_await qCoro(raw).waitForFinished(limit);
    if (!finished) {
        result.timedOut = true;
        killGroup(pid);
        raw->kill();
        co_await qCoro(raw).waitForFinished(std::chrono::milliseconds(5000));
    }
    // Background children of the tool share its group; none outlives the run.
    killGroup(pid);
    runningGroups().remove(pid);
    drain(raw, QProcess::StandardOutput, result.standardOutput, cap);
    drain(raw, QProcess::StandardError, result.standardError, cap);
    raw->disconnect();
    result.crashed = raw->exitStatus() == QProcess::CrashExit;
    result.exitCode = raw->exitCode();
    co_return result;
}

void ChildProcess::endAll()
{
    // A child caught before its setsid() has no group of its own yet, hence the kill of the pid too.
    for (qint64 pid : std::as_const(runningGroups())) {
        killGroup(pid);
        ::kill(pid_t(pid), SIGKILL);
    }
}

} // namespace tessaron
