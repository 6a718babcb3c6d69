#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QEvent;
class QWidget;

namespace tessaron {

// Answers a tool-tip request on `widget` with the tip `tipAt` gives for its point: shows it, or
// hides any tip shown and lets the request go when the point has none. Returns whether `event`
// was a tool-tip request, which is then handled.
bool answerToolTip(QWidget* widget, QEvent* event, const std::function<QString(const QPoint&)>& tipAt);

} // namespace tessaron
