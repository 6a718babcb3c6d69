#pragma once

#include <QAccessibleWidget>

namespace tessaron {

class KitButton;

// What assistive technology reads from a KitButton: a button named by its accessible name or its
// text, pressable, and — for a button that is one choice of several — selectable, with its
// selection as both "selected" and "checked".
class KitButtonAccessible : public QAccessibleWidget {
public:
    explicit KitButtonAccessible(KitButton* button);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Registers the interface with QAccessible once per process.
    static void install();

private:
    KitButton* button() const;
};

} // namespace tessaron
