#include "ScreenShooter.h"

#include "UnnamedButtons.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QWidget>

namespace tessaron {

void waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    QApplication::processEvents();
}

void restFor(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void flushEvents()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

ScreenShooter::ScreenShooter(QString folder)
    : m_folder(std::move(folder))
{
    QDir().mkpath(m_folder);
}

bool ScreenShooter::shoot(const QString& screen, const QString& state, QWidget* widget)
{
    if (!widget->isVisible())
        widget->show();
    widget->ensurePolished();
    if (widget->layout())
        widget->layout()->activate();
    // Twice: a layout pass can post further resize and paint events.
    QApplication::processEvents();
    QApplication::processEvents();

    const QString base = m_folder + QLatin1Char('/') + screen + QLatin1Char('-') + state;
    for (const QString& button : unnamedButtons(widget))
        m_unnamed << screen + QLatin1Char('-') + state + QStringLiteral(": ") + button;
    bool ok = true;
    for (const int scale : {1, 2}) {
        QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            widget->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
        const QString path = base + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
        if (image.save(path)) {
            m_written << path;
        } else {
            m_failures << path;
            ok = false;
        }
    }
    return ok;
}

} // namespace tessaron
