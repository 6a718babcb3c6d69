#pragma once

#include "Tessaron/kit/PanelSurface.h"
#include "TessaronCore/model/Broker.h"

#include <QAbstractButton>
#include <QPointer>

#include <functional>
#include <optional>

class QMenu;

namespace tessaron {

class AnimatedValue;
class AppState;
class BrokerSession;
class KitButton;
class SymbolView;

class ElidedLabel;

// One saved broker on the reception's docket: what it is, how it is reached, whether it is a
// regular, and the open, edit and favourite actions, which all go through the state.
class BrokerCard : public PanelSurface {
    Q_OBJECT
public:
    enum class OpenState { open, sniffing, alreadyOpen };

    BrokerCard(AppState* app, const Broker& broker, bool isSelected, QWidget* parent = nullptr);

    const Broker& broker() const { return m_broker; }
    bool isSelected() const { return m_selected; }

    // The first open session of this broker, if any.
    BrokerSession* openSession() const;
    OpenState openState() const;
    KitButton* openButton() const { return m_open; }
    KitButton* editButton() const { return m_edit; }
    KitButton* starButton() const { return m_star; }
    QWidget* badge() const { return m_badge; }

    bool isHovering() const { return m_hovering; }
    // Pointer tracking; also for tests.
    void setHovering(bool hovering);
    // The two-item context menu (favourite, then edit); the caller owns it.
    QMenu* makeContextMenu(QWidget* parent);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void refreshHeader();
    void refreshOpenButton();
    void watchSession();
    void openBroker();
    void editBroker();
    void toggleFavorite();

    QPointer<AppState> m_app;
    Broker m_broker;
    bool m_selected;
    bool m_hovering = false;
    KitButton* m_edit;
    KitButton* m_star;
    QWidget* m_badge;
    KitButton* m_open;
    std::optional<OpenState> m_shownState;
    QPointer<BrokerSession> m_watched;
    QMetaObject::Connection m_watch;
};

// The dashed card after the last broker that starts a new one.
class AddBrokerCard : public QAbstractButton {
    Q_OBJECT
public:
    explicit AddBrokerCard(std::function<void()> action, QWidget* parent = nullptr);

    bool isHovering() const { return m_hovering; }
    void setHovering(bool hovering);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    std::function<void()> m_action;
    bool m_hovering = false;
    AnimatedValue* m_hover;
};

} // namespace tessaron
