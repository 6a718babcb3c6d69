#pragma once

#include <QPointer>
#include <QScrollArea>

class QVBoxLayout;

namespace tessaron {

// A page that scrolls vertically without showing indicators, whose content is rebuilt as a whole
// from published state. The old content is released after the current event, so a link whose
// click caused the rebuild is never destroyed under its own handler.
class CaseworkPage : public QScrollArea {
    Q_OBJECT
public:
    explicit CaseworkPage(QWidget* parent = nullptr);

    // Replaces the content with a fresh column (spacing and margins as given) and returns it.
    QVBoxLayout* fresh(int spacing, const QMargins& margins);
    QWidget* content() const { return m_content; }

private:
    QPointer<QWidget> m_content;
};

} // namespace tessaron
