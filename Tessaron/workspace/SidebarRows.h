#pragma once

#include "Tessaron/workspace/SidebarLogic.h"

#include <QFont>
#include <QHash>
#include <QSet>
#include <QListView>
#include <QStyledItemDelegate>

namespace tessaron {

class AnimatedValue;
class SidebarModel;

// Draws every kind of sidebar line: section headings, topic and queue rows, group rows, missing
// pins and the facts the session cannot see. Rows own nothing but their look under the pointer.
class SidebarRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Parts of a row that answer a click or a tooltip of their own.
    enum class Part { none, row, pinButton, unpinButton, underReplicated, countBadge };

    SidebarRowDelegate(SidebarModel* model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Which part of the row drawn in `rect` lies under `point`; the pin and unpin buttons count only
    // while the row is hovered, as they are drawn only then.
    Part partAt(const QModelIndex& index, const QRect& rect, const QPoint& point, bool hovered) const;

private:
    struct TopicGeometry {
        QRectF card, icon, name, pin, warning, badge;
    };
    TopicGeometry topicGeometry(const QRectF& rect, const Topic& topic) const;
    QRectF unpinRect(const QRectF& card) const;
    QRectF cardRect(const QRect& rowRect, const Sidebar::Entry& entry) const;
    QStringList reasonLines(const QString& reason, double width) const;
    double rowWidth() const;

    void paintHeading(QPainter& p, const QRect& rect, const Sidebar::Entry& e) const;
    void paintTopic(QPainter& p, const QRect& rect, const Sidebar::Entry& e, double hover, bool focused) const;
    void paintGroup(QPainter& p, const QRect& rect, const Sidebar::Entry& e, double hover, bool focused) const;
    void paintMissingPin(QPainter& p, const QRect& rect, const Sidebar::Entry& e, double hover, bool focused) const;
    void paintFact(QPainter& p, const QRect& rect, const Sidebar::Entry& e) const;

    SidebarModel* m_model;
    QFont m_heading, m_name, m_nameSelected, m_badge, m_stateBadge, m_missingNote, m_factSubject, m_factReason, m_unpin;
    int m_rowHeight, m_missingHeight, m_headingHeight;
};

// The sidebar's scrolling list over a SidebarModel: a click selects a topic or group in the
// session (there is no selection of the list's own), the pin buttons pin and unpin, the context
// menu pins and copies names; arrow keys move the focus and Return or Space selects.
class SidebarListView : public QListView {
    Q_OBJECT
public:
    explicit SidebarListView(SidebarModel* model, QWidget* parent = nullptr);

    SidebarModel* sidebarModel() const { return m_model; }
    SidebarRowDelegate* rowDelegate() const { return m_delegate; }
    // Does what a click on `part` of `row` does.
    void activate(int row, SidebarRowDelegate::Part part = SidebarRowDelegate::Part::row);
    // The actions of a row's context menu (empty for headings, missing pins and facts).
    QList<QAction*> contextActions(int row, QObject* owner);
    // The height all rows take, for a list that shows only a few.
    int contentHeight() const;
    // The focused row is marked once the keyboard brought the focus to the list or moved through it.
    bool showsKeyboardCursor() const { return m_keyboardCursor && hasFocus(); }
    // How far the row with `key` is into its hover look, 0 to 1.
    double hoverAmount(const QString& key) const;
    // While the rows settle after a change of pins: how far above its place the row with `key` is
    // drawn, and its opacity (rows new to the view fade in).
    double rowShift(const QString& key) const;
    double rowOpacity(const QString& key) const;
    bool isReordering() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void rememberAnchor();
    void restoreAnchor();
    void hoverRow(const QString& key);
    // Where each row on screen stands, by key, in viewport coordinates.
    QHash<QString, int> visibleTops() const;

    SidebarModel* m_model;
    SidebarRowDelegate* m_delegate;
    QPersistentModelIndex m_pressed;
    QString m_anchorKey;
    int m_anchorOffset = 0;
    bool m_keyboardCursor = false;
    QString m_hoverKey;
    QString m_leftKey;
    AnimatedValue* m_hoverIn;
    AnimatedValue* m_hoverOut;
    QStringList m_pinnedSeen;
    QHash<QString, int> m_topsBefore;
    QHash<QString, int> m_shift;
    QSet<QString> m_arriving;
    AnimatedValue* m_reorder;
};

} // namespace tessaron
