#pragma once

#include <QLabel>

namespace tessaron {

// The small tracked monospaced caption above a heading, in the introduction's accent.
// Shows its text unchanged: callers pass localised text.
class WelcomeEyebrow : public QLabel {
    Q_OBJECT
public:
    explicit WelcomeEyebrow(const QString& text, QWidget* parent = nullptr);
};

} // namespace tessaron
