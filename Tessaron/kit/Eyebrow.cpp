#include "Tessaron/kit/Eyebrow.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/KitFont.h"

namespace tessaron {

Eyebrow::Eyebrow(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
    setFont(KitFont::font(9, QFont::DemiBold, FontDesign::monospaced, 1.5));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, TessaronPalette::introAccent());
    setPalette(p);
}

} // namespace tessaron
