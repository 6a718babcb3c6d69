#include "Tessaron/reception/ConfirmSheet.h"

#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

ConfirmSheet::ConfirmSheet(const QString& title, const QString& detail, const QString& confirmText, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("confirmSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(title);
    QPalette p = palette();
    p.setColor(QPalette::Window, TessaronPalette::canvas());
    setPalette(p);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 22, 24, 20);
    column->setSpacing(10);
    auto* head = new QHBoxLayout();
    head->setSpacing(10);
    head->addWidget(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), 16, TessaronPalette::amber(), this),
                    0, Qt::AlignTop);
    m_title = PlainText::label(title, KitFont::font(15, QFont::Bold, FontDesign::rounded), TessaronPalette::ink(), this,
                               true);
    head->addWidget(m_title, 1);
    column->addLayout(head);
    column->addWidget(PlainText::label(detail, KitFont::font(12), TessaronPalette::muted(), this, true));
    column->addSpacing(8);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(10);
    buttons->addStretch(1);
    m_cancel = new KitButton(
        L10n::t("Cancel"),
        std::make_unique<ControlStyle>(TessaronPalette::introAccent(), false, false, QMarginsF(13, 10, 13, 10)), this);
    m_cancel->setFont(KitFont::font(12, QFont::DemiBold));
    m_confirm = new KitButton(
        confirmText, std::make_unique<ControlStyle>(TessaronPalette::amber(), false, true, QMarginsF(13, 10, 13, 10)),
        this);
    m_confirm->setFont(KitFont::font(12, QFont::DemiBold));
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_confirm);
    column->addLayout(buttons);
    setTabOrder(m_cancel, m_confirm);

    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_confirm, &QAbstractButton::clicked, this, [this] {
        emit confirmed();
        accept();
    });
    setMinimumWidth(380);
    m_cancel->setFocus();
}

QString ConfirmSheet::title() const { return m_title->text(); }
QAbstractButton* ConfirmSheet::confirmButton() const { return m_confirm; }
QAbstractButton* ConfirmSheet::cancelButton() const { return m_cancel; }

} // namespace tessaron
