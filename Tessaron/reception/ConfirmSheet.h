#pragma once

#include <QDialog>

class QAbstractButton;
class QLabel;

namespace tessaron {

class KitButton;

// A window-modal question in the kit's look, for a step that cannot be undone: a title, what the
// step does, a destructive button in amber and "Cancel". Return does not confirm (no button is a
// default); Escape cancels. `confirmed` fires once, when the destructive button is pressed.
class ConfirmSheet : public QDialog {
    Q_OBJECT
public:
    ConfirmSheet(const QString& title, const QString& detail, const QString& confirmText, QWidget* parent);

    QString title() const;
    QAbstractButton* confirmButton() const;
    QAbstractButton* cancelButton() const;

signals:
    void confirmed();

private:
    QLabel* m_title;
    KitButton* m_confirm;
    KitButton* m_cancel;
};

} // namespace tessaron
