#include "Tessaron/workspace/SidebarRows.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/TopicQuip.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarModel.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/TextWrap.h"
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

constexpr int listPadX = 10;   // the list's own inset
constexpr int factInsetX = 10; // the "Can't see" section's extra inset
constexpr int rowGap = 1;      // between rows
constexpr double padLead = 10, padTrail = 8, padY = 4, gap = 6, iconBox = 14;

void paintSymbol(QPainter& painter, const QString& name, QPointF centre, double size, const QColor& color)
{
    Symbols::paint(painter, name, Symbols::boxForSize(centre, size), color);
}

double lineHeight(const QFont& font) { return std::ceil(QFontMetricsF(font).height()); }

QString badgeText(const Topic& topic)
{
    return topic.error ? QStringLiteral("—") : Sidebar::compactCount(topic.retained());
}

void fillCard(QPainter& p, const QRectF& card, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(card, 6, 6);
}

void focusRing(QPainter& p, const QRectF& card)
{
    p.setPen(QPen(withOpacity(accent(), 0.6), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void copyName(const QString& name)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    clipboard->setText(name);
}

} // namespace

SidebarRowDelegate::SidebarRowDelegate(SidebarModel* model, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
    , m_heading(KitFont::font(9, QFont::Bold, FontDesign::standard, 0.8))
    , m_name(KitFont::font(12))
    , m_nameSelected(KitFont::font(12, QFont::DemiBold))
    , m_badge(KitFont::font(9, QFont::Medium, FontDesign::monospaced))
    , m_stateBadge(KitFont::font(8, QFont::Black, FontDesign::monospaced, 0.4))
    , m_missingNote(KitFont::font(9.5))
    , m_factSubject(KitFont::font(11, QFont::DemiBold, FontDesign::rounded))
    , m_factReason(KitFont::font(9.5, QFont::Normal, FontDesign::rounded))
    , m_unpin(KitFont::font(9, QFont::DemiBold))
{
    m_rowHeight = int(padY * 2 + std::max(lineHeight(m_name), 16.0)) + rowGap;
    m_missingHeight = int(padY * 2 + lineHeight(m_name) + 1 + lineHeight(m_missingNote)) + rowGap;
    m_headingHeight = int(2 + lineHeight(m_heading) + 3) + rowGap;
}

double SidebarRowDelegate::rowWidth() const
{
    auto* view = qobject_cast<QAbstractItemView*>(parent());
    return view ? view->viewport()->width() : 280;
}

QStringList SidebarRowDelegate::reasonLines(const QString& reason, double width) const
{
    return TextWrap::lines(reason.simplified(), m_factReason, width, 2, Qt::ElideRight);
}

QSize SidebarRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const Entry& e = m_model->entry(index.row());
    const int width = int(rowWidth());
    switch (e.kind) {
    case Entry::heading:
        return {width, m_headingHeight + e.spaceAbove};
    case Entry::topic:
    case Entry::group:
        return {width, m_rowHeight};
    case Entry::missingPin:
        return {width, m_missingHeight};
    case Entry::fact: {
        const Unobservable& fact = m_model->content().facts.at(e.index);
        const double textWidth = width - 2 * (listPadX + factInsetX) - 18;
        const auto lines = reasonLines(fact.reason, std::max(40.0, textWidth));
        const double h =
            6 + lineHeight(m_factSubject) + (lines.isEmpty() ? 0 : 2 + lines.size() * lineHeight(m_factReason)) + 6;
        return {width, int(std::ceil(h)) + rowGap};
    }
    }
    return {width, m_rowHeight};
}

QRectF SidebarRowDelegate::cardRect(const QRect& rowRect, const Entry& e) const
{
    const int inset = listPadX + (e.section == Entry::cantSee ? factInsetX : 0);
    QRectF card = QRectF(rowRect).adjusted(inset, 0, -inset, -rowGap);
    if (e.kind == Entry::heading)
        card.setTop(card.top() + e.spaceAbove);
    return card;
}

SidebarRowDelegate::TopicGeometry SidebarRowDelegate::topicGeometry(const QRectF& card, const Topic& topic) const
{
    TopicGeometry g;
    g.card = card;
    const double cy = card.center().y();
    g.icon = QRectF(card.left() + padLead, cy - 7, iconBox, 14);
    double right = card.right() - padTrail;
    const QFontMetricsF bm(m_badge);
    const double bw = bm.horizontalAdvance(badgeText(topic)) + 10;
    const double bh = bm.height() + 2;
    g.badge = QRectF(right - bw, cy - bh / 2, bw, bh);
    right = g.badge.left() - gap;
    if (topic.hasUnderReplicated()) {
        g.warning = QRectF(right - 10, cy - 5, 10, 10);
        right = g.warning.left() - gap;
    }
    g.pin = QRectF(right - 16, cy - 8, 16, 16);
    g.name = QRectF(g.icon.right() + gap, card.top(), 0, card.height());
    g.name.setRight(right);
    return g;
}

QRectF SidebarRowDelegate::unpinRect(const QRectF& card) const
{
    const QFontMetricsF fm(m_unpin);
    const double w = fm.horizontalAdvance(L10n::t("Unpin")) + 12;
    const double h = fm.height() + 4;
    return QRectF(card.right() - padTrail - w, card.center().y() - h / 2, w, h);
}

Part SidebarRowDelegate::partAt(const QModelIndex& index, const QRect& rect, const QPoint& point, bool hovered) const
{
    if (!index.isValid())
        return Part::none;
    const Entry& e = m_model->entry(index.row());
    const QRectF card = cardRect(rect, e);
    if (e.kind == Entry::topic) {
        const TopicGeometry g = topicGeometry(card, m_model->content().topicAt(e));
        if (hovered && g.pin.contains(point))
            return Part::pinButton;
        if (!g.warning.isNull() && g.warning.adjusted(-2, -3, 2, 3).contains(point))
            return Part::underReplicated;
        if (g.badge.adjusted(0, -3, 0, 3).contains(point))
            return Part::countBadge;
        return Part::row;
    }
    if (e.kind == Entry::missingPin && hovered && unpinRect(card).contains(point))
        return Part::unpinButton;
    return e.kind == Entry::heading ? Part::none : Part::row;
}

void SidebarRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= m_model->rowCount())
        return;
    const Entry& e = m_model->entry(index.row());
    auto* list = qobject_cast<const SidebarListView*>(parent());
    const QString key = m_model->content().key(e);
    const double hovered = list ? list->hoverAmount(key) : (option.state & QStyle::State_MouseOver ? 1.0 : 0.0);
    const bool focused = (option.state & QStyle::State_HasFocus) && list && list->showsKeyboardCursor();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (list && list->isReordering()) {
        painter->translate(0, list->rowShift(key));
        painter->setOpacity(list->rowOpacity(key));
    }
    switch (e.kind) {
    case Entry::heading:
        paintHeading(*painter, option.rect, e);
        break;
    case Entry::topic:
        paintTopic(*painter, option.rect, e, hovered, focused);
        break;
    case Entry::group:
        paintGroup(*painter, option.rect, e, hovered, focused);
        break;
    case Entry::missingPin:
        paintMissingPin(*painter, option.rect, e, hovered, focused);
        break;
    case Entry::fact:
        paintFact(*painter, option.rect, e);
        break;
    }
    painter->restore();
}

void SidebarRowDelegate::paintHeading(QPainter& p, const QRect& rect, const Entry& e) const
{
    QColor tint;
    switch (e.section) {
    case Entry::pinned:
        tint = mint();
        break;
    case Entry::deadLetters:
    case Entry::cantSee:
        tint = amber();
        break;
    case Entry::topics:
        tint = accent();
        break;
    case Entry::groups:
        tint = lavender();
        break;
    }
    const QRectF card = cardRect(rect, e).adjusted(8, 2, -8, -3);
    const QString text = m_model->headingText(e.section).toUpper();
    const QFontMetricsF fm(m_heading);
    const double w = fm.horizontalAdvance(text);
    p.setFont(m_heading);
    p.setPen(withOpacity(tint, 0.85));
    p.drawText(QRectF(card.left(), card.top(), w + 1, card.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
    const double ruleX = card.left() + w + 7;
    if (ruleX < card.right())
        p.fillRect(QRectF(ruleX, std::round(card.center().y()), card.right() - ruleX, 1), white(0.07));
}

void SidebarRowDelegate::paintTopic(QPainter& p, const QRect& rect, const Entry& e, double hover, bool focused) const
{
    const Topic& topic = m_model->content().topicAt(e);
    const bool selected = m_model->isSelected(e);
    const bool pinned = m_model->isPinned(topic.name);
    const TopicGeometry g = topicGeometry(cardRect(rect, e), topic);
    if (selected)
        fillCard(p, g.card, withOpacity(accent(), 0.28));
    else if (hover > 0)
        fillCard(p, g.card, white(0.06 * hover));
    if (focused)
        focusRing(p, g.card);
    const bool dead = topic.looksLikeDeadLetter();
    paintSymbol(p, dead ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("tray.full"),
                g.icon.center(), 10, dead ? amber() : accent());
    QRectF name = g.name;
    if (hover > 0) {
        // The pin button fades in and out with the hover look.
        name.setRight(g.pin.left() - 4);
        const double opacity = p.opacity();
        p.setOpacity(opacity * hover);
        paintSymbol(p, pinned ? QStringLiteral("pin.slash.fill") : QStringLiteral("pin.fill"), g.pin.center(), 9,
                    pinned ? muted() : mint());
        p.setOpacity(opacity);
    }
    const QFont& font = selected ? m_nameSelected : m_name;
    p.setFont(font);
    p.setPen(white(selected ? 1.0 : 0.9));
    p.drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(font).elidedText(topic.name, Qt::ElideMiddle, std::max(0.0, name.width())));
    if (!g.warning.isNull())
        paintSymbol(p, QStringLiteral("exclamationmark.triangle.fill"), g.warning.center(), 8, amber());
    p.setPen(Qt::NoPen);
    p.setBrush(white(0.06));
    p.drawRoundedRect(g.badge, g.badge.height() / 2, g.badge.height() / 2);
    p.setFont(m_badge);
    p.setPen(white(0.5));
    p.drawText(g.badge, Qt::AlignCenter, badgeText(topic));
}

void SidebarRowDelegate::paintGroup(QPainter& p, const QRect& rect, const Entry& e, double hover, bool focused) const
{
    const ConsumerGroup& group = m_model->content().groups.at(e.index);
    const bool selected = m_model->isSelected(e);
    const QRectF card = cardRect(rect, e);
    if (selected)
        fillCard(p, card, withOpacity(lavender(), 0.24));
    else if (hover > 0)
        fillCard(p, card, white(0.06 * hover));
    if (focused)
        focusRing(p, card);
    const bool empty = group.hasNoMembers();
    const double cy = card.center().y();
    paintSymbol(p, empty ? QStringLiteral("person.slash") : QStringLiteral("person.2"),
                QPointF(card.left() + padLead + iconBox / 2, cy), 10, empty ? amber() : lavender());
    const QString state = group.state.toUpper();
    const QFontMetricsF sm(m_stateBadge);
    const double bw = sm.horizontalAdvance(state) + 10;
    const double bh = sm.height() + 2;
    const QRectF badge(card.right() - padTrail - bw, cy - bh / 2, bw, bh);
    if (!state.isEmpty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(white(0.06));
        p.drawRoundedRect(badge, bh / 2, bh / 2);
        p.setFont(m_stateBadge);
        p.setPen(empty ? amber() : legible(white(0.45)));
        p.drawText(badge, Qt::AlignCenter, state);
    }
    const double x = card.left() + padLead + iconBox + gap;
    const QRectF name(x, card.top(), std::max(0.0, badge.left() - gap - x), card.height());
    const QFont& font = selected ? m_nameSelected : m_name;
    p.setFont(font);
    p.setPen(white(selected ? 1.0 : 0.9));
    p.drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(font).elidedText(group.id, Qt::ElideMiddle, name.width()));
}

void SidebarRowDelegate::paintMissingPin(QPainter& p, const QRect& rect, const Entry& e, double hover,
                                         bool focused) const
{
    const QString& name = m_model->content().sections.missingPins.at(e.index);
    const QRectF card = cardRect(rect, e);
    if (hover > 0)
        fillCard(p, card, white(0.04 * hover));
    if (focused)
        focusRing(p, card);
    const double cy = card.center().y();
    paintSymbol(p, QStringLiteral("pin.slash"), QPointF(card.left() + padLead + iconBox / 2, cy), 10, muted());
    const double x = card.left() + padLead + iconBox + gap;
    double right = card.right() - padTrail;
    const QRectF unpin = unpinRect(card);
    if (hover > 0) {
        right = unpin.left() - 4;
        p.save();
        p.setOpacity(p.opacity() * hover);
        p.setPen(Qt::NoPen);
        p.setBrush(white(0.08));
        p.drawRoundedRect(unpin, unpin.height() / 2, unpin.height() / 2);
        p.setFont(m_unpin);
        p.setPen(muted());
        p.drawText(unpin, Qt::AlignCenter, L10n::t("Unpin"));
        p.restore();
    }
    const double width = std::max(0.0, right - x);
    const double nameH = lineHeight(m_name);
    const double noteH = lineHeight(m_missingNote);
    double y = cy - (nameH + 1 + noteH) / 2;
    const QFontMetricsF nm(m_name);
    const QString shown = nm.elidedText(name, Qt::ElideMiddle, width);
    p.setFont(m_name);
    p.setPen(legible(white(0.45)));
    p.drawText(QRectF(x, y, width, nameH), Qt::AlignLeft | Qt::AlignVCenter, shown);
    p.fillRect(QRectF(x, std::round(y + nameH / 2), nm.horizontalAdvance(shown), 1), white(0.25));
    y += nameH + 1;
    p.setFont(m_missingNote);
    p.setPen(legible(white(0.35)));
    p.drawText(
        QRectF(x, y, width, noteH), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(m_missingNote).elidedText(L10n::t("The broker doesn't list it anymore."), Qt::ElideRight, width));
}

void SidebarRowDelegate::paintFact(QPainter& p, const QRect& rect, const Entry& e) const
{
    const Unobservable& fact = m_model->content().facts.at(e.index);
    const QRectF card = cardRect(rect, e).adjusted(9, 6, -9, -6);
    const double subjectH = lineHeight(m_factSubject);
    p.setFont(m_factSubject);
    p.setPen(white(0.6));
    p.drawText(QRectF(card.left(), card.top(), card.width(), subjectH), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(m_factSubject).elidedText(fact.subject, Qt::ElideRight, card.width()));
    double y = card.top() + subjectH + 2;
    const double reasonH = lineHeight(m_factReason);
    p.setFont(m_factReason);
    p.setPen(legible(white(0.35)));
    for (const QString& line : reasonLines(fact.reason, std::max(40.0, card.width()))) {
        p.drawText(QRectF(card.left(), y, card.width(), reasonH), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += reasonH;
    }
}

bool SidebarRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const Entry& e = m_model->entry(index.row());
    const bool hovered = option.state & QStyle::State_MouseOver;
    QString tip;
    switch (partAt(index, option.rect, event->pos(), hovered)) {
    case Part::pinButton:
        tip = m_model->isPinned(m_model->content().topicAt(e).name) ? L10n::t("Unpin") : L10n::t("Pin to the top");
        break;
    case Part::underReplicated:
        tip = L10n::t("Under-replicated");
        break;
    case Part::countBadge: {
        const Topic& topic = m_model->content().topicAt(e);
        const BrokerSession* session = m_model->session();
        tip = topic.error ? *topic.error : topicQuip(session ? session->broker().kind : BrokerKind(), topic);
        break;
    }
    default:
        if (e.kind == Entry::missingPin)
            tip = L10n::t("Pinned here, but the broker's last listing didn't include it. Deleted, renamed, or filtered "
                          "— Tessaron can't tell which.");
        break;
    }
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), PlainText::toolTip(tip), view);
    return true;
}

SidebarListView::SidebarListView(SidebarModel* model, QWidget* parent)
    : QListView(parent)
    , m_model(model)
    , m_delegate(new SidebarRowDelegate(model, this))
    , m_hoverIn(new AnimatedValue(0.0, this))
    , m_hoverOut(new AnimatedValue(0.0, this))
    , m_reorder(new AnimatedValue(1.0, this))
{
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
    setAccessibleName(QStringLiteral("sidebar"));
    setViewportMargins(0, 0, 0, 12);
    verticalScrollBar()->setObjectName(QStringLiteral("sidebarScrollBar"));
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar#sidebarScrollBar:vertical { background: transparent; width: 8px; margin: 2px 2px 2px 0; }"
        "QScrollBar#sidebarScrollBar::handle:vertical { background: rgba(255, 255, 255, 0.16); border-radius: 3px; min-height: 24px; }"
        "QScrollBar#sidebarScrollBar::handle:vertical:hover { background: rgba(255, 255, 255, 0.28); }"
        "QScrollBar#sidebarScrollBar::add-line:vertical, QScrollBar#sidebarScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar#sidebarScrollBar::add-page:vertical, QScrollBar#sidebarScrollBar::sub-page:vertical { background: transparent; }"));
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
