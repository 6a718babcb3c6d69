#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tessaron {

class AnimatedValue;

// Holds the one toast on screen and takes it away after a moment. A new toast replaces the shown
// one at once; there is no queue. Used on the main thread.
class ToastCenter : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::optional<tessaron::ToastCenter::Toast> current READ current WRITE setCurrent NOTIFY currentChanged)
public:
    enum class Kind { success, error, info };
    Q_ENUM(Kind)

    struct Toast {
        QUuid id; // new for every toast shown, so equal texts still make distinct toasts
        QString message;
        Kind kind = Kind::info;
        friend bool operator==(const Toast&, const Toast&) = default;
    };

    // Runs `fire` once after `delay` unless the returned object is destroyed first. The default
    // uses a precise single-shot QTimer; tests pass a clock of their own.
    using Scheduler =
        std::function<std::unique_ptr<QObject>(std::chrono::milliseconds delay, std::function<void()> fire)>;

    explicit ToastCenter(QObject* parent = nullptr);
    explicit ToastCenter(Scheduler scheduler, QObject* parent = nullptr);
    ~ToastCenter() override;

    std::optional<Toast> current() const { return m_current; }
    // Changes nothing about a pending dismissal: it fires later and clears whatever is current.
    void setCurrent(const std::optional<Toast>& toast);

    void show(const QString& message, Kind kind);
    void success(const QString& message) { show(message, Kind::success); }
    void error(const QString& message) { show(message, Kind::error); }
    void info(const QString& message) { show(message, Kind::info); }

    bool hasPendingDismissal() const { return m_dismissTask != nullptr; }

    static std::chrono::milliseconds timeOnScreen(Kind kind);
    static QString symbol(Kind kind);
    static QColor colour(Kind kind);

signals:
    void currentChanged(const std::optional<tessaron::ToastCenter::Toast>& current);

private:
    Scheduler m_scheduler;
    std::optional<Toast> m_current;
    std::unique_ptr<QObject> m_dismissTask;
};

// The capsule that shows a centre's toast 28 points above the bottom edge of the view it is laid
// over; it rises and fades in when a toast comes, sinks and fades out when it goes, and a click
// dismisses it.
class ToastOverlay : public QWidget {
    Q_OBJECT
public:
    ToastOverlay(ToastCenter* center, QWidget* view);

    // The toast drawn, kept while the capsule leaves after `current` went to none.
    std::optional<ToastCenter::Toast> shown() const { return m_shown; }
    // 0 gone, 1 fully in place.
    double presence() const;
    // The capsule in this widget's coordinates.
    QRectF capsule() const;

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void onCurrentChanged(const std::optional<ToastCenter::Toast>& toast);
    QSizeF capsuleSizeFor(const ToastCenter::Toast& toast) const;
    void place();

    QPointer<ToastCenter> m_center;
    std::optional<ToastCenter::Toast> m_shown;
    AnimatedValue* m_presence;
    AnimatedValue* m_morph; // from m_fromSize to m_toSize when a toast replaces another
    QSizeF m_fromSize;
    QSizeF m_toSize;
};

// Lays the toast overlay of `center` over `view`; returns `view`.
QWidget* toasts(QWidget* view, ToastCenter* center);

} // namespace tessaron
