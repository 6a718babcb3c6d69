#include "Tessaron/app/MainWindow.h"
#include "Tessaron/app/RootView.h"
#include "Tessaron/app/TessaronApplication.h"

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
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
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
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    tessaron::TessaronApplication::prepare(app);
    tessaron::TessaronApplication tessaron;
    if (qEnvironmentVariableIsSet("TESSARON_FIRST_PAINT_EXIT"))
        tessaron.mainWindow()->rootView()->installEventFilter(new FirstPaintProbe(&app));
    tessaron.mainWindow()->show();
    return app.exec();
}
