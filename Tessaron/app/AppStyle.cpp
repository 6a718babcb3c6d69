#include "Tessaron/app/AppStyle.h"

#include "Tessaron/kit/TessaronPalette.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitFont.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

namespace tessaron::AppStyle {

namespace {

QString css(const QColor& color)
{
    return color.alpha() == 255 ? color.name(QColor::HexRgb)
                                : QStringLiteral("rgba(%1, %2, %3, %4)")
                                      .arg(color.red())
                                      .arg(color.green())
                                      .arg(color.blue())
                                      .arg(QString::number(color.alphaF(), 'f', 3));
}

QColor white(double opacity) { return TessaronPalette::withOpacity(Qt::white, opacity); }

// Panels sit a step above the canvas; fields a step above the panels.
QColor panel() { return QColor::fromRgbF(0.105f, 0.100f, 0.112f); }
QColor field() { return QColor::fromRgbF(0.135f, 0.130f, 0.145f); }

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

class TessaronStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (which == SP_ToolBarHorizontalExtensionButton && !option)
            return QIcon(new StandardIconOnDemand(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

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
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::Light, QColor::fromRgbF(0.22f, 0.21f, 0.23f));
        p.setColor(group, QPalette::Midlight, QColor::fromRgbF(0.17f, 0.165f, 0.18f));
        p.setColor(group, QPalette::Mid, QColor::fromRgbF(0.12f, 0.115f, 0.13f));
        p.setColor(group, QPalette::Dark, QColor::fromRgbF(0.04f, 0.04f, 0.045f));
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::Highlight, disabled ? white(0.08) : TessaronPalette::withOpacity(accent, 0.85));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
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

QString styleSheet()
{
    const QColor ink = TessaronPalette::ink();
    const QColor muted = TessaronPalette::muted();
    const QColor accent = Brand::palette().value(2, Brand::accent());
    QString sheet = QStringLiteral(R"(
QMenuBar { background: @canvas; color: @ink; border-bottom: 1px solid @line; }
QMenuBar::item { background: transparent; padding: 4px 10px; border-radius: 6px; }
QMenuBar::item:selected, QMenuBar::item:pressed { background: @hover; }
QMenu { background: @panel; color: @ink; border: 1px solid @line; border-radius: 8px; padding: 5px; }
QMenu::item { padding: 5px 26px 5px 14px; border-radius: 5px; }
QMenu::item:selected { background: @accentWash; color: white; }
QMenu::item:disabled { color: @faint; }
QMenu::separator { height: 1px; background: @line; margin: 5px 8px; }
QToolTip { background: @panel; color: @ink; border: 1px solid @line; border-radius: 6px; padding: 4px 7px; }
QLineEdit, QPlainTextEdit, QTextEdit, QAbstractSpinBox, QComboBox {
    background: @field; color: @ink; border: 1px solid @line; border-radius: 7px; padding: 4px 8px;
    selection-background-color: @accentWash; selection-color: white;
}
QLineEdit:focus, QPlainTextEdit:focus, QTextEdit:focus, QAbstractSpinBox:focus, QComboBox:focus {
    border: 1px solid @accentEdge;
}
QLineEdit:disabled, QAbstractSpinBox:disabled, QComboBox:disabled { color: @faint; background: @panel; }
QComboBox::drop-down { border: none; width: 20px; }
QComboBox QAbstractItemView { background: @panel; color: @ink; border: 1px solid @line; outline: 0;
    selection-background-color: @accentWash; }
QAbstractSpinBox::up-button, QAbstractSpinBox::down-button { border: none; width: 16px; background: transparent; }
QAbstractItemView { background: @field; color: @ink; border: 1px solid @line; border-radius: 7px;
    alternate-background-color: @panel; selection-background-color: @accentWash; selection-color: white; outline: 0; }
QAbstractItemView::item:hover { background: @hover; }
QHeaderView::section { background: @panel; color: @muted; border: none; border-bottom: 1px solid @line;
    padding: 4px 8px; }
QScrollBar:vertical { background: transparent; width: 10px; margin: 2px; }
QScrollBar:horizontal { background: transparent; height: 10px; margin: 2px; }
QScrollBar::handle { background: @thumb; border-radius: 3px; }
QScrollBar::handle:vertical { min-height: 28px; }
QScrollBar::handle:horizontal { min-width: 28px; }
QScrollBar::handle:hover { background: @thumbHover; }
QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; background: none; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QTabBar::tab { background: @wash; color: @muted; border: 1px solid transparent; border-radius: 11px;
    padding: 4px 12px; margin: 2px 3px; }
QTabBar::tab:hover { background: @hover; color: @ink; }
QTabBar::tab:selected { background: @accentSoft; color: white; border: 1px solid @accentEdge; }
QTabWidget::pane { border: 1px solid @line; border-radius: 8px; }
QCheckBox, QRadioButton { color: @ink; spacing: 7px; }
QCheckBox:disabled, QRadioButton:disabled { color: @faint; }
QCheckBox::indicator, QRadioButton::indicator { width: 14px; height: 14px; border: 1px solid @edge;
    background: @field; }
QCheckBox::indicator { border-radius: 4px; }
QRadioButton::indicator { border-radius: 8px; }
QCheckBox::indicator:checked, QRadioButton::indicator:checked { background: @accent; border: 1px solid @accent; }
QCheckBox::indicator:hover, QRadioButton::indicator:hover { border: 1px solid @accentEdge; }
QDialog, QMessageBox, QFileDialog { background: @canvas; color: @ink; }
QPushButton { background: @wash; color: @ink; border: 1px solid @line; border-radius: 7px; padding: 5px 14px; }
QPushButton:hover { background: @hover; }
QPushButton:pressed { background: @line; }
QPushButton:default { border: 1px solid @accentEdge; }
QPushButton:disabled { color: @faint; }
QGroupBox { border: 1px solid @line; border-radius: 8px; margin-top: 14px; padding-top: 6px; color: @muted; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QProgressBar { background: @field; border: none; border-radius: 4px; height: 8px; text-align: center; color: @ink; }
QProgressBar::chunk { background: @accent; border-radius: 4px; }
)");
    const QList<std::pair<QString, QColor>> colours{
        {QStringLiteral("@accentWash"), TessaronPalette::withOpacity(accent, 0.55)},
        {QStringLiteral("@accentSoft"), TessaronPalette::withOpacity(accent, 0.2)},
        {QStringLiteral("@accentEdge"), TessaronPalette::withOpacity(accent, 0.6)},
        {QStringLiteral("@accent"), accent},
        {QStringLiteral("@canvas"), TessaronPalette::canvas()},
        {QStringLiteral("@panel"), panel()},
        {QStringLiteral("@field"), field()},
        {QStringLiteral("@ink"), ink},
        {QStringLiteral("@muted"), muted},
        {QStringLiteral("@faint"), TessaronPalette::withOpacity(ink, 0.35)},
        {QStringLiteral("@line"), white(0.09)},
        {QStringLiteral("@edge"), white(0.22)},
        {QStringLiteral("@wash"), white(0.04)},
        {QStringLiteral("@hover"), white(0.08)},
        {QStringLiteral("@thumbHover"), white(0.28)},
        {QStringLiteral("@thumb"), white(0.16)},
    };
    // Longer names first, so "@accentWash" is not taken for "@accent" + "Wash".
    for (const auto& [name, colour] : colours)
        sheet.replace(name, css(colour));
    return sheet;
}

QStyle* createStyle()
{
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    return fusion ? new TessaronStyle(fusion) : nullptr;
}

void install(QApplication& app)
{
    if (QStyle* style = createStyle())
        app.setStyle(style);
    app.setPalette(palette());
    app.setFont(bodyFont());
    app.setStyleSheet(styleSheet());
}

} // namespace tessaron::AppStyle
