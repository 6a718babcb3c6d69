#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"

#include <QLabel>
#include <QTextDocument>

namespace tessaron::PlainText {

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap)
{
    auto* l = new QLabel(parent);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    l->setFont(font);
    l->setWordWrap(wrap);
    setTextColor(l, color);
    return l;
}

void setTextColor(QWidget* widget, const QColor& wanted)
{
    const QColor color = TessaronPalette::legible(wanted);
    QPalette p = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, color);
        p.setColor(group, QPalette::Text, color);
        p.setColor(group, QPalette::ButtonText, color);
    }
    widget->setPalette(p);
}

QString toolTip(const QString& text)
{
    // Text Qt would not take for markup is shown as it stands already.
    if (!Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

void setToolTip(QWidget* widget, const QString& text) { widget->setToolTip(toolTip(text)); }

QString isolate(const QString& name) { return L10n::isolated(name); }

} // namespace tessaron::PlainText
