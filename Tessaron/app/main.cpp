#include "Tessaron/app/MainWindow.h"
#include "Tessaron/app/TessaronApplication.h"
#include "Tessaron/kit/BuildInfo.h"
#include "TessaronCore/kafka/KafkaLibrary.h"
#include "VelkinInfra/process/ChildProcess.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace {

// For the start-up benchmark: with TESSARON_FIRST_PAINT_EXIT set, the moment the main window's
// content has first painted is written to standard output (milliseconds since the epoch) and the
// program ends.
class FirstPaintProbe : public QObject {
public:
    FirstPaintProbe(QWidget* window, QObject* parent)
        : QObject(parent)
        , m_window(window)
    { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Any part of the window painting means the whole window is being painted in this pass.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && !m_seen && widget && widget->window() == m_window) {
            m_seen = true;
            QTimer::singleShot(0, qApp, [] {
                std::printf("first-paint %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* m_window;
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Answered before any window or style: what a package check or a bug report asks for.
    if (QApplication::arguments().contains(QStringLiteral("--version"))) {
        std::printf("tessaron-mq %s\n%s\n", qPrintable(tessaron::BuildInfo::version()),
                    qPrintable(tessaron::kafka::libraryVersion()));
        return 0;
    }
    tessaron::TessaronApplication::prepare(app);
    tessaron::TessaronApplication tessaron;
    if (qEnvironmentVariableIsSet("TESSARON_FIRST_PAINT_EXIT"))
        app.installEventFilter(new FirstPaintProbe(tessaron.mainWindow(), &app));
    tessaron.mainWindow()->show();
    // Children lead process groups of their own and would outlive the application.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [] { tessaron::ChildProcess::endAll(); });
    return app.exec();
}
