#pragma once

#include "Tessaron/kit/PanelSurface.h"

#include <functional>

namespace tessaron {

class KitButton;

// Shown instead of the docket while no broker is saved: a line of patience and the one button
// that starts the first broker, which answers to Return.
class WaitingRoom : public PanelSurface {
    Q_OBJECT
public:
    explicit WaitingRoom(std::function<void()> action, QWidget* parent = nullptr);

    KitButton* button() const { return m_button; }

private:
    std::function<void()> m_action;
    KitButton* m_button;
};

} // namespace tessaron
