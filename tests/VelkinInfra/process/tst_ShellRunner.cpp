#include "VelkinInfra/process/ChildProcess.h"
#include "VelkinInfra/process/ShellRunner.h"
#include "support/SyncWait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

using namespace tessaron;
using testing::syncWait;

namespace {

QString writeScript(const QString& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir + QLatin1Char('/') + name;
    QDir().mkpath(dir);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    return path;
}

// Gone, or a zombie nobody has reaped yet: either way no longer running.
bool processRunning(pid_t pid)
{
    if (::kill(pid, 0) != 0)
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || line.mid(close + 2, 1) != "Z";
}

std::optional<QString> launchFailureOf(const QString& executable)
{
    const auto outcome = testing::outcomeOf<ShellRunner::ShellError>(ShellRunner::run(executable, {}));
    if (!outcome.error)
        return std::nullopt;
    return outcome.error->description();
}

class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char* name)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_value(qgetenv(name))
    { }
    ~EnvironmentVariable()
    {
        if (m_had)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_value;
};

} // namespace

class TestShellRunner : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString home() const { return qEnvironmentVariable("HOME"); }

private slots:
    void outputAndExitCodes()
    {
        const auto echo = syncWait(ShellRunner::run(QStringLiteral("/bin/echo"), {QStringLiteral("hello")}));
        QCOMPARE(echo.stdout, QStringLiteral("hello\n"));
        QCOMPARE(echo.stderr, QString());
        QCOMPARE(echo.exitCode, 0);
        QVERIFY(echo.ok());

        const auto failed = syncWait(ShellRunner::run(QStringLiteral("/bin/sh"),
                                                      {QStringLiteral("-c"), QStringLiteral("echo oops >&2; exit 3")}));
        QCOMPARE(failed.exitCode, 3);
        QVERIFY(!failed.ok());
        QCOMPARE(failed.stderr, QStringLiteral("oops\n"));

        // Arguments reach the child as they are, without a shell in between.
        const auto literal =
            syncWait(ShellRunner::run(QStringLiteral("/bin/echo"), {QStringLiteral("$HOME; `id` 'q'")}));
        QCOMPARE(literal.stdout, QStringLiteral("$HOME; `id` 'q'\n"));

        const auto killed =
            syncWait(ShellRunner::run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}));
        QVERIFY(!killed.ok());

        const auto binary =
            syncWait(ShellRunner::run(QStringLiteral("/usr/bin/printf"), {QStringLiteral("\\377\\376")}));
        QCOMPARE(binary.stdout, QString()); // not UTF-8
    }

    void launchFailure()
    {
        const auto failure = launchFailureOf(QStringLiteral("/nonexistent/tool"));
        QVERIFY(failure);
        QVERIFY(failure->startsWith(QStringLiteral("Failed to launch process: ")));
        QVERIFY(failure->size() > QStringLiteral("Failed to launch process: ").size());
        const auto folder = launchFailureOf(m_dir.path());
        QVERIFY2(folder, "no error for a folder");
        const ShellRunner::ShellError error(QStringLiteral("why"));
        QCOMPARE(error.kind(), ShellRunner::ShellError::launchFailed);
        QCOMPARE(QString::fromUtf8(error.what()), error.description());
    }

    void standardInputIsAtEnd()
    {
        const auto out = syncWait(
            ShellRunner::run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("cat; echo done")}));
        QCOMPARE(out.stdout, QStringLiteral("done\n"));
    }

    void largeOutputOnBothStreams()
    {
        // Interleaved writes of a megabyte to each stream: with either pipe left undrained the
        // child would block for ever.
        const QString script = QStringLiteral(
            "i=0; while [ $i -lt 2000 ]; do printf '%0511d\\n' 0; printf '%0511d\\n' 1 >&2; i=$((i+1)); done;"
            "head -c 3000000 /dev/zero | tr '\\000' e >&2; head -c 3000000 /dev/zero | tr '\\000' o");
        const auto out = syncWait(ShellRunner::run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}));
        QCOMPARE(out.exitCode, 0);
        QCOMPARE(out.stdout.size(), qsizetype(2000 * 512 + 3000000));
        QCOMPARE(out.stderr.size(), qsizetype(2000 * 512 + 3000000));
        QVERIFY(out.stdout.endsWith(QLatin1Char('o')) && out.stderr.endsWith(QLatin1Char('e')));
    }

    void environments()
    {
        const auto given =
            syncWait(ShellRunner::run(QStringLiteral("/usr/bin/env"), {}, ShellRunner::Environment{{"ONLY", "this"}}));
        QCOMPARE(given.stdout, QStringLiteral("ONLY=this\n"));

        const QStringList dirs = ShellRunner::commonBinDirs();
        QCOMPARE(dirs.size(), 9);
        QCOMPARE(dirs[0], home() + QStringLiteral("/.local/bin"));
        QCOMPARE(dirs[3], home() + QStringLiteral("/.bun/bin"));
        QCOMPARE(dirs[8], QStringLiteral("/usr/bin"));

        const auto inherited = syncWait(
            ShellRunner::run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf %s \"$PATH\"")}));
        QCOMPARE(inherited.stdout, dirs.join(':') + QLatin1Char(':') + qEnvironmentVariable("PATH"));

        {
            EnvironmentVariable path("PATH");
            qunsetenv("PATH");
            QCOMPARE(ShellRunner::augmentedEnvironment().value("PATH"),
                     dirs.join(':') + QStringLiteral(":/usr/bin:/bin"));
        }
        {
            EnvironmentVariable homeVariable("HOME");
            qunsetenv("HOME");
            const QString fromDatabase = QString::fromLocal8Bit(getpwuid(getuid())->pw_dir);
            QCOMPARE(ShellRunner::homeDirectory(), fromDatabase);
            QCOMPARE(ShellRunner::augmentedEnvironment().value("HOME"), fromDatabase);
            QCOMPARE(ShellRunner::commonBinDirs().first(), fromDatabase + QStringLiteral("/.local/bin"));
        }
        QCOMPARE(ShellRunner::augmentedEnvironment().value("HOME"), home());
    }

    void loginShellIsTheUsersOwn()
    {
        const QString shell = ShellRunner::loginShell();
        QVERIFY(QFileInfo(shell).isAbsolute());
        QVERIFY(QFileInfo(shell).isExecutable());
        const passwd* entry = getpwuid(getuid());
        if (entry && entry->pw_shell && QFileInfo(QString::fromLocal8Bit(entry->pw_shell)).isExecutable())
            QCOMPARE(shell, QString::fromLocal8Bit(entry->pw_shell));
    }

    void resolveThroughTheLoginShell()
    {
        const auto sh = syncWait(ShellRunner::resolve(QStringLiteral("sh")));
        QVERIFY(sh);
        QVERIFY(QFileInfo(*sh).isAbsolute() && QFileInfo(*sh).isExecutable());

        // Greeting lines before the answer: the last line counts.
        const QString tool = writeScript(m_dir.path() + "/elsewhere", "greeted-tool", "exit 0\n");
        const QString chatty = writeScript(m_dir.path(), "chatty-shell",
                                           "echo 'Welcome back!'\necho\necho '" + tool.toUtf8() + "'\necho\n");
        QCOMPARE(syncWait(ShellRunner::resolveWith(QStringLiteral("greeted-tool"), chatty, 5000)),
                 std::optional<QString>(tool));

        // The name reaches the shell as one quoted word.
        const QString echoing =
            writeScript(m_dir.path(), "echoing-shell", "printf '%s\\n' \"$2\" > \"$0.seen\"\nexit 1\n");
        syncWait(ShellRunner::resolveWith(QStringLiteral("claude"), echoing, 5000));
        QFile seen(echoing + ".seen");
        QVERIFY(seen.open(QIODevice::ReadOnly));
        QCOMPARE(seen.readAll(), QByteArray("command -v 'claude'\n"));
    }

    void resolveFallsBackToTheFolders()
    {
        const QString name = QStringLiteral("tessaron-fake-tool");
        const QString inFourth = writeScript(home() + "/.bun/bin", name, "exit 0\n");
        // A copy in an earlier folder that is not executable does not count.
        writeScript(home() + "/.local/bin", name, "exit 0\n");
        QFile::setPermissions(home() + "/.local/bin/" + name, QFile::ReadOwner | QFile::WriteOwner);

        QCOMPARE(syncWait(ShellRunner::resolveWith(name, QStringLiteral("/bin/false"), 5000)),
                 std::optional<QString>(inFourth));
        QCOMPARE(syncWait(ShellRunner::resolveWith(name, QStringLiteral("/nonexistent/shell"), 5000)),
                 std::optional<QString>(inFourth));

        // Answers that are not an absolute path to an executable file are not taken.
        for (const QByteArray& answer :
             {QByteArray("tessaron-fake-tool"), QByteArray("alias tessaron-fake-tool='x'"),
              QByteArray("/nonexistent/tessaron-fake-tool"), (home() + "/.local/bin/" + name).toUtf8()}) {
            const QString shell = writeScript(m_dir.path(), "answering-shell", "echo \"" + answer + "\"\n");
            QCOMPARE(syncWait(ShellRunner::resolveWith(name, shell, 5000)), std::optional<QString>(inFourth));
        }

        QCOMPARE(syncWait(ShellRunner::resolve(name)), std::optional<QString>(inFourth));
        QVERIFY(!syncWait(ShellRunner::resolve(QStringLiteral("tessaron-nowhere-to-be-found"))));
    }

    void unsafeNamesAreRefused()
    {
        writeScript(home() + "/.local/bin", "ok-name", "exit 0\n");
        for (const QString& name :
             {QString(), QStringLiteral("../bin/sh"), QStringLiteral("/bin/sh"), QStringLiteral("-v"),
              QStringLiteral("a'b"), QStringLiteral("x;touch pwned"), QStringLiteral("$(id)"), QStringLiteral("..")})
            QVERIFY2(!syncWait(ShellRunner::resolve(name)), qPrintable(name));
        QVERIFY(!QFileInfo::exists(QDir::currentPath() + "/pwned"));
    }

    void nothingOutlivesARun()
    {
        // A child that leaves a background process behind and exits at once: the run ends with it.
        const auto out = syncWait(ShellRunner::run(
            QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 300 >/dev/null 2>&1 & echo $!")}));
        const pid_t left = pid_t(out.stdout.trimmed().toInt());
        QVERIFY(left > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!processRunning(left), 5000);
    }

    void quittingEndsEveryRunningChild()
    {
        // Two runs under way, each with a background child in its group.
        const QString pids = m_dir.path() + "/running.pids";
        const QString tool =
            writeScript(m_dir.path(), "long-tool", "sleep 300 &\necho $$ $! >> '" + pids.toUtf8() + "'\nsleep 300\n");
        std::optional<ChildProcess::Result> first, second;
        auto runOne = [&](std::optional<ChildProcess::Result>& into) -> QCoro::Task<> {
            ChildProcess::Request request;
            request.executable = tool;
            auto running = ChildProcess::run(std::move(request));
            into = co_await std::move(running);
        };
        auto a = runOne(first);
        auto b = runOne(second);
        QList<pid_t> started;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                QFile f(pids);
                if (!f.open(QIODevice::ReadOnly))
                    return false;
                started.clear();
                for (const QByteArray& pid : f.readAll().simplified().split(' '))
                    started << pid_t(pid.toInt());
                return started.size() == 4;
            }(),
            5000);
        for (pid_t pid : started)
            QVERIFY(processRunning(pid));

        ChildProcess::endAll();
        // Bounds for a machine busy with a build, not waits: each returns as soon as it holds.
        QTRY_VERIFY_WITH_TIMEOUT(first && second, 20000);
        QVERIFY(first->crashed && second->crashed);
        for (pid_t pid : started)
            QTRY_VERIFY_WITH_TIMEOUT(!processRunning(pid), 20000);
    }

    void hangingShellIsBounded()
    {
        const QString pidFile = m_dir.path() + "/grandchild.pid";
        const QString hanging = writeScript(m_dir.path(), "hanging-shell",
                                            "sleep 300 &\necho $! > '" + pidFile.toUtf8() + "'\nsleep 300\n");
        const QString name = QStringLiteral("bounded-tool");
        const QString fallback = writeScript(home() + "/.deno/bin", name, "exit 0\n");

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(syncWait(ShellRunner::resolveWith(name, hanging, 1000)), std::optional<QString>(fallback));
        QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));

        QFile f(pidFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const pid_t grandchild = pid_t(f.readAll().trimmed().toInt());
        QVERIFY(grandchild > 0);
        // The whole process group went, not only the shell.
        QTRY_VERIFY_WITH_TIMEOUT(!processRunning(grandchild), 5000);
    }
};

QTEST_GUILESS_MAIN(TestShellRunner)
#include "tst_ShellRunner.moc"
