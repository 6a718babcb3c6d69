#include "VelkinHelpers/Toast.h"

#include "VelkinUI/Brand.h"
#include "VelkinUI/VelkinPalette.h"

#include <QTimer>

namespace tessaron {

namespace {

std::unique_ptr<QObject> timerScheduler(std::chrono::milliseconds delay, std::function<void()> fire)
{
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), std::move(fire));
    timer->start(delay);
    return timer;
}

} // namespace

ToastCenter::ToastCenter(QObject* parent)
    : ToastCenter(timerScheduler, parent)
{ }

ToastCenter::ToastCenter(Scheduler scheduler, QObject* parent)
    : QObject(parent)
    , m_scheduler(scheduler ? std::move(scheduler) : Scheduler(timerScheduler))
{ }

// The pending dismissal goes with the centre, so it can never fire into a destroyed one.
ToastCenter::~ToastCenter() = default;

void ToastCenter::setCurrent(const std::optional<Toast>& toast)
{
    if (m_current == toast)
        return;
    m_current = toast;
    emit currentChanged(m_current);
}

void ToastCenter::show(const QString& message, Kind kind)
{
    setCurrent(Toast{QUuid::createUuid(), message, kind});
    // Replacing the task cancels the old wait, so only the newest toast's dismissal can fire and
    // the newest toast always gets its full time.
    m_dismissTask.reset();
    QPointer<ToastCenter> self(this);
    m_dismissTask = m_scheduler(timeOnScreen(kind), [self] {
        if (!self)
            return;
        // Release the task only after this call returns: it may be the very timer emitting it.
        if (QObject* finished = self->m_dismissTask.release())
            finished->deleteLater();
        self->setCurrent(std::nullopt);
    });
}

std::chrono::milliseconds ToastCenter::timeOnScreen(Kind kind)
{
    return kind == Kind::error ? std::chrono::milliseconds(4000) : std::chrono::milliseconds(2200);
}

QString ToastCenter::symbol(Kind kind)
{
    switch (kind) {
    case Kind::success:
        return QStringLiteral("checkmark.circle.fill");
    case Kind::error:
        return QStringLiteral("xmark.octagon.fill");
    case Kind::info:
        return QStringLiteral("info.circle.fill");
    }
    return QStringLiteral("info.circle.fill");
}

QColor ToastCenter::colour(Kind kind)
{
    switch (kind) {
    case Kind::success:
        return VelkinPalette::success();
    case Kind::error:
        return VelkinPalette::failure();
    case Kind::info:
        return Brand::accent();
    }
    return Brand::accent();
}

} // namespace tessaron
