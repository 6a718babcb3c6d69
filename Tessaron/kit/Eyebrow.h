#pragma once

#include <QLabel>

namespace tessaron {

// The small tracked monospaced caption above a heading, in the introduction's accent.
// Shows its text unchanged: callers pass localised text.
class Eyebrow : public QLabel {
    Q_OBJECT
public:
    explicit Eyebrow(const QString& text, QWidget* parent = nullptr);
};

} // namespace tessaron
