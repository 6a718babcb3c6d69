#pragma once

#include <QAnimationDriver>
#include <QCoreApplication>
#include <QVariantAnimation>

#include <algorithm>

namespace tessaron::testing {

// Drives every Qt animation of the process from a clock the test moves by hand, so animation tests
// check frames and end states at exact moments instead of waiting on the wall clock. Installed for
// the life of the object; between advances every animation stands still.
class ManualAnimationClock : public QAnimationDriver {
public:
    ManualAnimationClock()
    {
        install();
        // One endless animation keeps the driver running, so no wall-clock gap ever slips in
        // between two advances when the last real animation ends and a new one starts.
        m_keepAlive.setStartValue(0.0);
        m_keepAlive.setEndValue(1.0);
        m_keepAlive.setDuration(1000);
        m_keepAlive.setLoopCount(-1);
        m_keepAlive.start();
        QCoreApplication::processEvents();
    }
    ~ManualAnimationClock() override
    {
        m_keepAlive.stop();
        uninstall();
    }

    // Moves the clock forward by `ms` in frames of at most `frameMs`; animations started since the
    // last advance join first.
    void advance(qint64 ms, qint64 frameMs = 16)
    {
        QCoreApplication::processEvents();
        while (ms > 0) {
            const qint64 step = std::min(ms, frameMs);
            m_elapsed += step;
            ms -= step;
            advanceAnimation();
            QCoreApplication::processEvents();
        }
    }

    qint64 elapsed() const override { return m_elapsed; }

    // The platform's own ticks do nothing: only advance(ms) moves this clock.
    void advance() override { }

private:
    qint64 m_elapsed = 0;
    QVariantAnimation m_keepAlive;
};

} // namespace tessaron::testing
