#include "Tessaron/reception/WaitingRoom.h"

#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/reception/ReceptionWidgets.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QVBoxLayout>

namespace tessaron {

using namespace TessaronPalette;

WaitingRoom::WaitingRoom(std::function<void()> action, QWidget* parent)
    : PanelSurface(accent(), parent)
    , m_action(std::move(action))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(22, 22, 22, 22);
    row->setSpacing(22);

    auto* words = new QVBoxLayout();
    words->setSpacing(8);
    words->addWidget(
        reception::label(L10n::t("No brokers yet."), KitFont::font(20, QFont::Bold, FontDesign::rounded), ink(), this));
    words->addWidget(reception::label(L10n::t("I can wait. Waiting is about 60% of being a dog."), KitFont::font(12.5),
                                      muted(), this, true));
    row->addLayout(words, 1);
    row->addSpacing(12);

    m_button = new KitButton(L10n::t("Open the first one"), std::make_unique<PrimaryButtonStyle>(), this);
    m_button->setTrailingSymbol(QStringLiteral("arrow.right"));
    m_button->setSymbolSpacing(12);
    connect(m_button, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
    row->addWidget(m_button, 0, Qt::AlignVCenter);

    // The default action of the window while the waiting room shows.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, m_button, &QAbstractButton::click);
    }
}

} // namespace tessaron
