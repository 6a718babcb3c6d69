#include "Tessaron/casework/GroupCards.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/casework/HoverTip.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

using namespace CaseworkStyle;

namespace {

QFont statValueFont() { return KitFont::font(11, QFont::Bold, FontDesign::monospaced); }
QFont statLabelFont() { return KitFont::font(10); }

// The grid's columns: left edge, width, and whether the text sits at the trailing edge.
struct Column {
    double left;
    double width;
    bool trailing;
};
constexpr Column columns[] = {{0, 36, false}, {54, 92, true}, {164, 92, true}, {274, 92, true}, {390, 100, false}};
constexpr double rowSpacing = 4;
constexpr double heldByMinimum = 44;

QFont headerFont() { return KitFont::font(8.5, QFont::DemiBold, FontDesign::monospaced, 0.8); }
QFont cellFont(bool strong)
{
    return KitFont::font(10.5, strong ? QFont::DemiBold : QFont::Normal, FontDesign::monospaced);
}
QFont boldCellFont() { return KitFont::font(10.5, QFont::Bold, FontDesign::monospaced); }

QString endHelp()
{
    return loc("No end to measure against — the topic isn't listed, or its watermarks wouldn't read.");
}
QString pastEndHelp()
{
    return loc("Committed beyond where the partition ends. The consumer's next read is out of range, and its "
               "auto.offset.reset decides what happens — possibly skipping to the latest.");
}

} // namespace

GroupStat::GroupStat(const QString& value, const QString& label, const QColor& tint, QWidget* parent)
    : QWidget(parent)
    , m_value(value)
    , m_label(label)
    , m_tint(tint)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(label.isEmpty() ? value : value + QLatin1Char(' ') + label);
}

QSize GroupStat::sizeHint() const
{
    double w = QFontMetricsF(statValueFont()).horizontalAdvance(m_value);
    if (!m_label.isEmpty())
        w += 4 + QFontMetricsF(statLabelFont()).horizontalAdvance(m_label);
    const double h = std::max(QFontMetricsF(statValueFont()).height(), QFontMetricsF(statLabelFont()).height());
    return QSize(int(std::ceil(w + 16)) + 1, int(std::ceil(h + 8)));
}

void GroupStat::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(rect());
    painter.setPen(Qt::NoPen);
    painter.setBrush(white(0.05));
    painter.drawRoundedRect(box, box.height() / 2, box.height() / 2);
    double x = 8;
    painter.setFont(statValueFont());
    painter.setPen(m_tint);
    const double valueWidth = QFontMetricsF(statValueFont()).horizontalAdvance(m_value);
    PaintedText::draw(painter, QRectF(x, 0, valueWidth + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, m_value);
    if (!m_label.isEmpty()) {
        x += valueWidth + 4;
        painter.setFont(statLabelFont());
        painter.setPen(TessaronPalette::legible(white(0.45)));
        PaintedText::draw(painter, QRectF(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft, m_label);
    }
}

MemberRow::MemberRow(const GroupMember& member, QWidget* parent)
    : QWidget(parent)
    , m_member(member)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 3, 0, 3);
    row->setSpacing(9);
    auto* person = new SymbolView(QStringLiteral("person.fill"), 10, allClearGreen());
    person->setFixedWidth(14);
    auto* personBox = new QVBoxLayout();
    personBox->setContentsMargins(0, 2, 0, 0);
    personBox->addWidget(person, 0, Qt::AlignHCenter);
    personBox->addStretch(1);
    row->addLayout(personBox);

    auto* column = new QVBoxLayout();
    column->setSpacing(2);
    auto* top = new QHBoxLayout();
    top->setSpacing(6);
    top->addWidget(new ElidedLabel(GroupLogic::memberName(member),
                                   KitFont::font(11.5, QFont::DemiBold, FontDesign::monospaced), ink()));
    if (member.instanceID && !member.instanceID->isEmpty()) {
        auto* badge = label(*member.instanceID, KitFont::font(9, QFont::Medium, FontDesign::monospaced), muted());
        badge->setObjectName(QStringLiteral("staticMembership"));
        badge->setContentsMargins(5, 1, 5, 1);
        badge->setStyleSheet(QStringLiteral("#staticMembership { background: %1; border-radius: 7px; }")
                                 .arg(TessaronPalette::css(TessaronPalette::quietFill())));
        badge->setToolTip(loc("Static membership id"));
        top->addWidget(badge);
    }
    top->addStretch(1);
    top->addSpacing(4);
    top->addWidget(label(member.host, KitFont::font(10, QFont::Normal, FontDesign::monospaced), muted()));
    column->addLayout(top);
    auto* assigned = label(assignment(), KitFont::font(10, QFont::Normal, FontDesign::monospaced), muted(), true);
    assigned->setObjectName(QStringLiteral("assignment"));
    assigned->setMaximumHeight(int(std::ceil(QFontMetricsF(assigned->font()).lineSpacing() * 2)));
    column->addWidget(assigned);
    row->addLayout(column, 1);
}

QString MemberRow::assignment() const { return GroupLogic::assignmentLine(m_member); }

PositionTable::PositionTable(const QList<GroupPosition>& rows, const std::optional<GroupPosition>& worst,
                             const QHash<QString, QString>& clients, bool membersUnknown, QWidget* parent)
    : QWidget(parent)
{
    for (const GroupPosition& row : rows)
        m_cells.append(GroupLogic::positionCells(row, worst, clients, membersUnknown));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The grid is painted: a screen reader hears it as each row's cells under their headings.
    QStringList read;
    for (const GroupLogic::PositionCells& cells : m_cells)
        read << cells.partition + QStringLiteral(" \u2014 ")
                + QStringList{loc("committed") + QStringLiteral(": ") + cells.committed,
                              loc("end") + QStringLiteral(": ") + cells.end.value_or(QStringLiteral("\u2014")),
                              loc("behind") + QStringLiteral(": ") + cells.behindText,
                              loc("held by") + QStringLiteral(": ") + cells.heldBySpoken}
                      .join(QStringLiteral(", "));
    setAccessibleName(read.join(QStringLiteral("; ")));
}

double PositionTable::rowHeight() const { return std::ceil(QFontMetricsF(cellFont(false)).height()); }
double PositionTable::headerHeight() const { return std::ceil(QFontMetricsF(headerFont()).height()); }

QSize PositionTable::sizeHint() const
{
    const double h = headerHeight() + m_cells.size() * (rowSpacing + rowHeight());
    return QSize(int(columns[4].left + 180), int(std::ceil(h)));
}

QSize PositionTable::minimumSizeHint() const
{
    // "held by" elides: the numbers keep their columns in a pane as narrow as 820 px gives.
    return QSize(int(columns[4].left + heldByMinimum), sizeHint().height());
}

QRectF PositionTable::cellRect(qsizetype index, int column) const
{
    const Column& c = columns[column];
    const double width = column == 4 ? std::max(0.0, double(this->width()) - c.left) : c.width;
    const double top = headerHeight() + rowSpacing + index * (rowHeight() + rowSpacing);
    return QRectF(c.left, top, width, rowHeight());
}

QString PositionTable::tipAt(const QPoint& point) const
{
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        if (!m_cells[i].end && cellRect(i, 2).contains(point))
            return endHelp();
        if (m_cells[i].behind == GroupLogic::PositionCells::Behind::pastEnd && cellRect(i, 3).contains(point))
            return pastEndHelp();
        if (m_cells[i].heldByUnknown && cellRect(i, 4).contains(point))
            return loc("Tessaron can't see who's in it: the broker wouldn't describe its members.");
    }
    return {};
}

bool PositionTable::event(QEvent* event)
{
    if (answerToolTip(this, event, [this](const QPoint& point) { return tipAt(point); }))
        return true;
    return QWidget::event(event);
}

void PositionTable::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    auto draw = [&](const QRectF& box, bool trailing, const QString& text, const QFont& font, const QColor& color) {
        painter.setFont(font);
        painter.setPen(TessaronPalette::legible(color));
        const QString shown = QFontMetricsF(font).elidedText(text, Qt::ElideMiddle, box.width());
        PaintedText::draw(painter, box, Qt::AlignVCenter | (trailing ? Qt::AlignRight : Qt::AlignLeft), shown);
    };

    const QString headers[] = {QString(), loc("committed"), loc("end"), loc("behind"), loc("held by")};
    for (int c = 0; c < 5; ++c) {
        const QRectF box(columns[c].left, 0, c == 4 ? std::max(0.0, width() - columns[4].left) : columns[c].width,
                         headerHeight());
        draw(box, columns[c].trailing, headers[c], headerFont(), withOpacity(muted(), 0.8));
    }

    using Behind = GroupLogic::PositionCells::Behind;
    const QColor body = withOpacity(ink(), 0.85);
    for (qsizetype i = 0; i < m_cells.size(); ++i) {
        const GroupLogic::PositionCells& cells = m_cells[i];
        draw(cellRect(i, 0), false, cells.partition, cellFont(true), cells.worst ? warningOrange() : body);
        draw(cellRect(i, 1), true, cells.committed, cellFont(false), body);
        if (cells.end)
            draw(cellRect(i, 2), true, *cells.end, cellFont(false), body);
        else
            draw(cellRect(i, 2), true, QStringLiteral("\u2014"), cellFont(false), muted());
        switch (cells.behind) {
        case Behind::cantSee:
            draw(cellRect(i, 3), true, cells.behindText, cellFont(false), muted());
            break;
        case Behind::pastEnd:
            draw(cellRect(i, 3), true, cells.behindText, boldCellFont(), warningOrange());
            break;
        case Behind::caughtUp:
            draw(cellRect(i, 3), true, cells.behindText, cellFont(false), allClearGreen());
            break;
        case Behind::lagging:
            draw(cellRect(i, 3), true, cells.behindText, boldCellFont(), warningOrange());
            break;
        }
        draw(cellRect(i, 4), false, cells.heldBy, cellFont(false),
             cells.heldByNobody || cells.heldByUnknown ? muted() : withOpacity(ink(), 0.7));
    }
}

} // namespace tessaron
