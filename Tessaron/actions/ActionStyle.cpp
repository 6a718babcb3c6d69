#include "Tessaron/actions/ActionStyle.h"

#include "VelkinUI/Brand.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

namespace tessaron::ActionStyle {

QColor warningOrange() { return QColor::fromRgbF(0.98f, 0.58f, 0.26f); }
QColor allClearGreen() { return QColor::fromRgbF(0.33f, 0.80f, 0.56f); }
QColor ink() { return QColor::fromRgbF(0.95f, 0.94f, 0.91f); }
QColor muted() { return QColor::fromRgbF(0.64f, 0.63f, 0.66f); }
QColor windowDark() { return QColor::fromRgbF(0.067f, 0.063f, 0.071f); }

QColor accent()
{
    const QList<QColor> colors = Brand::palette();
    return colors.size() > 2 ? colors[2] : Brand::accent();
}

QColor withOpacity(const QColor& color, double opacity)
{
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * opacity));
    return c;
}

QColor white(double opacity) { return withOpacity(Qt::white, opacity); }

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wraps)
{
    auto* l = new QLabel(text, parent);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(wraps);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    l->setPalette(p);
    return l;
}

void styleField(QLineEdit* field, bool monospaced)
{
    field->setFont(KitFont::font(12, QFont::Normal, monospaced ? FontDesign::monospaced : FontDesign::standard));
    field->setStyleSheet(QStringLiteral("QLineEdit { background: rgba(0, 0, 0, 56); border: 1px solid rgba(255, 255, "
                                        "255, 26); border-radius: 8px; padding: 7px 9px; color: %1; }"
                                        "QLineEdit:focus { border: 1px solid %2; }")
                             .arg(ink().name(), withOpacity(accent(), 0.7).name(QColor::HexArgb)));
    QPalette p = field->palette();
    p.setColor(QPalette::PlaceholderText, withOpacity(muted(), 0.7));
    field->setPalette(p);
}

} // namespace tessaron::ActionStyle
