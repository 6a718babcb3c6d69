#include "Tessaron/casework/HoverTip.h"
#include "Tessaron/kit/PlainText.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace tessaron {

bool answerToolTip(QWidget* widget, QEvent* event, const std::function<QString(const QPoint&)>& tipAt)
{
    if (event->type() != QEvent::ToolTip)
        return false;
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = tipAt(help->pos());
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), PlainText::toolTip(tip), widget);
    }
    return true;
}

} // namespace tessaron
