#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/TessaronPalette.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace tessaron::ActionStyle {

QColor warningOrange() { return TessaronPalette::amber(); }
QColor allClearGreen() { return TessaronPalette::jade(); }
QColor ink() { return TessaronPalette::ink(); }
QColor muted() { return TessaronPalette::muted(); }
QColor windowDark() { return TessaronPalette::canvas(); }
QColor accent() { return TessaronPalette::accent(); }
QColor withOpacity(const QColor& color, double opacity) { return TessaronPalette::withOpacity(color, opacity); }
QColor white(double opacity) { return TessaronPalette::white(opacity); }

void styleField(QLineEdit* field, bool monospaced)
{
    field->setFont(KitFont::font(12, QFont::Normal, monospaced ? FontDesign::monospaced : FontDesign::standard));
    field->setObjectName(QStringLiteral("actionField"));
    field->setStyleSheet(
        QStringLiteral("QLineEdit#actionField { background: %3; border: 1px solid %4; border-radius: 8px; "
                       "padding: 7px 9px; color: %1; }"
                       "QLineEdit#actionField:focus { border: 1px solid %2; }")
            .arg(ink().name(), withOpacity(accent(), 0.7).name(QColor::HexArgb),
                 TessaronPalette::css(TessaronPalette::fieldFill()),
                 TessaronPalette::css(TessaronPalette::fieldEdge())));
    QPalette p = field->palette();
    p.setColor(QPalette::PlaceholderText, withOpacity(muted(), 0.7));
    field->setPalette(p);
}

} // namespace tessaron::ActionStyle
