#include "Tessaron/app/AppStyle.h"

#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QTabBar>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QIconEngine>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace tessaron::AppStyle {

namespace {

QColor white(double opacity) { return TessaronPalette::withOpacity(TessaronPalette::plainWhite(), opacity); }

// Panels sit a step above the canvas; fields a step above the panels.
QColor panel() { return TessaronPalette::panel(); }
QColor field() { return TessaronPalette::field(); }

} // namespace

QPalette palette()
{
    const QColor canvas = TessaronPalette::canvas();
    const QColor ink = TessaronPalette::ink();
    const QColor muted = TessaronPalette::muted();
    const QColor accent = Brand::palette().value(2, Brand::accent());

    QPalette p;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? TessaronPalette::withOpacity(ink, 0.35) : ink;
        p.setColor(group, QPalette::Window, canvas);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Base, field());
        p.setColor(group, QPalette::AlternateBase, panel());
        p.setColor(group, QPalette::ToolTipBase, panel());
        p.setColor(group, QPalette::ToolTipText, ink);
        p.setColor(group, QPalette::PlaceholderText, TessaronPalette::withOpacity(muted, 0.8));
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Button, panel());
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::BrightText, TessaronPalette::plainWhite());
        p.setColor(group, QPalette::Light, TessaronPalette::bevelLight());
        p.setColor(group, QPalette::Midlight, TessaronPalette::bevelMidlight());
        p.setColor(group, QPalette::Mid, TessaronPalette::bevelMid());
        p.setColor(group, QPalette::Dark, TessaronPalette::bevelDark());
        p.setColor(group, QPalette::Shadow, TessaronPalette::bevelShadow());
        p.setColor(group, QPalette::Highlight, disabled ? white(0.08) : TessaronPalette::withOpacity(accent, 0.85));
        // Dark on the accent: white on amber reads at under 2:1.
        p.setColor(group, QPalette::HighlightedText, canvas);
        p.setColor(group, QPalette::Link, accent);
        p.setColor(group, QPalette::LinkVisited, accent.darker(115));
    }
    return p;
}

QFont bodyFont()
{
    KitFont::registerFonts();
    QFont f;
    f.setFamilies({QStringLiteral("Inter"), QStringLiteral("DejaVu Sans")});
    // 13 design points: one design point is one logical pixel at 96 dpi.
    f.setPointSizeF(13.0 * 72.0 / 96.0);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

namespace {

QColor line() { return white(0.09); }

// A standard icon asked of the style when it is first drawn. The menu bar's overflow button asks for
// its icon as the menu bar is built, and Fusion reads that icon's images there, loading every image
// format plugin before the first window; the button shows only when the menus do not fit.
class StandardIconOnDemand : public QIconEngine {
public:
    StandardIconOnDemand(QStyle* style, QStyle::StandardPixmap which)
        : m_style(style)
        , m_which(which)
    { }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new StandardIconOnDemand(*this); }

private:
    const QIcon& icon()
    {
        if (!m_loaded && m_style) {
            m_icon = m_style->standardIcon(m_which);
            m_loaded = true;
        }
        return m_icon;
    }

    QPointer<QStyle> m_style;
    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_loaded = false;
};

// Fusion's geometry with the kit's drawing: rounded fields and panels, thin arrowless scroll bars,
// menus and tooltips on the panel colour, and an accent ring on whatever has keyboard focus.
class TessaronStyle : public QProxyStyle {
public:
    TessaronStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    { }

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which == SP_ToolBarHorizontalExtensionButton && !option)
            return QIcon(new StandardIconOnDemand(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }

    void polish(QPalette& p) override { p = AppStyle::palette(); }
    void polish(QApplication* app) override { QProxyStyle::polish(app); }
    void polish(QWidget* widget) override
    {
        QProxyStyle::polish(widget);
        // A list sits on its panel: no box of the field colour behind its rows (a popup's list
        // keeps its ground).
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->window()->windowType() != Qt::Popup)
            view->viewport()->setAutoFillBackground(false);
        // What the style draws no ring on gets one round its edge, above what it holds: a scroll
        // area's page covers its viewport, a list shows nothing while no row is current, a tab bar's
        // own mark is too faint. One that has a ring of its own keeps it.
        // A label the keyboard reaches (an outcome to read) shows where the focus went too.
        const bool area = qobject_cast<QAbstractScrollArea*>(widget) || qobject_cast<QTabBar*>(widget)
            || (qobject_cast<QLabel*>(widget) && (widget->focusPolicy() & Qt::TabFocus));
        if (area && !widget->property(FocusRing::ownRing).toBool()) {
            auto* scroll = qobject_cast<QAbstractScrollArea*>(widget);
            FocusRing::overlay(widget, scroll ? scroll->viewport() : widget, 6);
        }
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_ScrollBarExtent:
            return 10;
        case PM_ScrollBarSliderMin:
            return 28;
        case PM_ToolTipLabelFrameWidth:
            return 6;
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            return 4;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        switch (hint) {
        case SH_ToolTipLabel_Opacity:
            return 255;
        case SH_ScrollBar_LeftClickAbsolutePosition:
            return 1;
        case SH_Menu_Mask:
            return 0;
        default:
            return QProxyStyle::styleHint(hint, option, widget, returned);
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        switch (element) {
        case PE_FrameFocusRect:
            AppStyle::drawFocusRing(painter, QRectF(option->rect), 6.0);
            return;
        case PE_PanelLineEdit: {
            if (widget && widget->parentWidget() && qobject_cast<const QAbstractSpinBox*>(widget->parentWidget()))
                return; // the spin box draws the field
            // A frameless field lies inside a capsule of its own that draws the ground.
            if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option); frame && frame->lineWidth <= 0)
                return;
            drawField(painter, option);
            return;
        }
        case PE_FrameLineEdit:
            return;
        case PE_Frame:
        case PE_FrameStatusBarItem:
            // Lists, scroll areas and text views sit on their panels without a box of their own.
            return;
        case PE_PanelMenu:
        case PE_FrameMenu:
        case PE_PanelTipLabel: {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QPen(line(), 1));
            painter->setBrush(panel());
            painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
            painter->restore();
            return;
        }
        case PE_PanelButtonCommand: {
            // A checked menu entry shows its check mark alone; Fusion frames it like a pressed button.
            if (qobject_cast<const QMenu*>(widget))
                return;
            const bool down = option->state & (State_Sunken | State_On);
            const bool hover = option->state & State_MouseOver;
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QPen(line(), 1));
            painter->setBrush(down ? white(0.12) : hover ? white(0.08) : white(0.04));
            painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
            painter->restore();
            if (option->state & State_HasFocus)
                AppStyle::drawFocusRing(painter, QRectF(option->rect), 7.0);
            return;
        }
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        // The ring goes round the whole check box or radio button, not only its label.
        if ((element == CE_CheckBox || element == CE_RadioButton) && keyboardFocus(option)) {
            if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                QStyleOptionButton plain(*button);
                plain.state &= ~State_HasFocus;
                QProxyStyle::drawControl(element, &plain, painter, widget);
                FocusRing::draw(*painter, QRectF(option->rect), 6);
                return;
            }
        }
        if (element == CE_MenuBarEmptyArea) {
            painter->fillRect(option->rect, TessaronPalette::canvas());
            painter->fillRect(QRect(option->rect.left(), option->rect.bottom(), option->rect.width(), 1), line());
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        if (control == CC_ScrollBar) {
            const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
            if (!bar)
                return;
            if (bar->maximum == bar->minimum)
                return;
            const QRect handle = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
            const bool hot =
                (bar->activeSubControls & SC_ScrollBarSlider) && (bar->state & (State_MouseOver | State_Sunken));
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(hot ? white(0.28) : white(0.16));
            painter->drawRoundedRect(QRectF(handle).adjusted(2, 2, -2, -2), 3, 3);
            painter->restore();
            return;
        }
        // A date or number field is rung whole, as a text field is, whenever it has the focus (the
        // base style marks only its arrow); a combo box, like a button, when the keyboard took it there.
        if ((control == CC_SpinBox || control == CC_ComboBox) && (option->state & State_HasFocus)) {
            const bool field = qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
            if (field || keyboardFocus(option)) {
                // Style options have no virtual destructor: each kind is copied as itself.
                auto drawPlain = [&](auto plain) {
                    plain.state &= ~State_HasFocus;
                    QProxyStyle::drawComplexControl(control, &plain, painter, widget);
                    FocusRing::draw(*painter, QRectF(option->rect), 7);
                };
                if (const auto* spin = qstyleoption_cast<const QStyleOptionSpinBox*>(option)) {
                    drawPlain(*spin);
                    return;
                }
                if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option)) {
                    drawPlain(*combo);
                    return;
                }
            }
        }
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_Slider && keyboardFocus(option))
            FocusRing::draw(*painter, QRectF(option->rect), 6);
    }

    // Scroll bars without arrow buttons: the groove is the whole bar.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override
    {
        if (control != CC_ScrollBar)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (!bar)
            return {};
        const QRect r = bar->rect;
        const bool horizontal = bar->orientation == Qt::Horizontal;
        const int length = horizontal ? r.width() : r.height();
        const int range = bar->maximum - bar->minimum;
        int handle = range > 0 ? int(qint64(length) * bar->pageStep / (range + bar->pageStep)) : length;
        handle = std::clamp(handle, std::min(length, pixelMetric(PM_ScrollBarSliderMin, bar, widget)), length);
        const int start =
            sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition, length - handle, bar->upsideDown);
        auto along = [&](int from, int size) {
            return horizontal ? QRect(r.left() + from, r.top(), size, r.height())
                              : QRect(r.left(), r.top() + from, r.width(), size);
        };
        switch (sub) {
        case SC_ScrollBarGroove:
            return r;
        case SC_ScrollBarSlider:
            return along(start, handle);
        case SC_ScrollBarSubPage:
            return along(0, start);
        case SC_ScrollBarAddPage:
            return along(start + handle, length - start - handle);
        default:
            return {};
        }
    }

private:
    static bool keyboardFocus(const QStyleOption* option)
    {
        return (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange);
    }

    static void drawField(QPainter* painter, const QStyleOption* option)
    {
        const bool focused = option->state & State_HasFocus;
        const bool enabled = option->state & State_Enabled;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(line(), 1));
        painter->setBrush(enabled ? field() : panel());
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
        painter->restore();
        if (focused)
            AppStyle::drawFocusRing(painter, QRectF(option->rect), 7.0);
    }
};

} // namespace

void drawFocusRing(QPainter* painter, const QRectF& rect, double radius) { FocusRing::draw(*painter, rect, radius); }

QStyle* createStyle() { return new TessaronStyle(); }

void install(QApplication& app)
{
    app.setStyle(createStyle());
    app.setPalette(palette());
    app.setFont(bodyFont());
}

} // namespace tessaron::AppStyle
