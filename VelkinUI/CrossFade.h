#pragma once

#include "VelkinUI/Motion.h"

#include <functional>

class QLabel;
class QString;
class QWidget;

namespace tessaron {

// Sets a label's text with an opacity transition: a picture of the old text fades out over the label
// while the new text fades in. With Motion::none(), or on a hidden label, the text changes at once.
// A change during a fade starts from the label's current picture; the label ends without an effect.
void crossFadeText(QLabel* label, const QString& text, const Motion& motion);

// Shows or hides a widget with an opacity transition: it fades in from where it is, or fades out and
// is then hidden. With Motion::none() it shows or hides at once. At rest it carries no effect.
void fadeVisible(QWidget* widget, bool visible, const Motion& motion);

// Changes what a small widget shows (a symbol) with the replace effect: a picture of the old content
// shrinks and fades out while the new content grows from half its size and fades in; with `scaling`
// false a plain cross-fade. With Motion::none(), or on a hidden widget, the change is at once.
void replaceContent(QWidget* widget, const std::function<void()>& change, const Motion& motion, bool scaling = true);

} // namespace tessaron
