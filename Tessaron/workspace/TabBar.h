#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPointer>
#include <QUuid>
#include <QWidget>

class QAction;
class QHBoxLayout;
class QVariantAnimation;

namespace tessaron {

class AppState;
class BrokerSession;
class FocusRing;
class TabChip;

// The strip of tabs above the workspace: one chip per open session in tab order, then the "+"
// that asks for the reception. Clicking a chip selects its session; its close button closes it.
// The "+" triggers `openAnother` (the menu's Ctrl+N action) when given, so the shortcut belongs to
// one action only.
class TabBar : public QWidget {
    Q_OBJECT
public:
    explicit TabBar(AppState* app, QAction* openAnother = nullptr, QWidget* parent = nullptr);

    QList<TabChip*> chips() const { return m_chips; }
    QAbstractButton* plusButton() const { return m_plus; }

    // The dot colour of a session's chip: connecting, failed, a live Kafka client, otherwise grey
    // (a connected RabbitMQ broker included).
    static QColor statusColor(const BrokerSession& session);

private:
    void rebuild();
    void updateSelection();

    AppState* m_app;
    QPointer<QAction> m_openAnother;
    QHBoxLayout* m_layout;
    QList<TabChip*> m_chips;
    QAbstractButton* m_plus;
};

// One tab: status dot, the broker's name and, while selected or hovered, a close button.
class TabChip : public QWidget {
    Q_OBJECT
    // The name it draws, for whoever reads what is shown (the face audit, accessibility).
    Q_PROPERTY(QString text READ text)
public:
    TabChip(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    QUuid brokerId() const { return m_id; }
    QString text() const { return m_name; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    bool hovered() const { return m_hover; }
    QAbstractButton* closeButton() const { return m_close; }
    QColor statusColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void select();
    void updateCloseButton();
    QFont nameFont() const;
    bool showsClose() const { return m_selected || m_hover || m_close->hasFocus() || hasFocus(); }

    AppState* m_app;
    QPointer<BrokerSession> m_session;
    QUuid m_id;
    QString m_name;
    bool m_selected = false;
    bool m_hover = false;
    bool m_pressed = false;
    double m_selection = 0.0; // 0 unselected, 1 selected; animated between
    QVariantAnimation* m_animation;
    QAbstractButton* m_close;
    FocusRing* m_ring;
};

} // namespace tessaron
