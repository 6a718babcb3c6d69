#include "Tessaron/reception/FormCard.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/reception/ReceptionWidgets.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaron {

using namespace TessaronPalette;

FormCard::FormCard(const QString& eyebrow, const QColor& tint, QWidget* parent)
    : PanelSurface(tint, parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(11);
    m_eyebrow = reception::label(eyebrow, KitFont::font(9, QFont::DemiBold, FontDesign::monospaced, 1.5), tint, this);
    column->addWidget(m_eyebrow);
    m_content = new QVBoxLayout();
    m_content->setSpacing(11);
    column->addLayout(m_content);
}

void FormCard::setCardTint(const QColor& tint)
{
    setTint(tint);
    reception::setTextColor(m_eyebrow, tint);
}

FormField::FormField(const QString& label, const QString& placeholder, bool mono, bool secure, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    m_label = reception::label(label, KitFont::font(10, QFont::Medium), muted(), this);
    column->addWidget(m_label);
    m_edit = new QLineEdit(this);
    m_edit->setPlaceholderText(placeholder);
    m_edit->setAccessibleName(label);
    m_edit->setFont(KitFont::font(12, QFont::Normal, mono ? FontDesign::monospaced : FontDesign::standard));
    if (secure)
        m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setObjectName(QStringLiteral("formField"));
    m_edit->setStyleSheet(
        QStringLiteral(
            "QLineEdit#formField { background: %3; border: 1px solid %4; border-radius: 8px; padding: 9px; color: %1; }"
            "QLineEdit#formField:focus { border: 1px solid %2; }"
            "QLineEdit#formField:disabled { color: %5; }")
            .arg(ink().name(), withOpacity(accent(), 0.7).name(QColor::HexArgb), css(fieldFill()), css(fieldEdge()),
                 css(fieldDisabledText())));
    QPalette p = m_edit->palette();
    p.setColor(QPalette::PlaceholderText, withOpacity(muted(), 0.7));
    m_edit->setPalette(p);
    column->addWidget(m_edit);
    m_hint = reception::label(QString(), KitFont::font(10), withOpacity(muted(), 0.85), this, true);
    m_hint->hide();
    column->addWidget(m_hint);
}

void FormField::setText(const QString& text)
{
    if (m_edit->text() == text)
        return;
    m_edit->setText(text);
    // A long value shows its beginning until the user goes into it.
    if (!m_edit->hasFocus())
        m_edit->setCursorPosition(0);
}

void FormField::setLabel(const QString& label)
{
    m_label->setText(label);
    m_edit->setAccessibleName(label);
}

void FormField::setPlaceholder(const QString& placeholder) { m_edit->setPlaceholderText(placeholder); }

void FormField::setHint(const QString& hint)
{
    m_hint->setText(hint);
    m_hint->setVisible(!hint.isEmpty());
}

QString FormField::hint() const { return m_hint->text(); }

} // namespace tessaron
