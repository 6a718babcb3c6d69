// tessaron-screens DIR [FAMILY...]
// tessaron-screens --audit LANGUAGE WIDTHxHEIGHT [FAMILY...]
//
// Renders every screen of every family (or of the families named) in each of its states to
// DIR/<screen>-<state>.png and DIR/<screen>-<state>@2x.png, prints each file written, and exits
// non-zero when any file could not be written or a family failed. Offscreen unless told
// otherwise, on a throwaway profile: no family can reach the user's own files or keyring.
//
// With --audit it writes nothing: every state is audited (tests/support/FaceAudit.h) in the
// language given (en, pt) with the main window at the size given, at 1x and 2x; it prints every
// fault not excused in FaceExceptions.cpp and exits non-zero when there is one.
#include "FaceExceptions.h"
#include "ScreenFamilies.h"
#include "ScreenShooter.h"
#include "Tessaron/app/TessaronApplication.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>

using namespace tessaron;

namespace {

struct Family {
    const char* name;
    void (*shoot)(ScreenShooter&);
};

// In the order they are shot.
const QList<Family> families = {
    {"app", shootApp},           {"reception", shootReception}, {"workspace", shootWorkspace},
    {"browser", shootBrowser},   {"casework", shootCasework},   {"actions", shootActions},
    {"settings", shootSettings}, {"intro", shootIntro},
};

void fail(const QString& text) { std::fprintf(stderr, "tessaron-screens: %s\n", qPrintable(text)); }

const char* const usage = "usage: tessaron-screens DIR [FAMILY...]\n"
                          "       tessaron-screens --audit en|pt WIDTHxHEIGHT [FAMILY...]\n"
                          "Renders every screen state of the families named (all when none is) to\n"
                          "DIR/<screen>-<state>.png and @2x.png, or audits them and writes nothing.\n"
                          "Families: app, reception, workspace, browser, casework, actions, settings, intro.\n";

} // namespace

int main(int argc, char** argv)
{
    // Options first, before anything is set up: an option taken for DIR would fill a folder
    // named after it.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg.startsWith('-') && !(i == 1 && arg == "--audit")) {
            fail("unknown option " + QString::fromLocal8Bit(arg));
            std::fputs(usage, stderr);
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before anything reads a path: HOME and the XDG folders point into a folder of our own, and
    // unless the caller runs a private keyring (scripts/test does), the session bus is out of
    // reach, so no family meets the user's keyring.
    QTemporaryDir profile;
    if (!profile.isValid()) {
        fail("could not create a temporary profile");
        return 1;
    }
    for (const char* sub : {"home", "config", "data", "cache", "run"})
        QDir(profile.path()).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(profile.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("HOME", profile.filePath("home").toUtf8());
    qputenv("XDG_CONFIG_HOME", profile.filePath("config").toUtf8());
    qputenv("XDG_DATA_HOME", profile.filePath("data").toUtf8());
    qputenv("XDG_CACHE_HOME", profile.filePath("cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", profile.filePath("run").toUtf8());
    if (qEnvironmentVariableIsEmpty("TESSARON_KEYRING_DIR"))
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");

    QApplication app(argc, argv);
    // The application's style, brand and fonts, once, before any family runs.
    TessaronApplication::prepare(app);

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs(usage, stderr);
        return 2;
    }
    const QString folder = args.takeFirst();
    std::unique_ptr<ScreenShooter> auditor;
    if (folder == QLatin1String("--audit")) {
        const QStringList size = args.size() >= 2 ? args.at(1).split(QLatin1Char('x')) : QStringList();
        if (size.size() != 2 || (args.at(0) != QLatin1String("en") && args.at(0) != QLatin1String("pt"))) {
            fail("usage: tessaron-screens --audit en|pt WIDTHxHEIGHT [FAMILY...]");
            return 2;
        }
        UserDefaults::standard().setString(L10n::key, args.at(0));
        auditor = std::make_unique<ScreenShooter>(QSize(size[0].toInt(), size[1].toInt()),
                                                  args.at(0) + QLatin1Char(' ') + args.at(1));
        args = args.mid(2);
    }
    for (const QString& name : args) {
        if (std::none_of(families.begin(), families.end(), [&](const Family& f) { return name == f.name; })) {
            fail("no family named " + name);
            return 2;
        }
    }

    if (!auditor)
        auditor = std::make_unique<ScreenShooter>(folder);
    ScreenShooter& shooter = *auditor;
    QStringList failures;
    for (const Family& family : families) {
        if (!args.isEmpty() && !args.contains(QString::fromLatin1(family.name)))
            continue;
        try {
            family.shoot(shooter);
        } catch (const std::exception& e) {
            failures << QString("family %1 failed: %2").arg(family.name, e.what());
        }
        // What a family leaves open must not show up in the next family's screens.
        for (QWidget* window : QApplication::topLevelWidgets())
            window->deleteLater();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    for (const QString& file : shooter.written())
        std::printf("%s\n", qPrintable(file));
    for (const QString& file : shooter.failures())
        failures << "could not write " + file;
    if (shooter.auditing()) {
        // TESSARON_FACE_EXCEPTIONS=off lists every fault, excused or not, to review the list.
        const bool excusing = qgetenv("TESSARON_FACE_EXCEPTIONS") != "off";
        const QList<testing::FaceViolation> open =
            excusing ? testing::FaceAudit::excuse(shooter.violations(), faceExceptions()) : shooter.violations();
        for (const testing::FaceViolation& v : open)
            failures << v.toString();
        std::printf("audited %d states: %lld faults, %lld excused\n", shooter.audited(),
                    static_cast<long long>(open.size()),
                    static_cast<long long>(shooter.violations().size() - open.size()));
    }
    // Every button has a name a screen reader can say.
    for (const QString& button : shooter.unnamed())
        failures << "unnamed button on " + button;
    for (const QString& failure : failures)
        fail(failure);
    return failures.isEmpty() ? 0 : 1;
}
