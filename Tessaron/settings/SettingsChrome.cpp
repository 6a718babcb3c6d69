#include "Tessaron/settings/SettingsChrome.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/settings/SettingsLogic.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/SymbolView.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/Symbols.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

namespace {

class MascotHolder : public QWidget {
public:
    explicit MascotHolder(double size)
        : m_side(int(std::ceil(size)))
    {
        setFixedSize(m_side, m_side);
    }
    QSize sizeHint() const override { return {m_side, m_side}; }

private:
    int m_side;
};

} // namespace

namespace SettingsChrome {

void markSelected(KitButton* button, const QColor& tint, bool selected, const QMarginsF& insets)
{
    auto* style = static_cast<ControlStyle*>(button->buttonStyle());
    if (!style || style->selected() != selected)
        button->setButtonStyle(std::make_unique<ControlStyle>(tint, selected, true, insets));
    if (QWidget* check = button->findChild<QWidget*>(QStringLiteral("check")))
        check->setVisible(selected);
    if (auto* mark = button->findChild<SymbolView*>(QStringLiteral("mark"))) {
        mark->setName(selected ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"));
        mark->setColor(selected ? tint : TessaronPalette::withOpacity(secondary(), 0.4));
    }
    if (auto* icon = button->findChild<SymbolView*>(QStringLiteral("icon")))
        icon->setColor(selected ? tint : secondary());
    if (auto* badge = button->findChild<IconBadge*>(QStringLiteral("badge")))
        badge->setTint(selected ? tint : secondary());
    button->setSelected(selected);
}

KitButton* tile(const QMarginsF& insets, const QColor& tint, QWidget* parent)
{
    auto* button = new KitButton(QString(), std::make_unique<ControlStyle>(tint, false, true, insets), parent);
    button->setCursor(Qt::PointingHandCursor);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QWidget* surfaced(QWidget* content, const QColor& tint, int margin)
{
    content->layout()->setContentsMargins(margin, margin, margin, margin);
    return panelSurface(content, tint);
}

Motion spring(const QWidget* owner)
{
    // Still under reduced motion, and while the window is not the active one.
    if (!motionAllowed(owner))
        return Motion::none();
    return Motion::withSpring(Spring{0.36, 0.82, 0.0});
}

Stored readStored()
{
    const UserDefaults& store = UserDefaults::standard();
    return {store.integer(Prefs::messagesPerRead).value_or(SettingsLogic::defaultMessages),
            store.boolean(Prefs::showInternalTopics).value_or(false),
            store.string(Prefs::aiProvider).value_or(AIProvider::autoValue),
            store.string(L10n::key).value_or(QStringLiteral("system"))};
}

QWidget* padded(QWidget* content, const QMargins& margins, QWidget* parent)
{
    auto* holder = new QWidget(parent);
    auto* layout = column(holder, 0);
    layout->setContentsMargins(margins);
    content->setParent(holder);
    layout->addWidget(content);
    return holder;
}

QColor accent()
{
    const QList<QColor> colors = Brand::palette();
    return colors.size() > 2 ? colors.at(2) : Brand::accent();
}

QColor secondary() { return TessaronPalette::muted(); }

QLabel* wrapping(const QString& text, const QFont& font, const QColor& color, QWidget* parent)
{
    QLabel* made = label(text, font, color, parent);
    made->setWordWrap(true);
    made->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return made;
}

IconBadge* iconBadge(const QString& symbol, const QColor& tint, QWidget* parent, double tile, double size)
{
    return new IconBadge(symbol, tint, tile, size, parent);
}

QBoxLayout* row(QWidget* owner, int spacing)
{
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QBoxLayout* column(QWidget* owner, int spacing)
{
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

KitButton* mascotButton(double size, TessaronMascot*& mascot, QWidget* parent)
{
    auto* button = new KitButton(
        QString(), std::make_unique<PlainButtonStyle>(KitFont::font(11), TessaronPalette::plainWhite()), parent);
    // The mascot sits in a holder that states its size: the button lays its content out by hint.
    auto* holder = new MascotHolder(size);
    mascot = new TessaronMascot(size, 0, holder);
    button->setContent(holder);
    button->setAccessibleName(L10n::t("Give Tessaron a boop"));
    button->setToolTip(L10n::t("Give Tessaron a boop"));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace SettingsChrome

IconBadge::IconBadge(const QString& symbol, const QColor& tint, double tile, double size, QWidget* parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_tint(tint)
    , m_size(size)
{
    setFixedSize(int(tile), int(tile));
    setFocusPolicy(Qt::NoFocus);
}

void IconBadge::setTint(const QColor& tint)
{
    if (m_tint == tint)
        return;
    m_tint = tint;
    update();
}

void IconBadge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(rect()), 11, 11);
    painter.fillPath(tile, TessaronPalette::withOpacity(m_tint, 0.09));
    Symbols::paint(painter, m_symbol, Symbols::boxForSize(QRectF(rect()).center(), m_size), m_tint);
}

SettingsSwitch::SettingsSwitch(const QColor& tint, QWidget* parent)
    : QAbstractButton(parent)
    , m_tint(tint)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(sizeHint());
    new FocusRing(this);
}

void SettingsSwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const double radius = track.height() / 2;
    painter.setPen(QPen(TessaronPalette::withOpacity(TessaronPalette::trackEdge(), isChecked() ? 0.0 : 1.0), 1));
    painter.setBrush(isChecked() ? m_tint : TessaronPalette::trackFill());
    painter.drawRoundedRect(track, radius, radius);
    const double knob = track.height() - 4;
    const double x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isChecked() ? TessaronPalette::canvas() : TessaronPalette::ink());
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, QRectF(rect()), radius + 1);
}

} // namespace tessaron
