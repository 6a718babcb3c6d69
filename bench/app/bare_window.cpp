// A bare Qt window of the main window's default size, for bench/app/startup.sh: it reports the
// moment it first paints ("first-paint <ms since the epoch>") and ends, as the program does with
// TESSARON_FIRST_PAINT_EXIT set.
#include <QApplication>
#include <QDateTime>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class Window : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_seen)
            return;
        m_seen = true;
        QTimer::singleShot(0, qApp, [] {
            std::printf("first-paint %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Window window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(1020, 660);
    window.show();
    return app.exec();
}
