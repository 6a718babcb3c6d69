#include "Tessaron/actions/FlowChips.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

namespace tessaron {

using namespace ActionStyle;

namespace {

class Chip : public QAbstractButton {
public:
    Chip(const QString& text, QWidget* parent)
        : QAbstractButton(parent)
    {
        setText(text);
        setAccessibleName(text);
        setToolTip(PlainText::toolTip(text));
        setFont(KitFont::font(10.5, QFont::Normal, FontDesign::rounded));
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        new FocusRing(this);
    }
    QSize sizeHint() const override
    {
        const QFontMetrics fm(font());
        return {fm.horizontalAdvance(text()) + 18, fm.height() + 10};
    }
    QSize minimumSizeHint() const override { return {40, sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath capsule;
        capsule.addRoundedRect(box, box.height() / 2, box.height() / 2);
        painter.fillPath(capsule, white(isDown() ? 0.12 : underMouse() ? 0.09 : 0.06));
        if (FocusRing::shownOn(this))
            FocusRing::draw(painter, QRectF(rect()), height() / 2.0);
        painter.setPen(TessaronPalette::legible(white(0.8)));
        const QRect inner = rect().adjusted(9, 0, -9, 0);
        PaintedText::draw(painter, inner, Qt::AlignLeft | Qt::AlignVCenter,
                          fontMetrics().elidedText(text(), Qt::ElideRight, inner.width()));
    }
};

} // namespace

FlowChips::FlowChips(QStringList items, QWidget* parent)
    : QWidget(parent)
    , m_items(std::move(items))
    , m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(spacing);
    m_grid->setVerticalSpacing(spacing);
    for (const QString& item : m_items) {
        auto* chip = new Chip(L10n::t(item), this);
        connect(chip, &QAbstractButton::clicked, this, [this, item] { emit tapped(item); });
        m_chips.append(chip);
    }
    // The sheet's content width until the first resize says otherwise.
    place(columnsFitting(584));
    LanguageChange::onChange(this, [this] {
        for (qsizetype i = 0; i < m_chips.size(); ++i) {
            const QString text = L10n::t(m_items[i]);
            m_chips[i]->setText(text);
            m_chips[i]->setAccessibleName(text);
            m_chips[i]->setToolTip(PlainText::toolTip(text));
        }
        // The texts' widths changed with the language.
        m_columns = 0;
        place(columnsFitting(width() > 0 ? width() : 584));
    });
}

int FlowChips::columnsFor(int width, int column)
{
    return std::max(1, (width + spacing) / (std::max(column, int(minimumColumn)) + spacing));
}

int FlowChips::columnsFitting(int width) const
{
    int widest = 0;
    for (const QAbstractButton* chip : m_chips)
        widest = std::max(widest, chip->sizeHint().width());
    return columnsFor(width, widest);
}

void FlowChips::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place(columnsFitting(event->size().width()));
}

void FlowChips::place(int columns)
{
    if (columns == m_columns)
        return;
    for (QAbstractButton* chip : m_chips)
        m_grid->removeWidget(chip);
    for (int c = 0; c < std::max(columns, m_columns); ++c)
        m_grid->setColumnStretch(c, c < columns ? 1 : 0);
    m_columns = columns;
    for (int i = 0; i < m_chips.size(); ++i)
        m_grid->addWidget(m_chips[i], i / columns, i % columns);
}

} // namespace tessaron
