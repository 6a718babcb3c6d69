#pragma once

#include <QObject>

namespace tessaron {

// The desktop's motion, transparency and contrast preferences, for the whole application.
// Qt has none of these, so they are read from GNOME's settings (without blocking: the reading
// process is asynchronous) and may be forced with the environment variables
// TESSARON_REDUCE_MOTION, TESSARON_REDUCE_TRANSPARENCY and TESSARON_INCREASE_CONTRAST ("1" or "0").
class AccessibilitySettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool reduceMotion READ reduceMotion WRITE setReduceMotion NOTIFY changed)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency WRITE setReduceTransparency NOTIFY changed)
    Q_PROPERTY(bool increaseContrast READ increaseContrast WRITE setIncreaseContrast NOTIFY changed)
public:
    static AccessibilitySettings& instance();

    bool reduceMotion() const { return m_reduceMotion; }
    bool reduceTransparency() const { return m_reduceTransparency; }
    bool increaseContrast() const { return m_increaseContrast; }

    // An explicit setting (tests, the gallery) wins over what the desktop says later.
    void setReduceMotion(bool on);
    void setReduceTransparency(bool on);
    void setIncreaseContrast(bool on);

    // Asks the desktop again; called once on first use.
    void refreshFromDesktop();

signals:
    void changed();

private:
    AccessibilitySettings();
    void readGnomeKey(const QString& schema, const QString& key, int which);

    bool m_reduceMotion = false;
    bool m_reduceTransparency = false;
    bool m_increaseContrast = false;
    bool m_pinned[3] = {false, false, false};
};

} // namespace tessaron
