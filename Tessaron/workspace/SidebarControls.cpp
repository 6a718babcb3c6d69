#include "Tessaron/workspace/SidebarControls.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/Spinner.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/workspace/TextWrap.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/Symbols.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace tessaron {

using namespace TessaronPalette;

namespace {

// A popover row is one choice of a list: the current one reads as selected and checked, the way a
// KitButton marked selected does, and its drawn subtitle and trailing text are its description.
class PopoverRowAccessible : public QAccessibleWidget {
public:
    explicit PopoverRowAccessible(PopoverRow* row)
        : QAccessibleWidget(row, QAccessible::Button)
    { }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const PopoverRow* row = static_cast<const PopoverRow*>(widget());
        if (row->isDown())
            s.pressed = true;
        s.selectable = true;
        s.checkable = true;
        s.selected = row->look().selected;
        s.checked = row->look().selected;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        const PopoverRow* row = static_cast<const PopoverRow*>(widget());
        if (t == QAccessible::Name)
            return row->text();
        if (t == QAccessible::Description) {
            QStringList parts;
            for (const std::optional<QString>& part : {row->look().subtitle, row->look().trailing}) {
                if (part && !part->isEmpty())
                    parts << *part;
            }
            return parts.join(QStringLiteral(", "));
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& name) override
    {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<PopoverRow*>(widget())->click();
    }
};

QAccessibleInterface* popoverRowAccessible(const QString&, QObject* object)
{
    if (auto* row = qobject_cast<PopoverRow*>(object))
        return new PopoverRowAccessible(row);
    return nullptr;
}

void paintSymbol(QPainter& painter, const QString& name, QPointF centre, double size, const QColor& color)
{
    Symbols::paint(painter, name, Symbols::boxForSize(centre, size), color);
}

QFont titleFont(bool selected)
{
    return KitFont::font(12, selected ? QFont::DemiBold : QFont::Medium, FontDesign::rounded);
}

QFont subtitleFont(bool prose)
{
    return KitFont::font(9.5, QFont::Normal, prose ? FontDesign::rounded : FontDesign::monospaced);
}

QFont trailingFont() { return KitFont::font(10, QFont::Medium, FontDesign::monospaced); }

QColor mix(const QColor& from, const QColor& to, double t)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * t),
                            float(from.greenF() + (to.greenF() - from.greenF()) * t),
                            float(from.blueF() + (to.blueF() - from.blueF()) * t),
                            float(from.alphaF() + (to.alphaF() - from.alphaF()) * t));
}

} // namespace

SidebarIconButton::SidebarIconButton(const QString& icon, const QString& help, const QColor& tint, QWidget* parent)
    : QAbstractButton(parent)
    , m_icon(icon)
    , m_tint(tint)
    , m_hover(new HoverAmount(this, 0.14))
    , m_spinner(new SpinnerMotion(this, SpinnerLook::arc))
{
    setToolTip(PlainText::toolTip(help));
    setAccessibleName(help);
    setFocusPolicy(Qt::StrongFocus);
    new FocusRing(this);
    setCursor(Qt::ArrowCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SidebarIconButton::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    m_spinner->setRunning(busy);
    update();
}

QSize SidebarIconButton::sizeHint() const { return {26, 26}; }

bool SidebarIconButton::hovering() const { return m_hover->on(); }

void SidebarIconButton::enterEvent(QEnterEvent* event)
{
    if (isEnabled())
        m_hover->set(true);
    QAbstractButton::enterEvent(event);
}

void SidebarIconButton::leaveEvent(QEvent* event)
{
    m_hover->set(false);
    QAbstractButton::leaveEvent(event);
}

void SidebarIconButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_hover->clear();
    QAbstractButton::changeEvent(event);
}

void SidebarIconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double h = m_hover->value();
    painter.setPen(QPen(white(0.07 + 0.09 * h), 1));
    painter.setBrush(white(0.035 + 0.055 * h));
    painter.drawRoundedRect(box, 8, 8);
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, box.adjusted(-0.5, -0.5, 0.5, 0.5), 8);
    if (m_busy) {
        const QPointF c = box.center();
        m_spinner->paint(painter, QRectF(c.x() - 5.5, c.y() - 5.5, 11, 11), muted());
    } else {
        paintSymbol(painter, m_icon, box.center(), 11, mix(muted(), m_tint, h));
    }
}

SidebarPopover::SidebarPopover(const QString& eyebrow, const QColor& tint, const std::optional<QString>& remark,
                               QWidget* parent)
    : PopoverFrame(parent)
    , m_rows(new QVBoxLayout)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedWidth(fixedWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(8);

    auto* eyebrowLabel =
        PlainText::label(eyebrow, KitFont::font(9, QFont::DemiBold, FontDesign::monospaced, 1.5), tint, this);
    eyebrowLabel->setContentsMargins(6, 2, 6, 0);
    column->addWidget(eyebrowLabel);

    m_rows->setContentsMargins(0, 0, 0, 0);
    m_rows->setSpacing(2);
    column->addLayout(m_rows);

    if (remark) {
        QFont font = KitFont::font(10.5, QFont::Normal, FontDesign::rounded);
        font.setItalic(true);
        auto* remarkLabel = PlainText::label(*remark, font, muted(), this, true);
        remarkLabel->setContentsMargins(6, 4, 6, 0);
        column->addWidget(remarkLabel);
    }
}

void SidebarPopover::addRow(QWidget* row) { m_rows->addWidget(row); }

PopoverRow::PopoverRow(const QString& title, Look look, QWidget* parent)
    : QAbstractButton(parent)
    , m_look(std::move(look))
    , m_hover(new HoverAmount(this, 0.12))
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(popoverRowAccessible); });
    setText(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    new FocusRing(this);
}

QColor PopoverRow::tint() const { return m_look.tint.value_or(accent()); }

QStringList PopoverRow::subtitleLines(double width) const
{
    if (!m_look.subtitle)
        return {};
    return TextWrap::lines(*m_look.subtitle, subtitleFont(m_look.subtitleIsProse), width,
                           m_look.subtitleIsProse ? 2 : 1, Qt::ElideMiddle);
}

namespace {
constexpr double rowPadX = 8, rowPadY = 7, rowSpacing = 9, iconWidth = 16;
} // namespace

QSize PopoverRow::sizeHint() const
{
    return {SidebarPopover::fixedWidth - 20, heightForWidth(SidebarPopover::fixedWidth - 20)};
}
QSize PopoverRow::minimumSizeHint() const { return {80, heightForWidth(SidebarPopover::fixedWidth - 20)}; }

int PopoverRow::heightForWidth(int width) const
{
    double text = QFontMetricsF(titleFont(m_look.selected)).height();
    double textWidth = width - 2 * rowPadX - (m_look.icon ? iconWidth + rowSpacing : 0) - 6 - 24;
    const QStringList lines = subtitleLines(std::max(40.0, textWidth));
    if (!lines.isEmpty())
        text += 1 + lines.size() * QFontMetricsF(subtitleFont(m_look.subtitleIsProse)).height();
    return int(std::ceil(text + 2 * rowPadY));
}

bool PopoverRow::hovering() const { return m_hover->on(); }

void PopoverRow::enterEvent(QEnterEvent* event)
{
    m_hover->set(true);
    QAbstractButton::enterEvent(event);
}

void PopoverRow::leaveEvent(QEvent* event)
{
    m_hover->set(false);
    QAbstractButton::leaveEvent(event);
}

void PopoverRow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void PopoverRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = rect();
    const QColor tinted = tint();
    const double lit = hasFocus() ? 1.0 : m_hover->value();
    if (m_look.selected || lit > 0) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_look.selected ? withOpacity(tinted, 0.1) : white(0.06 * lit));
        painter.drawRoundedRect(area, 8, 8);
    }
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, area, 8);
    double x = rowPadX;
    const double right = area.width() - rowPadX;
    if (m_look.icon) {
        paintSymbol(painter, *m_look.icon, QPointF(x + iconWidth / 2, area.center().y()), 11,
                    m_look.destructive ? amber() : tinted);
        x += iconWidth + rowSpacing;
    }
    double end = right;
    if (m_look.selected) {
        paintSymbol(painter, QStringLiteral("checkmark"), QPointF(end - 5, area.center().y()), 9, tinted);
        end -= 10 + rowSpacing;
    }
    if (m_look.trailing) {
        painter.setFont(trailingFont());
        painter.setPen(muted());
        const double w = QFontMetricsF(trailingFont()).horizontalAdvance(*m_look.trailing);
        PaintedText::draw(painter, QRectF(end - w, 0, w, area.height()), Qt::AlignVCenter | Qt::AlignRight,
                          *m_look.trailing);
        end -= w + 6;
    }
    const double textWidth = std::max(10.0, end - x);
    const QFont title = titleFont(m_look.selected);
    const QFontMetricsF tm(title);
    const QStringList lines = subtitleLines(textWidth);
    const QFontMetricsF sm(subtitleFont(m_look.subtitleIsProse));
    const double blockHeight = tm.height() + (lines.isEmpty() ? 0 : 1 + lines.size() * sm.height());
    double y = (area.height() - blockHeight) / 2;
    painter.setFont(title);
    painter.setPen(m_look.destructive ? amber() : withOpacity(ink(), m_look.selected ? 1.0 : 0.85 + 0.15 * lit));
    PaintedText::draw(painter, QRectF(x, y, textWidth, tm.height()), Qt::AlignLeft | Qt::AlignVCenter,
                      tm.elidedText(text(), Qt::ElideMiddle, textWidth));
    y += tm.height() + 1;
    painter.setFont(subtitleFont(m_look.subtitleIsProse));
    painter.setPen(legible(muted()));
    for (const QString& line : lines) {
        PaintedText::draw(painter, QRectF(x, y, textWidth, sm.height()), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += sm.height();
    }
}

SwitchButton::SwitchButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    new FocusRing(this);
}

QSize SwitchButton::sizeHint() const { return {26, 15}; }

void SwitchButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(white(0.12), 1));
    painter.setBrush(isChecked() ? accent() : white(0.14));
    painter.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const double d = track.height() - 3;
    const double x = isChecked() ? track.right() - 1.5 - d : track.left() + 1.5;
    painter.setPen(Qt::NoPen);
    painter.setBrush(TessaronPalette::plainWhite());
    painter.drawEllipse(QRectF(x, track.top() + 1.5, d, d));
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, QRectF(rect()), height() / 2.0);
}

PopoverToggle::PopoverToggle(const QString& title, const std::optional<QString>& subtitle,
                             const std::optional<QString>& icon, bool isOn, QWidget* parent)
    : QWidget(parent)
    , m_switch(new SwitchButton(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 7, 8, 7);
    row->setSpacing(9);
    if (icon) {
        auto* symbol = new QLabel(this);
        symbol->setFixedWidth(16);
        symbol->setPixmap(Symbols::icon(*icon, 11, accent()).pixmap(14, 14));
        symbol->setAlignment(Qt::AlignCenter);
        row->addWidget(symbol);
    }
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    auto* titleLabel = PlainText::label(title, KitFont::font(12, QFont::Medium, FontDesign::rounded),
                                        withOpacity(ink(), 0.9), this, true);
    texts->addWidget(titleLabel);
    if (subtitle) {
        auto* sub =
            PlainText::label(*subtitle, KitFont::font(9.5, QFont::Normal, FontDesign::rounded), muted(), this, true);
        texts->addWidget(sub);
    }
    row->addLayout(texts, 1);
    row->addSpacing(6);
    row->addWidget(m_switch, 0, Qt::AlignVCenter);
    m_switch->setChecked(isOn);
    m_switch->setAccessibleName(title);
    connect(m_switch, &QAbstractButton::toggled, this, &PopoverToggle::toggled);
}

bool PopoverToggle::isOn() const { return m_switch->isChecked(); }
void PopoverToggle::setOn(bool on) { m_switch->setChecked(on); }

PopoverDivider::PopoverDivider(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(7);
}

QSize PopoverDivider::sizeHint() const { return {SidebarPopover::fixedWidth - 20, 7}; }

void PopoverDivider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRectF(6, 3, width() - 12, 1), white(0.08));
}

} // namespace tessaron
