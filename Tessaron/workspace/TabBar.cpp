#include "Tessaron/workspace/TabBar.h"

#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/Symbols.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QEnterEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

#include <mutex>

namespace tessaron {

namespace {

using namespace TessaronPalette;

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

constexpr double dotSize = 6.0;
constexpr double closeSize = 14.0;
constexpr double spacing = 7.0;

// A small icon-only button drawn with a symbol; it carries its text as tooltip and accessible name.
class SymbolButton : public QAbstractButton {
public:
    SymbolButton(QString symbol, double fontSize, double box, QColor ink, QColor fill, QWidget* parent)
        : QAbstractButton(parent)
        , m_symbol(std::move(symbol))
        , m_fontSize(fontSize)
        , m_ink(ink)
        , m_fill(fill)
    {
        setFixedSize(int(box), int(box));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        m_ring = new FocusRing(this);
    }

    void setLabel(const QString& text)
    {
        setToolTip(PlainText::toolTip(text));
        setAccessibleName(text);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect());
        if (m_fill.alpha() > 0) {
            p.setPen(Qt::NoPen);
            p.setBrush(isDown() ? withOpacity(m_fill, 2.0) : (underMouse() ? withOpacity(m_fill, 1.6) : m_fill));
            p.drawEllipse(r);
        }
        if (m_ring->shown())
            FocusRing::draw(p, r, r.height() / 2);
        const QColor ink = underMouse() ? withOpacity(m_ink, 1.5) : m_ink;
        Symbols::paint(p, m_symbol, Symbols::boxForSize(r.center(), m_fontSize), ink);
    }
    // The round "+" takes clicks on its circle only; the close button on its whole square.
    bool hitButton(const QPoint& pos) const override
    {
        if (m_fill.alpha() == 0)
            return rect().contains(pos);
        const QPointF d = QPointF(pos) - QRectF(rect()).center();
        return d.x() * d.x() + d.y() * d.y() <= (width() / 2.0) * (width() / 2.0);
    }

private:
    QString m_symbol;
    double m_fontSize;
    QColor m_ink;
    QColor m_fill;
    FocusRing* m_ring;
};

// The strip reads as a list of tabs, the chip of the session on screen as the selected tab.
class ChipAccessible : public QAccessibleWidget {
public:
    explicit ChipAccessible(TabChip* chip)
        : QAccessibleWidget(chip, QAccessible::PageTab)
    { }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = static_cast<const TabChip*>(widget())->isSelected();
        return s;
    }
};

QAccessibleInterface* tabAccessible(const QString&, QObject* object)
{
    if (auto* chip = qobject_cast<TabChip*>(object))
        return new ChipAccessible(chip);
    if (auto* bar = qobject_cast<TabBar*>(object))
        return new QAccessibleWidget(bar, QAccessible::PageTabList);
    return nullptr;
}

void installTabAccessible()
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(tabAccessible); });
}

} // namespace

// ---- TabBar

TabBar::TabBar(AppState* app, QAction* openAnother, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_openAnother(openAnother)
    , m_layout(new QHBoxLayout(this))
{
    installTabAccessible();
    setObjectName(QStringLiteral("tabBar"));
    m_layout->setContentsMargins(14, 10, 14, 2);
    m_layout->setSpacing(int(spacing));
    auto* plus = new SymbolButton(QStringLiteral("plus"), 11, 24, white(0.55), white(0.05), this);
    plus->setObjectName(QStringLiteral("openAnotherBroker"));
    plus->setLabel(L10n::t("Open another broker"));
    connect(plus, &QAbstractButton::clicked, this, [this] {
        if (m_openAnother)
            m_openAnother->trigger();
        else
            m_app->setShowingPicker(true);
    });
    m_plus = plus;
    m_layout->addWidget(m_plus, 0, Qt::AlignVCenter);
    m_layout->addStretch(1);

    connect(m_app, &AppState::sessionsChanged, this, &TabBar::rebuild);
    connect(m_app, &AppState::selectedChanged, this, &TabBar::updateSelection);
    rebuild();
}

QColor TabBar::statusColor(const BrokerSession& session)
{
    if (session.isConnecting())
        return accent();
    if (session.connectionError())
        return amber();
    // A client whose listing failed, or whose connection was lost since, is not connected.
    if (session.connection() && !session.isConnected())
        return amber();
    if (session.connection() && session.connection()->kind() == BrokerSession::Connection::kafka)
        return jade();
    return white(0.3);
}

void TabBar::rebuild()
{
    // A chip may be the sender of the close that brought us here: let it finish first.
    for (TabChip* chip : std::as_const(m_chips)) {
        m_layout->removeWidget(chip);
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    int index = 0;
    for (BrokerSession* session : m_app->sessions()) {
        auto* chip = new TabChip(m_app, session, this);
        m_layout->insertWidget(index++, chip, 0, Qt::AlignVCenter);
        chip->setVisible(true);
        m_chips.append(chip);
    }
    setTabOrder(this, m_plus);
    QWidget* previous = nullptr;
    for (TabChip* chip : std::as_const(m_chips)) {
        if (previous)
            setTabOrder(previous, chip);
        previous = chip;
    }
    if (previous)
        setTabOrder(previous, m_plus);
    updateSelection();
}

void TabBar::updateSelection()
{
    for (TabChip* chip : std::as_const(m_chips))
        chip->setSelected(m_app->selected() == chip->brokerId());
}

// ---- TabChip

TabChip::TabChip(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
    , m_id(session->id())
    , m_name(session->broker().name)
    , m_animation(new QVariantAnimation(this))
{
    installTabAccessible();
    setObjectName(QStringLiteral("tabChip"));
    setAttribute(Qt::WA_Hover);
    // A click takes the focus too, so a chip the keyboard left focused does not keep its ring
    // beside the one just chosen.
    setFocusPolicy(Qt::StrongFocus);
    m_ring = new FocusRing(this);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(m_name);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* close = new SymbolButton(QStringLiteral("xmark"), 8, closeSize, white(0.45), QColor(Qt::transparent), this);
    close->setObjectName(QStringLiteral("closeTab"));
    close->setLabel(L10n::t("Close this broker"));
    connect(close, &QAbstractButton::clicked, this, [this] { m_app->close(m_id); });
    m_close = close;

    m_animation->setDuration(120);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        m_selection = v.toDouble();
        update();
    });

    auto redraw = [this] { update(); };
    connect(session, &BrokerSession::isConnectingChanged, this, redraw);
    connect(session, &BrokerSession::connectionErrorChanged, this, redraw);
    connect(session, &BrokerSession::connectionChanged, this, redraw);
    connect(session, &BrokerSession::topicsListedChanged, this, redraw);
    connect(session, &BrokerSession::lostConnectionChanged, this, redraw);
    updateCloseButton();
}

QColor TabChip::statusColor() const { return m_session ? TabBar::statusColor(*m_session) : white(0.3); }

// The body face of the application at 12 points.
QFont TabChip::nameFont() const
{
    QFont f = font();
    f.setPointSizeF(12.0 * 72.0 / 96.0);
    f.setWeight(m_selected ? QFont::DemiBold : QFont::Normal);
    return f;
}

void TabChip::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    const double target = selected ? 1.0 : 0.0;
    m_animation->stop();
    if (!motionAllowed(this) || !isVisible()) {
        m_selection = target;
    } else {
        m_animation->setStartValue(m_selection);
        m_animation->setEndValue(target);
        m_animation->start();
    }
    updateCloseButton();
    // The name's weight changes with selection, so does the width it needs.
    updateGeometry();
    update();
}

QSize TabChip::sizeHint() const
{
    const QFontMetricsF metrics(nameFont());
    const double text = std::ceil(metrics.horizontalAdvance(m_name));
    const double trailing = showsClose() ? spacing + closeSize + 5 : 10;
    const double width = 10 + dotSize + spacing + text + trailing;
    const double height = 6 + std::max(metrics.height(), closeSize) + 6;
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

void TabChip::updateCloseButton()
{
    const bool shows = showsClose();
    if (m_close->isVisibleTo(this) != shows) {
        m_close->setVisible(shows);
        updateGeometry();
    }
    m_close->move(width() - 5 - int(closeSize), (height() - int(closeSize)) / 2);
}

void TabChip::resizeEvent(QResizeEvent*)
{
    m_close->move(width() - 5 - int(closeSize), (height() - int(closeSize)) / 2);
}

void TabChip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath capsule;
    capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);

    const QColor idle = white(m_hover ? 0.07 : 0.03);
    const QColor chosen = withOpacity(accent(), 0.2);
    p.fillPath(capsule, mix(idle, chosen, m_selection));
    if (m_selection > 0.0)
        p.strokePath(capsule, QPen(withOpacity(accent(), 0.4 * m_selection), 1.0));
    if (m_ring->shown())
        FocusRing::draw(p, QRectF(rect()), height() / 2.0);

    const double cy = height() / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(statusColor());
    p.drawEllipse(QPointF(10 + dotSize / 2, cy), dotSize / 2, dotSize / 2);

    const QFont font = nameFont();
    p.setFont(font);
    p.setPen(white(m_selected ? 0.95 : 0.65));
    const double left = 10 + dotSize + spacing;
    const double right = showsClose() ? width() - 5 - closeSize - spacing : width() - 10;
    const QRectF textRect(left, 0, std::max(0.0, right - left), height());
    PaintedText::draw(p, textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      QFontMetricsF(font).elidedText(m_name, Qt::ElideRight, textRect.width()), m_name);
}

void TabChip::enterEvent(QEnterEvent*)
{
    m_hover = true;
    updateCloseButton();
    update();
}

void TabChip::leaveEvent(QEvent*)
{
    m_hover = false;
    updateCloseButton();
    update();
}

void TabChip::focusInEvent(QFocusEvent*)
{
    updateCloseButton();
    update();
}

void TabChip::focusOutEvent(QFocusEvent*)
{
    updateCloseButton();
    update();
}

void TabChip::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TabChip::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        select();
}

void TabChip::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        select();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TabChip::select() { m_app->setSelected(m_id); }

} // namespace tessaron
