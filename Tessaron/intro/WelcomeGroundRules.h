#pragma once

#include "Tessaron/intro/IntroLogic.h"
#include "VelkinUI/Motion.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QVariantAnimation;

namespace tessaron {

class KitButton;
class PanelSurface;
class SymbolView;

// The third chapter: what reading disturbs on Kafka (nothing) and on RabbitMQ (the redelivered
// flag), with a staged peek that shows it. Talks to no broker and stores nothing.
class WelcomeGroundRules : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeGroundRules(QWidget* parent = nullptr);

    const intro::PeekDemo& demo() const { return m_demo; }
    void choose(bool rabbit);
    void peek();
    void toggleBigfoot();

    QList<KitButton*> kindButtons() const { return m_kinds; }
    KitButton* peekButton() const { return m_peek; }
    KitButton* bigfootButton() const { return m_bigfoot; }
    QLabel* afterValue() const { return m_after; }
    QLabel* peekCaption() const { return m_caption; }
    QWidget* popover() const { return m_popover; }
    SymbolView* traveller() const { return m_traveller; }

private:
    // Texts that change follow `motion`: the kind switch's ease, the peek's spring, or at once.
    void sync(const Motion& motion = Motion::none());
    void travel();

    intro::PeekDemo m_demo;
    QList<KitButton*> m_kinds;
    KitButton* m_peek;
    KitButton* m_bigfoot;
    QLabel* m_brokerLabel;
    QLabel* m_boxCaption;
    QLabel* m_subject;
    QLabel* m_before;
    QLabel* m_after;
    QLabel* m_caption;
    PanelSurface* m_box;
    QWidget* m_track;
    SymbolView* m_traveller;
    SymbolView* m_promiseIcon;
    QList<QLabel*> m_promises;
    // Cleared by Qt when the popover goes, also while this page is being destroyed.
    QPointer<QWidget> m_popover;
    QVariantAnimation* m_travel = nullptr;
};

} // namespace tessaron
