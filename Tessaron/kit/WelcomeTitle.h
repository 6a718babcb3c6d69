#pragma once

#include <QWidget>

class QLabel;

namespace tessaron {

// A two-line heading: the first line in the inherited text colour, the second in the accent.
// Wraps in width, never truncates in height.
class WelcomeTitle : public QWidget {
    Q_OBJECT
public:
    WelcomeTitle(const QString& first, const QString& accent, double size, QWidget* parent = nullptr);

    QLabel* firstLine() const { return m_first; }
    QLabel* accentLine() const { return m_accent; }

private:
    QLabel* m_first;
    QLabel* m_accent;
};

} // namespace tessaron
