#include "Tessaron/actions/ActionButtons.h"

#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>

namespace tessaron {

using namespace ActionStyle;

WorkingButton::WorkingButton(const QString& idle, const QString& working, QWidget* parent)
    : KitButton(QString(), std::make_unique<PrimaryButtonStyle>(), parent)
    , m_idleText(idle)
    , m_workingText(working)
{
    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    const QColor dark = TessaronPalette::canvas();
    m_spinner = new Spinner(12, dark, SpinnerLook::arc, content);
    m_spinner->hide();
    row->addWidget(m_spinner, 0, Qt::AlignVCenter);
    m_label = label(idle, PrimaryButtonStyle().font(KitFont::font(13)), dark, content);
    row->addWidget(m_label, 0, Qt::AlignVCenter);
    setContent(content);
    setAccessibleName(idle);
    setFocusPolicy(Qt::StrongFocus);
}

void WorkingButton::setWorking(bool working)
{
    if (working == m_isWorking)
        return;
    m_isWorking = working;
    m_spinner->setVisible(working);
    setBusy(working);
    m_label->setText(working ? m_workingText : m_idleText);
    setAccessibleName(m_label->text());
    content()->adjustSize();
    updateGeometry();
    update();
}

void WorkingButton::setTexts(const QString& idle, const QString& working)
{
    m_idleText = idle;
    m_workingText = working;
    m_label->setText(m_isWorking ? m_workingText : m_idleText);
    setAccessibleName(m_label->text());
    content()->adjustSize();
    updateGeometry();
    update();
}

QString WorkingButton::labelText() const { return m_label->text(); }

KitButton* dismissButton(const QString& text, QWidget* parent)
{
    auto* button =
        new KitButton(text, std::make_unique<ControlStyle>(accent(), false, false, QMarginsF(13, 10, 13, 10)), parent);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

QWidget* symbolLabel(const QString& symbol, const QString& text, const QColor& color, double size, QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    row->addWidget(new SymbolView(symbol, size - 1, color, holder), 0, Qt::AlignTop);
    auto* words = label(text, KitFont::font(size), color, holder, true);
    words->setObjectName(QStringLiteral("text"));
    words->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    row->addWidget(words, 1, Qt::AlignTop);
    return holder;
}

} // namespace tessaron
