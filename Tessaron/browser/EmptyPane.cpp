#include "Tessaron/browser/EmptyPane.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/SettingsPalette.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"

#include <QVBoxLayout>

namespace tessaron {

EmptyPane::EmptyPane(const QString& title, const std::optional<QString>& detail, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(12);
    column->addStretch(1);

    m_mascot = new TessaronMascot(58, 0);
    m_mascotButton = new KitButton(QString(), std::make_unique<PlainButtonStyle>(font(), SettingsPalette::ink()));
    m_mascotButton->setContent(m_mascot);
    m_mascotButton->setAccessibleName(title);
    connect(m_mascotButton, &KitButton::clicked, this, [this] { m_mascot->setBoops(++m_boops); });
    column->addWidget(m_mascotButton, 0, Qt::AlignHCenter);

    m_title =
        BrowserStyle::label(title, KitFont::font(13, QFont::DemiBold, FontDesign::rounded), SettingsPalette::ink());
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setWordWrap(true);
    column->addWidget(m_title, 0, Qt::AlignHCenter);

    m_detail = BrowserStyle::label(QString(), KitFont::font(11), BrowserStyle::white(0.5));
    m_detail->setAlignment(Qt::AlignCenter);
    m_detail->setWordWrap(true);
    m_detail->setMaximumWidth(340);
    column->addWidget(m_detail, 0, Qt::AlignHCenter);
    column->addStretch(1);
    setTexts(title, detail);
}

void EmptyPane::setTexts(const QString& title, const std::optional<QString>& detail)
{
    m_title->setText(title);
    m_detail->setText(detail.value_or(QString()));
    m_detail->setVisible(detail.has_value());
}

} // namespace tessaron
