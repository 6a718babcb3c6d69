#include "Tessaron/browser/WorkingIndicator.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/Spinner.h"
#include "TessaronCore/l10n/L10n.h"

#include <QVBoxLayout>

namespace tessaron {

QWidget* makeWorkingIndicator(QWidget* parent)
{
    auto* pane = new QWidget(parent);
    auto* column = new QVBoxLayout(pane);
    column->setSpacing(14);
    column->addStretch(1);
    auto* spinner = new Spinner(28, BrowserStyle::neutral(), SpinnerLook::ring);
    column->addWidget(spinner, 0, Qt::AlignHCenter);
    column->addWidget(BrowserStyle::label(loc("Tessaron's reading…"),
                                          KitFont::font(11, QFont::Medium, FontDesign::rounded),
                                          BrowserStyle::white(0.6)),
                      0, Qt::AlignHCenter);
    column->addStretch(1);
    return pane;
}

} // namespace tessaron
