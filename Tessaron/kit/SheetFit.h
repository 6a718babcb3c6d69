#pragma once

#include <QSize>

class QWidget;

namespace tessaron::SheetFit {

// Room kept between a sheet and the edges of the window it covers.
constexpr int margin = 12;

// `ideal`, no larger than `host` leaves room for (its size less the margin on every side); `ideal`
// as it is without a host.
QSize fitted(QSize ideal, const QWidget* host);

// Keeps `sheet` at its ideal size, never taller or wider than the window it is opened over: the
// size follows that window while it is resized, and the sheet stays centred over it. The sheet's
// own layout decides what scrolls when it is smaller than its ideal.
void follow(QWidget* sheet, QSize ideal);

} // namespace tessaron::SheetFit
