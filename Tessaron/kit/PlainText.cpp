#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"

#include <QLabel>
#include <QTextDocument>

namespace tessaron::PlainText {

namespace {
// A wrapped label is asked its height for a width many times each time its window lays out (every
// box above it asks again), and each answer wraps its text anew: the last answer is kept while
// the text, font and margins it came from hold.
class WrappedLabel : public QLabel {
public:
    using QLabel::QLabel;

    int heightForWidth(int width) const override
    {
        const QMargins margins = contentsMargins();
        if (width != m_width || text() != m_text || font() != m_font || margins != m_margins || margin() != m_margin
            || indent() != m_indent) {
            m_height = QLabel::heightForWidth(width);
            m_width = width;
            m_text = text();
            m_font = font();
            m_margins = margins;
            m_margin = margin();
            m_indent = indent();
        }
        return m_height;
    }

private:
    mutable int m_width = -1;
    mutable int m_height = -1;
    mutable QString m_text;
    mutable QFont m_font;
    mutable QMargins m_margins;
    mutable int m_margin = 0;
    mutable int m_indent = -1;
};
} // namespace

QLabel* label(const QString& text, const QFont& font, const QColor& color, QWidget* parent, bool wrap)
{
    QLabel* l = wrap ? new WrappedLabel(parent) : new QLabel(parent);
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
    // The disabled group too: a label inside a busy (disabled) button keeps its colour; dimming a
    // disabled control is the control's own style's job, not the platform's grey.
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
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
