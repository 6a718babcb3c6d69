#pragma once

#include "Tessaron/kit/PopoverFrame.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QFrame>
#include <QPointer>

class QDateTimeEdit;
class QLabel;
class QMenu;

namespace tessaron {

class BrokerSession;
class KitButton;

// The moment popover of the position picker: a real seek by timestamp, confirmed with "Go there".
// The kit's popover, hanging from the picker.
class MomentPopover : public PopoverFrame {
    Q_OBJECT
public:
    explicit MomentPopover(QWidget* parent = nullptr);

    QDateTimeEdit* picker() const { return m_picker; }
    KitButton* goButton() const { return m_go; }

signals:
    void go();

private:
    QDateTimeEdit* m_picker;
    KitButton* m_go;
};

// The pill that says where the messages were read from, and reads a Kafka topic again from the
// newest messages, the oldest retained ones, or a moment in time. A choice reads at once; the
// moment is chosen in a popover that keeps it for as long as the picker lives.
class PositionPicker : public QAbstractButton {
    Q_OBJECT
public:
    explicit PositionPicker(BrokerSession* session, QWidget* parent = nullptr);

    QMenu* menu() const { return m_menu; }
    MomentPopover* popover() const { return m_popover; }
    const QDateTime& chosen() const { return m_chosen; }
    QString caption() const;

    void openMenu();
    void openPopover();
    void readFrom(int position); // BrokerSession::Position::Case: tail or beginning
    void goThere();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    QPointer<BrokerSession> m_session;
    QLabel* m_caption;
    QMenu* m_menu;
    MomentPopover* m_popover;
    QDateTime m_chosen;
};

} // namespace tessaron
