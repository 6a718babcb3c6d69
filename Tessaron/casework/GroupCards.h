#pragma once

// The small views of the consumer group screen: the stat tile, one member, and the table of a
// group's committed positions on one topic. They show what they are given and change nothing.

#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/casework/GroupLogic.h"
#include "TessaronCore/model/GroupMember.h"
#include "TessaronCore/model/GroupPosition.h"

#include <QHash>
#include <QWidget>

#include <optional>

namespace tessaron {

// A value and an optional label on a faint capsule.
class GroupStat : public QWidget {
    Q_OBJECT
public:
    GroupStat(const QString& value, const QString& label, const QColor& tint, QWidget* parent = nullptr);
    QString value() const { return m_value; }
    QString label() const { return m_label; }
    QColor tint() const { return m_tint; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_value;
    QString m_label;
    QColor m_tint;
};

// One member: its name (client id, else member id), static membership badge, host, and what it holds.
class MemberRow : public QWidget {
    Q_OBJECT
public:
    explicit MemberRow(const GroupMember& member, QWidget* parent = nullptr);
    const GroupMember& member() const { return m_member; }
    QString assignment() const;

private:
    GroupMember m_member;
};

// The positions of one topic: partition, committed, end, behind and held by, drawn as one grid.
class PositionTable : public QWidget {
    Q_OBJECT
public:
    PositionTable(const QList<GroupPosition>& rows, const std::optional<GroupPosition>& worst,
                  const QHash<QString, QString>& clients, bool membersUnknown = false, QWidget* parent = nullptr);

    const QList<GroupLogic::PositionCells>& cells() const { return m_cells; }
    // The hover help at a point of the grid; empty where there is none.
    QString tipAt(const QPoint& point) const;
    // Where row `index`'s column `column` (0 to 4) is drawn.
    QRectF cellRect(qsizetype index, int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    double rowHeight() const;
    double headerHeight() const;
    QList<GroupLogic::PositionCells> m_cells;
};

} // namespace tessaron
