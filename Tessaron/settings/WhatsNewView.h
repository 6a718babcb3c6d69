#pragma once

#include "Tessaron/settings/WhatsNewEntry.h"

#include <QDialog>
#include <QPointer>

namespace tessaron {

class KitButton;
class TessaronMascot;

// One release's notes as a page of case notes: the header with the mascot and the version, the
// title, one card per item, and the footer's button. However it closes (the button, Return,
// Escape), it records the running version as seen.
class WhatsNewView : public QDialog {
    Q_OBJECT
public:
    explicit WhatsNewView(WhatsNewEntry entry, QWidget* parent = nullptr);

    // Opens the notes asked for from `view` over its window, deleted on close, unless notes are open
    // there already. They belong to the window, not the view: a language change draws the window's
    // content anew and leaves the notes open.
    static void openOnRequest(QWidget* view);
    // The notes open over the window of `view`, if any.
    static WhatsNewView* openOver(const QWidget* view);

    const WhatsNewEntry& entry() const { return m_entry; }
    int pats() const { return m_pats; }
    KitButton* closeButton() const { return m_close; }
    void boop();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void build();

    WhatsNewEntry m_entry;
    QWidget* m_body = nullptr;
    int m_pats = 0;
    TessaronMascot* m_mascot = nullptr;
    KitButton* m_close = nullptr;
};

} // namespace tessaron
