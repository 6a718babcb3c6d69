#pragma once

#include <QSize>

class QScrollArea;
class QWidget;

namespace tessaron::SheetFit {

// Room kept between a sheet and the edges of the window it covers.
constexpr int margin = 12;

// Below this a sheet's header and foot would leave no room between them; a window smaller than the
// application's own minimum (a bare dialog hosting a sheet) gets a sheet that overhangs instead.
constexpr QSize smallest{360, 320};

// `ideal`, no larger than `host` leaves room for (its size less the margin on every side) and never
// smaller than `smallest`; `ideal` as it is without a host.
QSize fitted(QSize ideal, const QWidget* host);

// Keeps `sheet` at its ideal size, never taller or wider than the window it is opened over: the
// size follows that window while it is resized, and the sheet stays centred over it. The sheet's
// own layout decides what scrolls when it is smaller than its ideal.
void follow(QWidget* sheet, QSize ideal);

// Scrolls `area` to whatever control inside it takes the focus, however the focus came (Tab from
// the footer wraps to the top of the form): a focused control is never out of sight.
void keepFocusInView(QScrollArea* area);

} // namespace tessaron::SheetFit
