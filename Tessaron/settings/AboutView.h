#pragma once

#include "VelkinUI/Motion.h"

#include <QPointer>
#include <QString>

#include <optional>
#include <QWidget>

class QLabel;

namespace tessaron {

class AnimatedValue;
class AppState;
class KitButton;
class PersonnelBadge;

// The content of the about window: the mascot's badge with its version stamp and boop line; the
// title, the facts (version and build, platform, the app in one line, local-first), the two
// lifetime counters, which follow their stored values live, the credits, and Website, What's new
// and Check for updates. There is no updater on Linux, so that button stays disabled; Website is
// disabled when the build names no address.
class AboutView : public QWidget {
    Q_OBJECT
public:
    explicit AboutView(AppState* app, QWidget* parent = nullptr);

    int boops() const { return m_boops; }
    void boop();
    QString boopLine() const;
    QWidget* whatsNewSheet() const;
    void showWhatsNew();

    // The address "Website" opens: the build's, unless a test put another in its place.
    static QString websiteUrl();
    static void overrideWebsiteUrl(std::optional<QString> url);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void syncCounters(const Motion& motion);
    void placeStamp();

    int m_boops = 0;
    PersonnelBadge* m_badge = nullptr;
    QWidget* m_stamp = nullptr;
    QLabel* m_boopLine = nullptr;
    QLabel* m_read = nullptr;
    QLabel* m_disturbed = nullptr;
    AnimatedValue* m_readRoll = nullptr;
    AnimatedValue* m_disturbedRoll = nullptr;
};

} // namespace tessaron
