// The sidebar's popovers: the broker menu, the broker and folder pickers, the scope help and the
// list menu. Every row closes its own popover first, then acts.
#include "Tessaron/workspace/TopicListView.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarChips.h"
#include "Tessaron/workspace/SidebarControls.h"
#include "Tessaron/workspace/SidebarLogic.h"
#include "Tessaron/kit/SecuritySentence.h"
#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/analysis/TopicFilter.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace tessaron {

using namespace TessaronPalette;
using PlainText::label;

namespace {

// One level of the scope help: icon, title, explanation.
QWidget* levelRow(const QString& icon, const QString& title, const QString& explanation, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(8, 5, 8, 5);
    line->setSpacing(9);
    auto* symbol = new SymbolView(icon, 11, accent(), row);
    symbol->setFixedWidth(16);
    line->addWidget(symbol, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(label(title, KitFont::font(12, QFont::DemiBold, FontDesign::rounded), ink(), row));
    texts->addWidget(label(explanation, KitFont::font(10.5), muted(), row, true));
    line->addLayout(texts, 1);
    return row;
}

// A row of `pop` that closes the popover, then acts (while `context` lives).
PopoverRow* actionRow(QObject* context, SidebarPopover* pop, const QString& title, PopoverRow::Look look,
                      std::function<void()> act)
{
    auto* r = new PopoverRow(title, std::move(look), pop);
    QPointer<SidebarPopover> owner(pop);
    QObject::connect(r, &QAbstractButton::clicked, context, [owner, act = std::move(act)] {
        if (owner)
            owner->close();
        act();
    });
    pop->addRow(r);
    return r;
}

// "Open another broker", the last row of both broker popovers.
void addOpenAnother(QObject* context, SidebarPopover* pop, AppState* app)
{
    PopoverRow::Look another;
    another.icon = QStringLiteral("plus");
    QPointer<AppState> appGuard(app);
    actionRow(context, pop, L10n::t("Open another broker"), another, [appGuard] {
        if (appGuard)
            appGuard->setShowingPicker(true);
    });
}

} // namespace

SidebarPopover* TopicListView::popover(Popover which) const { return m_popovers[int(which)].data(); }

QWidget* TopicListView::anchorOf(Popover which) const
{
    switch (which) {
    case Popover::brokerMenu:
        return m_more;
    case Popover::brokerPicker:
        return m_brokerPill;
    case Popover::namespacePicker:
        return m_folderPill;
    case Popover::scopeHelp:
        return m_scopeHelp;
    case Popover::listMenu:
        return m_listOptions;
    }
    return nullptr;
}

SidebarPopover* TopicListView::togglePopover(Popover which)
{
    QPointer<SidebarPopover>& slot = m_popovers[int(which)];
    if (slot) {
        slot->close();
        slot = nullptr;
        return nullptr;
    }
    if (!m_session || !m_app)
        return nullptr;
    slot = buildPopover(which);
    connect(slot, &SidebarPopover::closed, this, [this, which] {
        if (QPointer<SidebarPopover>& open = m_popovers[int(which)]; open && !open->isVisible())
            open = nullptr;
    });
    slot->popUp(anchorOf(which));
    return slot;
}

SidebarPopover* TopicListView::buildPopover(Popover which)
{
    switch (which) {
    case Popover::brokerMenu:
        return buildBrokerMenu();
    case Popover::brokerPicker:
        return buildBrokerPicker();
    case Popover::namespacePicker:
        return buildNamespacePicker();
    case Popover::scopeHelp:
        return buildScopeHelp();
    case Popover::listMenu:
        return buildListMenu();
    }
    return nullptr;
}

SidebarPopover* TopicListView::buildBrokerMenu()
{
    BrokerSession* session = m_session;
    QPointer<AppState> appGuard(m_app);
    QPointer<BrokerSession> sessionGuard(session);
    auto* pop = new SidebarPopover(L10n::t("THIS BROKER"), accent(), securitySentence(session->broker()), this);
    PopoverRow::Look edit;
    edit.subtitle = session->broker().bootstrap;
    edit.icon = QStringLiteral("slider.horizontal.3");
    actionRow(this, pop, L10n::t("Edit this broker"), edit, [appGuard, sessionGuard] {
        if (appGuard && sessionGuard)
            appGuard->setEditing(sessionGuard->broker());
    });
    addOpenAnother(this, pop, m_app);
    pop->addRow(new PopoverDivider(pop));
    PopoverRow::Look close;
    close.subtitle = L10n::t("The tab, not the broker. He leaves it as he found it.");
    close.subtitleIsProse = true;
    close.icon = QStringLiteral("xmark");
    close.destructive = true;
    const QUuid id = session->id();
    actionRow(this, pop, L10n::t("Close this broker"), close, [appGuard, id] {
        if (appGuard)
            appGuard->close(id);
    });
    return pop;
}

SidebarPopover* TopicListView::buildBrokerPicker()
{
    AppState* app = m_app;
    BrokerSession* session = m_session;
    QPointer<AppState> appGuard(app);
    auto* pop = new SidebarPopover(L10n::t("BROKERS ON FILE"), accent(),
                                   Sidebar::brokersOnFileRemark(app->brokers().size()), this);
    for (const Broker& broker : app->brokers()) {
        PopoverRow::Look look;
        look.subtitle = broker.bootstrap;
        look.icon =
            broker.kind == BrokerKind::rabbitmq ? QStringLiteral("hare.fill") : QStringLiteral("shippingbox.fill");
        look.selected = broker.id == session->broker().id;
        const bool openElsewhere = !look.selected
            && std::any_of(app->sessions().begin(), app->sessions().end(),
                           [&](const BrokerSession* s) { return s->id() == broker.id; });
        if (openElsewhere)
            look.trailing = L10n::t("open");
        actionRow(this, pop, broker.name, look, [appGuard, broker] {
            if (appGuard)
                appGuard->open(broker);
        });
    }
    pop->addRow(new PopoverDivider(pop));
    addOpenAnother(this, pop, app);
    return pop;
}

SidebarPopover* TopicListView::buildNamespacePicker()
{
    BrokerSession* session = m_session;
    QPointer<BrokerSession> sessionGuard(session);
    auto* pop = new SidebarPopover(L10n::t("FOLDERS"), accent(),
                                   L10n::t("He made these up from the names. They work anyway."), this);
    PopoverRow::Look everything;
    everything.icon = QStringLiteral("tray.full");
    everything.selected = !session->nameSpace().has_value();
    everything.trailing = QString::number(Sidebar::folderCount(session->topics(), std::nullopt));
    actionRow(this, pop, L10n::t("Everything"), everything, [sessionGuard] {
        if (sessionGuard)
            sessionGuard->setNameSpace(std::nullopt);
    });
    pop->addRow(new PopoverDivider(pop));
    for (const QString& folder : TopicFilter::namespaces(session->topics())) {
        PopoverRow::Look look;
        look.icon = QStringLiteral("folder.fill");
        look.selected = session->nameSpace() == folder;
        look.trailing = QString::number(Sidebar::folderCount(session->topics(), folder));
        actionRow(this, pop, folder, look, [sessionGuard, folder] {
            if (sessionGuard)
                sessionGuard->setNameSpace(folder);
        });
    }
    return pop;
}

SidebarPopover* TopicListView::buildScopeHelp()
{
    auto* pop = new SidebarPopover(L10n::t("WHERE AM I LOOKING"), accent(),
                                   L10n::t("Three levels. He only invented the middle one."), this);
    pop->addRow(levelRow(QStringLiteral("shippingbox.fill"), L10n::t("Broker"),
                         L10n::t("One cluster. Switching opens another tab; nothing here is touched."), pop));
    pop->addRow(levelRow(QStringLiteral("folder.fill"), L10n::t("Folder"),
                         L10n::t("Kafka has no folders — topics are a flat list. But everyone names them in parts, "
                                 "like orders.events and orders.events.dlq, so he treats the first part as one. It "
                                 "only appears when a cluster actually names things that way."),
                         pop));
    pop->addRow(levelRow(QStringLiteral("tray.full"), L10n::t("Topic"),
                         L10n::t("The log itself. The number beside it is what it still retains, not everything "
                                 "ever produced."),
                         pop));
    return pop;
}

SidebarPopover* TopicListView::buildListMenu()
{
    QPointer<TopicListView> self(this);
    auto* pop = new SidebarPopover(L10n::t("THE LIST"), accent(), std::nullopt, this);
    auto* toggle = new PopoverToggle(
        L10n::t("Show Kafka's internal topics"), L10n::t("__consumer_offsets and friends. His bookkeeping, not yours."),
        QStringLiteral("eye"), UserDefaults::standard().boolean(Prefs::showInternalTopics).value_or(false), pop);
    connect(toggle, &PopoverToggle::toggled, this,
            [](bool on) { UserDefaults::standard().setBool(Prefs::showInternalTopics, on); });
    pop->addRow(toggle);
    PopoverRow::Look refresh;
    refresh.icon = QStringLiteral("arrow.clockwise");
    actionRow(this, pop, L10n::t("Refresh Topics"), refresh, [self] {
        if (self)
            self->startRefresh();
    });
    return pop;
}

} // namespace tessaron
