#include "Tessaron/workspace/SidebarRows.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/PaintedText.h"

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

void focusRing(QPainter& p, const QRectF& card) { FocusRing::draw(p, card, 6); }

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
    PaintedText::draw(p, QRectF(card.left(), card.top(), w + 1, card.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
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
    PaintedText::draw(p, name, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetricsF(font).elidedText(topic.name, Qt::ElideMiddle, std::max(0.0, name.width())));
    if (!g.warning.isNull())
        paintSymbol(p, QStringLiteral("exclamationmark.triangle.fill"), g.warning.center(), 8, amber());
    p.setPen(Qt::NoPen);
    p.setBrush(white(0.06));
    p.drawRoundedRect(g.badge, g.badge.height() / 2, g.badge.height() / 2);
    p.setFont(m_badge);
    p.setPen(selected ? white(0.85) : legible(white(0.5)));
    PaintedText::draw(p, g.badge, Qt::AlignCenter, badgeText(topic));
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
        PaintedText::draw(p, badge, Qt::AlignCenter, state);
    }
    const double x = card.left() + padLead + iconBox + gap;
    const QRectF name(x, card.top(), std::max(0.0, badge.left() - gap - x), card.height());
    const QFont& font = selected ? m_nameSelected : m_name;
    p.setFont(font);
    p.setPen(white(selected ? 1.0 : 0.9));
    PaintedText::draw(p, name, Qt::AlignLeft | Qt::AlignVCenter,
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
        PaintedText::draw(p, unpin, Qt::AlignCenter, L10n::t("Unpin"));
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
    PaintedText::draw(p, QRectF(x, y, width, nameH), Qt::AlignLeft | Qt::AlignVCenter, shown);
    p.fillRect(QRectF(x, std::round(y + nameH / 2), nm.horizontalAdvance(shown), 1), white(0.25));
    y += nameH + 1;
    p.setFont(m_missingNote);
    p.setPen(legible(white(0.35)));
    PaintedText::draw(
        p, QRectF(x, y, width, noteH), Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(m_missingNote).elidedText(L10n::t("The broker doesn't list it anymore."), Qt::ElideRight, width));
}

void SidebarRowDelegate::paintFact(QPainter& p, const QRect& rect, const Entry& e) const
{
    const Unobservable& fact = m_model->content().facts.at(e.index);
    const QRectF card = cardRect(rect, e).adjusted(9, 6, -9, -6);
    const double subjectH = lineHeight(m_factSubject);
    p.setFont(m_factSubject);
    p.setPen(legible(white(0.6)));
    PaintedText::draw(p, QRectF(card.left(), card.top(), card.width(), subjectH), Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetricsF(m_factSubject).elidedText(fact.subject, Qt::ElideRight, card.width()));
    double y = card.top() + subjectH + 2;
    const double reasonH = lineHeight(m_factReason);
    p.setFont(m_factReason);
    p.setPen(legible(white(0.35)));
    for (const QString& line : reasonLines(fact.reason, std::max(40.0, card.width()))) {
        PaintedText::draw(p, QRectF(card.left(), y, card.width(), reasonH), Qt::AlignLeft | Qt::AlignVCenter, line);
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

} // namespace tessaron
