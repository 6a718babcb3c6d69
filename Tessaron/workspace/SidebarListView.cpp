// The sidebar's list: keyboard and mouse over the rows the delegate draws, the anchor kept across
// changes, the context menu.
#include "Tessaron/workspace/SidebarRows.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/TopicQuip.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarModel.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/workspace/TextWrap.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/Symbols.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QHoverEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tessaron {

using namespace TessaronPalette;
using Sidebar::Entry;
using Part = SidebarRowDelegate::Part;

namespace {

void copyName(const QString& name)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(name);
}

} // namespace

SidebarListView::SidebarListView(SidebarModel* model, QWidget* parent)
    : QListView(parent)
    , m_model(model)
    , m_delegate(new SidebarRowDelegate(model, this))
    , m_hoverIn(new AnimatedValue(0.0, this))
    , m_hoverOut(new AnimatedValue(0.0, this))
    , m_reorder(new AnimatedValue(1.0, this))
{
    // It marks the row the arrows start from (paintEvent when none is current).
    setProperty(FocusRing::ownRing, true);
    if (BrokerSession* session = model->session())
        m_pinnedSeen = session->pinned();
    for (AnimatedValue* value : {m_hoverIn, m_hoverOut, m_reorder})
        connect(value, &AnimatedValue::valueChanged, viewport(), qOverload<>(&QWidget::update));
    setModel(model);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setResizeMode(QListView::Adjust);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setAccessibleName(loc("Sidebar"));
    setViewportMargins(0, 0, 0, 12);
    verticalScrollBar()->setObjectName(QStringLiteral("sidebarScrollBar"));
    const QString sheet = QStringLiteral(
        "QScrollBar#sidebarScrollBar:vertical { background: transparent; width: 8px; margin: 2px 2px 2px 0; }"
        "QScrollBar#sidebarScrollBar::handle:vertical { background: %1; border-radius: 3px; "
        "min-height: 24px; }"
        "QScrollBar#sidebarScrollBar::handle:vertical:hover { background: %2; }"
        "QScrollBar#sidebarScrollBar::add-line:vertical, QScrollBar#sidebarScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar#sidebarScrollBar::add-page:vertical, QScrollBar#sidebarScrollBar::sub-page:vertical { background: "
        "transparent; }");
    verticalScrollBar()->setStyleSheet(sheet.arg(css(scrollHandle(false)), css(scrollHandle(true))));
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &SidebarListView::rememberAnchor);
    connect(model, &QAbstractItemModel::modelReset, this, &SidebarListView::restoreAnchor);
}

int SidebarListView::contentHeight() const
{
    int h = 0;
    QStyleOptionViewItem option;
    for (int row = 0; row < m_model->rowCount(); ++row)
        h += m_delegate->sizeHint(option, m_model->index(row)).height();
    return h;
}

QHash<QString, int> SidebarListView::visibleTops() const
{
    QHash<QString, int> tops;
    const QModelIndex first = indexAt(QPoint(1, 1));
    if (!first.isValid())
        return tops;
    const int bottom = viewport()->height();
    for (int row = first.row(); row < m_model->rowCount(); ++row) {
        const QRect r = visualRect(m_model->index(row));
        if (r.top() > bottom)
            break;
        tops.insert(m_model->content().key(m_model->entry(row)), r.top());
    }
    return tops;
}

double SidebarListView::hoverAmount(const QString& key) const
{
    if (key.isEmpty())
        return 0.0;
    if (key == m_hoverKey)
        return m_hoverIn->value();
    if (key == m_leftKey)
        return m_hoverOut->value();
    return 0.0;
}

bool SidebarListView::isReordering() const { return m_reorder->isAnimating(); }

double SidebarListView::rowShift(const QString& key) const
{
    return isReordering() ? m_shift.value(key) * (1.0 - m_reorder->value()) : 0.0;
}

double SidebarListView::rowOpacity(const QString& key) const
{
    return isReordering() && m_arriving.contains(key) ? std::clamp(m_reorder->value(), 0.0, 1.0) : 1.0;
}

void SidebarListView::hoverRow(const QString& key)
{
    if (key == m_hoverKey)
        return;
    const Motion motion = decorativeMotion(this, Motion::easeOut(0.15));
    m_leftKey = m_hoverKey;
    m_hoverOut->setImmediately(m_hoverIn->value());
    m_hoverOut->animateTo(0.0, motion);
    m_hoverKey = key;
    m_hoverIn->setImmediately(0.0);
    m_hoverIn->animateTo(key.isEmpty() ? 0.0 : 1.0, motion);
    viewport()->update();
}

bool SidebarListView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove: {
        const QModelIndex index = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        const bool answers = index.isValid() && m_model->entry(index.row()).kind != Entry::heading
            && m_model->entry(index.row()).kind != Entry::fact;
        hoverRow(answers ? m_model->content().key(m_model->entry(index.row())) : QString());
        break;
    }
    case QEvent::HoverLeave:
        hoverRow(QString());
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

void SidebarListView::rememberAnchor()
{
    // A change of pins moves rows between sections; note where they stood so they can glide.
    m_topsBefore.clear();
    if (m_model->session() && m_model->session()->pinned() != m_pinnedSeen && isVisible() && motionAllowed(this))
        m_topsBefore = visibleTops();
    m_anchorKey.clear();
    if (verticalScrollBar()->value() == 0)
        return;
    const QModelIndex top = indexAt(QPoint(1, 1));
    if (!top.isValid())
        return;
    m_anchorKey = m_model->content().key(m_model->entry(top.row()));
    m_anchorOffset = visualRect(top).top();
}

void SidebarListView::restoreAnchor()
{
    const int row = m_anchorKey.isEmpty() ? -1 : m_model->rowOfKey(m_anchorKey);
    m_anchorKey.clear();
    if (row >= 0) {
        // Rows are laid out lazily; lay them out now to find where the anchor went.
        doItemsLayout();
        const QRect at = visualRect(m_model->index(row));
        verticalScrollBar()->setValue(verticalScrollBar()->value() + at.top() - m_anchorOffset);
    }
    if (m_model->session())
        m_pinnedSeen = m_model->session()->pinned();
    if (m_topsBefore.isEmpty())
        return;
    doItemsLayout();
    m_shift.clear();
    m_arriving.clear();
    const QHash<QString, int> after = visibleTops();
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        const auto before = m_topsBefore.constFind(it.key());
        if (before == m_topsBefore.cend())
            m_arriving.insert(it.key());
        else if (*before != it.value())
            m_shift.insert(it.key(), *before - it.value());
    }
    m_topsBefore.clear();
    m_reorder->setImmediately(0.0);
    m_reorder->animateTo(1.0, Motion::easeInOut(0.22));
}

void SidebarListView::activate(int row, SidebarRowDelegate::Part part)
{
    BrokerSession* session = m_model->session();
    if (!session || row < 0 || row >= m_model->rowCount())
        return;
    const Entry e = m_model->entry(row);
    switch (e.kind) {
    case Entry::topic: {
        const QString name = m_model->content().topicAt(e).name;
        if (part == Part::pinButton)
            session->togglePin(name);
        else
            session->setSelectedTopic(name);
        break;
    }
    case Entry::group: {
        const QString id = m_model->content().groups.at(e.index).id;
        session->setSelectedGroup(id);
        session->setSelectedTopic(std::nullopt);
        break;
    }
    case Entry::missingPin: {
        const QString name = m_model->content().sections.missingPins.at(e.index);
        // Only ever removes: a pin already gone is not put back.
        if (part == Part::unpinButton && session->pinned().contains(name))
            session->togglePin(name);
        break;
    }
    default:
        break;
    }
}

QList<QAction*> SidebarListView::contextActions(int row, QObject* owner)
{
    QList<QAction*> actions;
    BrokerSession* session = m_model->session();
    if (!session || row < 0 || row >= m_model->rowCount())
        return actions;
    const Entry e = m_model->entry(row);
    if (e.kind == Entry::topic) {
        const QString name = m_model->content().topicAt(e).name;
        auto* pin = new QAction(m_model->isPinned(name) ? L10n::t("Unpin") : L10n::t("Pin to the top"), owner);
        QPointer<BrokerSession> target(session);
        connect(pin, &QAction::triggered, owner, [target, name] {
            if (target)
                target->togglePin(name);
        });
        auto* copy = new QAction(L10n::t("Copy Name"), owner);
        connect(copy, &QAction::triggered, owner, [name] { copyName(name); });
        actions << pin << copy;
    } else if (e.kind == Entry::group) {
        const QString id = m_model->content().groups.at(e.index).id;
        auto* copy = new QAction(L10n::t("Copy Name"), owner);
        connect(copy, &QAction::triggered, owner, [id] { copyName(id); });
        actions << copy;
    }
    return actions;
}

void SidebarListView::focusInEvent(QFocusEvent* event)
{
    QListView::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason && reason != Qt::ShortcutFocusReason)
        return;
    // Tabbed onto, the list shows where the arrow keys start: the selected row, else the first one
    // a person can choose (a heading is never current).
    m_keyboardCursor = true;
    if (!currentIndex().isValid() || !(currentIndex().flags() & Qt::ItemIsEnabled)) {
        int start = -1;
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const Entry& e = m_model->entry(row);
            if (!(m_model->flags(m_model->index(row)) & Qt::ItemIsEnabled))
                continue;
            if (m_model->isSelected(e)) {
                start = row;
                break;
            }
            if (start < 0)
                start = row;
        }
        if (start >= 0)
            selectionModel()->setCurrentIndex(m_model->index(start), QItemSelectionModel::NoUpdate);
    }
    viewport()->update();
}

void SidebarListView::paintEvent(QPaintEvent* event)
{
    QListView::paintEvent(event);
    // A list with nothing to choose still shows that it has the focus.
    if (showsKeyboardCursor() && !currentIndex().isValid()) {
        QPainter painter(viewport());
        FocusRing::draw(painter, QRectF(viewport()->rect()), 6);
    }
}

void SidebarListView::focusOutEvent(QFocusEvent* event)
{
    m_keyboardCursor = false;
    QListView::focusOutEvent(event);
}

void SidebarListView::mousePressEvent(QMouseEvent* event)
{
    m_keyboardCursor = false;
    m_pressed = indexAt(event->position().toPoint());
    if (m_pressed.isValid())
        setCurrentIndex(m_pressed);
    event->accept();
}

void SidebarListView::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void SidebarListView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    const bool same = index.isValid() && index == m_pressed;
    m_pressed = QPersistentModelIndex();
    if (event->button() != Qt::LeftButton || !same)
        return;
    const auto part = m_delegate->partAt(index, visualRect(index), pos, true);
    if (part != SidebarRowDelegate::Part::none)
        activate(index.row(), part);
}

void SidebarListView::keyPressEvent(QKeyEvent* event)
{
    m_keyboardCursor = true;
    viewport()->update();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (currentIndex().isValid()) {
            activate(currentIndex().row());
            return;
        }
        break;
    default:
        break;
    }
    QListView::keyPressEvent(event);
}

void SidebarListView::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid())
        return;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QList<QAction*> actions = contextActions(index.row(), menu);
    if (actions.isEmpty()) {
        delete menu;
        return;
    }
    menu->addActions(actions);
    menu->popup(event->globalPos());
}

} // namespace tessaron
