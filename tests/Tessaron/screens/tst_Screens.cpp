// Runs the screens tool as a reader would and checks what it wrote: every file it names exists,
// is a picture with something drawn on it, is named "<screen>-<state>" with a known screen word,
// comes at 1x and 2x, and nothing else is in the folder. The tool itself must report no failure.
#include <QDir>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <sys/resource.h>

namespace {

const QString tool = QStringLiteral(TESSARON_SCREENS_TOOL);
const QString folder = QStringLiteral(TESSARON_SCREENS_DIR);

struct Run {
    int exitCode = -1;
    QStringList written;
    QString errors;
};

Run runTool(const QStringList& args, const QStringList& environment = {})
{
    QProcess process;
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& pair : environment)
            env.insert(pair.section('=', 0, 0), pair.section('=', 1));
        process.setProcessEnvironment(env);
        // Whatever it would load, the tool stays within 4 GB: a stop is a failure, never a stall. Not
        // under AddressSanitizer, whose shadow memory alone reserves terabytes of address space.
#ifndef __SANITIZE_ADDRESS__
        process.setChildProcessModifier([] {
            const rlimit limit{4ull << 30, 4ull << 30};
            setrlimit(RLIMIT_AS, &limit);
        });
#endif
    }
    process.start(tool, args);
    Run run;
    if (!process.waitForFinished(540'000)) {
        process.kill();
        process.waitForFinished();
        run.errors = "the tool did not finish";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.written = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Something was drawn: neither empty nor transparent, and more than a few pixels differ from the
// commonest colour.
bool drawn(const QImage& image)
{
    if (image.isNull() || image.width() < 16 || image.height() < 16)
        return false;
    QHash<QRgb, int> counts;
    int samples = 0;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            ++counts[image.pixel(x, y)];
            ++samples;
        }
    }
    QRgb common = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            common = it.key();
        }
    }
    return qAlpha(common) > 0 && samples - most > std::max(20, samples / 500);
}

} // namespace

class TestScreens : public QObject {
    Q_OBJECT
private slots:
    void everyScreenIsWrittenAndDrawn()
    {
        // A family that stopped shooting a state must not pass on last run's picture.
        QDir(folder).removeRecursively();
        const Run run = runTool({folder});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
        QVERIFY2(!run.errors.contains("tessaron-screens:"), qPrintable(run.errors));

        static const QRegularExpression name(
            "^(style|reception|form|tabs|workspace|sidebar|banner|browser|exhibit|consent|picker|briefing|notes|"
            "verdict|skew|group|produce|reset|ask|settings|about|whatsnew|intro)-[a-z0-9]+(-[a-z0-9]+)*(@2x)?\\.png$");
        QSet<QString> listed;
        for (const QString& path : run.written) {
            const QFileInfo file(path);
            QCOMPARE(file.absolutePath(), QFileInfo(folder).absoluteFilePath());
            QVERIFY2(name.match(file.fileName()).hasMatch(), qPrintable(file.fileName()));
            QVERIFY2(!listed.contains(file.fileName()), qPrintable("written twice: " + file.fileName()));
            listed.insert(file.fileName());
            const QImage image(path);
            QVERIFY2(drawn(image), qPrintable("blank: " + path));
            if (!file.fileName().endsWith("@2x.png")) {
                const QString twice = file.absolutePath() + '/' + file.completeBaseName() + "@2x.png";
                const QImage big(twice);
                QVERIFY2(!big.isNull(), qPrintable("no 2x picture for " + path));
                QCOMPARE(big.size(), image.size() * 2);
            }
        }
        const QStringList present = QDir(folder).entryList(QDir::Files);
        QCOMPARE(QSet<QString>(present.begin(), present.end()), listed);
        if (listed.isEmpty())
            qInfo("no family of screens is registered yet");
    }

    void aPlantedRichLabelIsReportedInEveryFamily()
    {
        // Each family shows names, keys and payloads that look like markup (one names /dev/zero) in a
        // "hostile" state. Switched to rich text, every label showing one is reported by screen,
        // state and widget, and the audit loads nothing it names. (The reception's cards, the sidebar's
        // rows and the produce sheet show their data painted or in fields, never in a label; settings
        // shows none.)
        const Run run =
            runTool({"--audit", "en", "1020x660"},
                    {"TESSARON_FACE_PLANT=rich", "TESSARON_FACE_STATES=hostile", "QT_QPA_PLATFORM=offscreen"});
        QCOMPARE(run.exitCode, 1);
        for (const char* state :
             {"form-hostile", "sidebar-hostile-search", "browser-hostile", "exhibit-hostile", "briefing-hostile",
              "notes-hostile", "group-hostile", "reset-hostile", "ask-hostile"}) {
            const QRegularExpression reported(
                QStringLiteral("tessaron-screens: %1 en 1020x660 @1x rich: \\S+").arg(QLatin1String(state)));
            QVERIFY2(reported.match(run.errors).hasMatch(), qPrintable(QString(state) + '\n' + run.errors));
        }
    }

    void refusesWhatItCannotDo()
    {
        QCOMPARE(runTool({}).exitCode, 2);
        const Run unknown = runTool({folder + "-unused", "no-such-family"});
        QCOMPARE(unknown.exitCode, 2);
        QVERIFY(unknown.errors.contains("no family named no-such-family"));
        QVERIFY(unknown.written.isEmpty());

        // An option is never taken for the folder: --help tells the use, anything else is refused.
        const Run help = runTool({"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.written.value(0).startsWith("usage: tessaron-screens DIR"));
        const Run option = runTool({"--verbose", folder + "-unused"});
        QCOMPARE(option.exitCode, 2);
        QVERIFY(option.errors.contains("unknown option --verbose"));
        QVERIFY(!QDir(folder + "-unused").exists() && !QDir("--verbose").exists());
    }
};

QTEST_GUILESS_MAIN(TestScreens)
#include "tst_Screens.moc"
