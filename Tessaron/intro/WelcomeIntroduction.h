#pragma once

#include <QWidget>

class QLabel;
class QVariantAnimation;

namespace tessaron {

class AnimatedValue;
class KitButton;
class PersonnelBadge;
class SymbolView;
class TransformEffect;

// The first chapter: the mascot introduces himself beside his badge. A toy: boops move the
// caption along, showing him a ball distracts him until the next boop. Stores nothing.
class WelcomeIntroduction : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeIntroduction(QWidget* parent = nullptr);

    int boops() const { return m_boops; }
    int distractions() const { return m_distractions; }
    PersonnelBadge* badge() const { return m_badge; }
    KitButton* ballButton() const { return m_ballButton; }
    QLabel* captionLabel() const { return m_caption; }
    bool ballVisible() const;
    void showBall();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void placeBadge(QSizeF drag);
    void applyBadge();
    void bounce();

    int m_boops = 0;
    int m_distractions = 0;
    QWidget* m_badgeHolder;
    TransformEffect* m_badgeEffect;
    AnimatedValue* m_dragX;
    AnimatedValue* m_dragY;
    PersonnelBadge* m_badge;
    KitButton* m_ballButton;
    QLabel* m_caption;
    SymbolView* m_ball;
    QVariantAnimation* m_bounce = nullptr;
    QPoint m_pressAt;
    bool m_dragging = false;
};

} // namespace tessaron
