#include "KitGallery.h"

#include "Tessaron/app/AppArtwork.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "Tessaron/kit/ControlStyle.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/kit/SlamStamp.h"
#include "Tessaron/actions/Slap.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/TessaronChartCard.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/intro/WelcomeConfetti.h"
#include "Tessaron/kit/WelcomeDots.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "VelkinHelpers/JSONHighlighter.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/AuroraBackground.h"
#include "VelkinUI/GlassCard.h"
#include "VelkinUI/GradientButtonStyle.h"
#include "VelkinUI/PressableStyle.h"
#include "VelkinUI/ShimmerText.h"
#include "VelkinUI/StatusDot.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/LiquidGlassBackground.h"
#include "VelkinUI/LogoMark.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/KeyframePlayer.h"
#include "Tessaron/kit/HopEffect.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QTest>

namespace tessaron::KitGallery {

namespace {

QLabel* caption(const QString& text, QWidget* parent = nullptr)
{
    auto* label = new QLabel(text, parent);
    label->setFont(KitFont::font(10, QFont::Normal, FontDesign::monospaced));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, TessaronPalette::muted());
    label->setPalette(p);
    return label;
}

// A dark page on which components are laid out in a grid of captioned cells.
class Sheet : public QWidget {
public:
    explicit Sheet(int columns)
        : m_columns(columns)
        , m_grid(new QGridLayout(this))
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, TessaronPalette::canvas());
        p.setColor(QPalette::WindowText, TessaronPalette::ink());
        p.setColor(QPalette::ButtonText, TessaronPalette::ink());
        setPalette(p);
        m_grid->setContentsMargins(28, 28, 28, 28);
        m_grid->setHorizontalSpacing(28);
        m_grid->setVerticalSpacing(10);
    }

    void add(const QString& label, QWidget* widget, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
    {
        const int row = (m_count / m_columns) * 2;
        const int col = m_count % m_columns;
        m_grid->addWidget(caption(label, this), row, col);
        m_grid->addWidget(widget, row + 1, col, align);
        ++m_count;
    }

private:
    int m_columns;
    QGridLayout* m_grid;
    int m_count = 0;
};

class Swatches : public QWidget {
public:
    explicit Swatches(AccentTheme theme)
        : m_theme(theme)
    {
        setFixedSize(250, 44);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const auto colours = AccentThemes::palette(m_theme);
        for (int i = 0; i < 5; ++i) {
            p.setBrush(colours[i]);
            p.setPen(Qt::NoPen);
            p.drawRoundedRect(QRectF(i * 36, 0, 30, 30), 6, 6);
        }
        p.setBrush(AccentThemes::accent(m_theme));
        p.drawEllipse(QRectF(190, 2, 26, 26));
        QLinearGradient g(QPointF(0, 36), QPointF(250, 44));
        const auto c = AccentThemes::palette(m_theme);
        g.setColorAt(0, c[0]);
        g.setColorAt(0.5, c[1]);
        g.setColorAt(1, c[2]);
        p.fillRect(QRectF(0, 36, 250, 8), g);
    }

private:
    AccentTheme m_theme;
};

QWidget* brandPage()
{
    auto* sheet = new Sheet(3);
    for (AccentTheme theme : AccentThemes::allCases()) {
        auto* row = new QWidget;
        auto* box = new QHBoxLayout(row);
        box->addWidget(new Swatches(theme));
        sheet->add(AccentThemes::label(theme) + " palette, accent, gradient", row);
    }
    sheet->add("LogoMark 40 (configured logo)", new LogoMark(40));
    sheet->add("LogoMark 72", new LogoMark(72));
    auto* icon = new QLabel;
    icon->setPixmap(AppArtwork::appIcon().pixmap(128, 128));
    sheet->add("application icon 128", icon);
    auto* mark = new QLabel;
    mark->setPixmap(AppArtwork::logoMark().pixmap(96, 96));
    sheet->add("logo mark 96", mark);
    return sheet;
}

class SymbolGrid : public QWidget {
public:
    SymbolGrid() { setFixedSize(8 * 130, ((Symbols::names().size() + 7) / 8) * 52); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QStringList names = Symbols::names();
        p.setFont(KitFont::font(9, QFont::Normal, FontDesign::monospaced));
        for (int i = 0; i < names.size(); ++i) {
            const double x = (i % 8) * 130.0;
            const double y = (i / 8) * 52.0;
            Symbols::paint(p, names[i], QRectF(x + 50, y + 4, 24, 24),
                           Symbols::isDrawn(names[i]) ? TessaronPalette::mint() : TessaronPalette::ink());
            p.setPen(TessaronPalette::muted());
            p.drawText(QRectF(x, y + 32, 124, 16), Qt::AlignCenter,
                       QFontMetrics(p.font()).elidedText(names[i], Qt::ElideMiddle, 124));
        }
    }
};

QWidget* symbolsPage()
{
    auto* sheet = new Sheet(1);
    sheet->add("every symbol name (mint: our own drawings)", new SymbolGrid);
    return sheet;
}

KitButton* control(const QString& text, bool selected, bool surface, QColor tint)
{
    return new KitButton(text, std::make_unique<ControlStyle>(tint, selected, surface));
}

QWidget* controlsPage()
{
    auto* sheet = new Sheet(4);
    const QColor tint = Brand::palette().at(2);
    const QColor lavender = TessaronPalette::lavender();
    struct Variant {
        QString name;
        bool selected, surface, hover, pressed, enabled;
    };
    const QList<Variant> variants{
        {"tile", false, true, false, false, true},         {"tile hovered", false, true, true, false, true},
        {"tile pressed", false, true, true, true, true},   {"tile disabled", false, true, false, false, false},
        {"selected tile", true, true, false, false, true}, {"selected hovered", true, true, true, false, true},
        {"bare", false, false, false, false, true},        {"bare hovered", false, false, true, false, true},
    };
    for (const Variant& v : variants) {
        KitButton* b = control("English", v.selected, v.surface, v.name.startsWith("selected") ? lavender : tint);
        b->setEnabled(v.enabled);
        b->setHovering(v.hover);
        b->showPressed(v.pressed);
        sheet->add("ControlStyle " + v.name, b);
    }
    auto* primary = new KitButton("Let's do this.", std::make_unique<PrimaryButtonStyle>());
    sheet->add("PrimaryButtonStyle", primary);
    auto* hovered = new KitButton("Let's do this.", std::make_unique<PrimaryButtonStyle>());
    hovered->setHovering(true);
    sheet->add("PrimaryButtonStyle hovered", hovered);
    auto* disabled = new KitButton("Let's do this.", std::make_unique<PrimaryButtonStyle>());
    disabled->setEnabled(false);
    sheet->add("PrimaryButtonStyle disabled", disabled);
    auto* plain = new KitButton(
        "Another", std::make_unique<PlainButtonStyle>(KitFont::font(10.5, QFont::DemiBold, FontDesign::rounded), tint));
    plain->setTrailingSymbol("arrow.right");
    sheet->add("plain button with symbol", plain);
    return sheet;
}

QWidget* panel(const QColor& tint, const QString& text)
{
    auto* inner = new QLabel(text);
    inner->setMargin(18);
    inner->setFixedSize(260, 90);
    QPalette p = inner->palette();
    p.setColor(QPalette::WindowText, TessaronPalette::ink());
    inner->setPalette(p);
    return panelSurface(inner, tint);
}

QWidget* surfacesPage(bool contrast, bool opaque)
{
    auto* sheet = new Sheet(2);
    auto* behind = new TessaronBackdrop(Brand::palette().at(2), false);
    behind->setFixedSize(420, 260);
    auto* holder = new QVBoxLayout(behind);
    holder->addWidget(panel(Brand::palette().at(2), "panelSurface over the backdrop"), 0, Qt::AlignCenter);
    sheet->add(QString("TessaronBackdrop loud + PanelSurface%1%2")
                   .arg(contrast ? " (increased contrast)" : "", opaque ? " (reduced transparency)" : ""),
               behind);
    auto* quiet = new TessaronBackdrop(TessaronPalette::mint(), true);
    quiet->setFixedSize(420, 260);
    auto* qholder = new QVBoxLayout(quiet);
    auto* glass = new LiquidGlassBackground(18);
    glass->setFixedSize(260, 90);
    qholder->addWidget(glass, 0, Qt::AlignCenter);
    sheet->add("TessaronBackdrop quiet (mint) + LiquidGlassBackground 18", quiet);
    return sheet;
}

QWidget* welcomePage()
{
    auto* sheet = new Sheet(2);
    sheet->add("Eyebrow", new Eyebrow("/ FIRST DAY"));
    auto* title = new ScreenTitle("You're hired.", "No suit required.", 30);
    title->setFixedWidth(360);
    sheet->add("ScreenTitle 30", title);
    auto* dots = new WelcomeDots;
    dots->setFixedSize(360, 160);
    dots->setAutoFillBackground(false);
    sheet->add("WelcomeDots 360 x 160", dots);
    auto* confetti = new WelcomeConfetti;
    confetti->setFixedSize(360, 200);
    confetti->freezeAt(0.45);
    sheet->add("WelcomeConfetti at 0.45 s", confetti);
    return sheet;
}

QWidget* delightPage()
{
    auto* sheet = new Sheet(4);
    sheet->add("TessaronMascot 64", new TessaronMascot(64, 0), Qt::AlignCenter);
    sheet->add("Gavel 28 (resting)", new Gavel(28, 0, Brand::palette().at(2)), Qt::AlignCenter);
    sheet->add("Slap 28", new Slap(28, 0, TessaronPalette::lavender()), Qt::AlignCenter);
    sheet->add("LawyeredStamp", new LawyeredStamp("LAWYERED", TessaronPalette::mint()), Qt::AlignCenter);
    sheet->add("SlamStamp", new SlamStamp("CASE CLOSED", QColor::fromRgbF(0.95f, 0.4f, 0.4f), 0), Qt::AlignCenter);
    auto* hopping = new TessaronMascot(64, 0);
    hopping->hop()->player()->freezeAt(0.14);
    sheet->add("TessaronMascot at the top of its hop", hopping, Qt::AlignCenter);
    auto* striking = new Gavel(28, 0, Brand::palette().at(2));
    striking->player()->freezeAt(0.11);
    sheet->add("Gavel mid-strike (-26 degrees)", striking, Qt::AlignCenter);
    auto* swinging = new Slap(28, 0, TessaronPalette::lavender());
    swinging->player()->freezeAt(0.1);
    sheet->add("Slap mid-swing", swinging, Qt::AlignCenter);
    auto* slamming = new SlamStamp("CASE CLOSED", QColor::fromRgbF(0.95f, 0.4f, 0.4f), 0);
    slamming->player()->freezeAt(0.06);
    sheet->add("SlamStamp 0.06 s into its slam", slamming, Qt::AlignCenter);
    auto* numbered = new FormHeading("connection", 1, Brand::palette().at(2));
    numbered->setFixedWidth(300);
    sheet->add("FormHeading numbered", numbered);
    auto* bare = new FormHeading("the reason", std::nullopt, TessaronPalette::lavender());
    bare->setFixedWidth(300);
    sheet->add("FormHeading without number", bare);
    return sheet;
}

QWidget* chartsPage()
{
    auto* sheet = new Sheet(2);
    int i = 0;
    for (const TessaronChart& chart : TessaronChart::catalogue()) {
        const bool another = i % 2 == 1;
        auto* card = new TessaronChartCard(chart, std::nullopt,
                                           another ? std::function<void()>([] {}) : std::function<void()>());
        card->setFixedWidth(560);
        ++i;
        sheet->add(QString("catalogue chart %1%2").arg(i).arg(another ? " with Another" : ""), card);
    }
    auto* boops = new TessaronChartCard(TessaronChart::boopChart(4), std::nullopt, [] {});
    boops->setFixedWidth(560);
    sheet->add("unsolicited boop chart, 4 boops", boops);
    return sheet;
}

class JsonView : public QWidget {
public:
    explicit JsonView(const QString& text)
        : m_text(JSONHighlighter::highlight(text))
    {
        m_font = KitFont::font(12, QFont::Normal, FontDesign::monospaced);
        const QStringList lines = text.split('\n');
        int w = 0;
        for (const QString& l : lines)
            w = std::max(w, QFontMetrics(m_font).horizontalAdvance(l));
        setFixedSize(w + 24, int(lines.size()) * QFontMetrics(m_font).lineSpacing() + 24);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // A text layout breaks lines only at line separators; same length, so the runs stay aligned.
        QString text = m_text.text();
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(text, m_font);
        layout.setFormats(m_text.formats());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        double y = 12;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width() - 24);
            line.setPosition(QPointF(12, y));
            y += line.height();
        }
        layout.endLayout();
        layout.draw(&p, QPointF(0, 0));
    }

private:
    AttributedText m_text;
    QFont m_font;
};

QWidget* jsonPage()
{
    auto* sheet = new Sheet(2);
    const QString payload =
        "{\"order\":{\"id\":9007199254740993,\"total\":-12.5e3,\"paid\":true,\"note\":null,"
        "\"items\":[{\"sku\":\"A-1\",\"qty\":2},{\"sku\":\"B\\\"2\",\"qty\":1}]},\"at\":\"2026-12-09T05:00:00Z\"}";
    sheet->add("prettyPrint + highlight", new JsonView(JSONHighlighter::prettyPrint(payload)));
    sheet->add("highlight of text that is not JSON", new JsonView("not json: true, 42 and \"a string\n{\"cut"));
    return sheet;
}

// A frozen aurora frame, so the picture is the same on every run.
class AuroraStill : public QWidget {
public:
    AuroraStill() { setFixedSize(1020, 660); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        AuroraBackground::paintFrame(p, size(), 1000.0, 1.0);
    }
};

QWidget* auroraPage()
{
    auto* sheet = new Sheet(1);
    sheet->add("AuroraBackground 1020 x 660, intensity 1, t = 1000 s", new AuroraStill);
    return sheet;
}

QWidget* componentsPage()
{
    auto* sheet = new Sheet(3);
    sheet->add("ShimmerText 28 heavy rounded", new ShimmerText("Tessaron MQ", 28, QFont::Black, FontDesign::rounded));
    auto* dots = new QWidget;
    auto* row = new QHBoxLayout(dots);
    row->addWidget(new StatusDot(TessaronPalette::mint(), 8));
    row->addWidget(new StatusDot(QColor::fromRgbF(0.95f, 0.4f, 0.4f), 10));
    row->addWidget(new StatusDot(Brand::accent(), 6));
    sheet->add("StatusDot 8, 10, 6", dots);
    sheet->add("GradientButtonStyle", new KitButton("Connect", std::make_unique<GradientButtonStyle>()));
    auto* pressed = new KitButton("Connect", std::make_unique<GradientButtonStyle>());
    pressed->showPressed(true);
    sheet->add("GradientButtonStyle pressed", pressed);
    auto* pressable = new KitButton("Pressable label", std::make_unique<PressableStyle>());
    pressable->showPressed(true);
    sheet->add("PressableStyle pressed", pressable);
    auto* label = new QLabel("Resting glass card: flat, soft shadow");
    label->setPalette(sheet->palette());
    auto* card = new GlassCard(16, true, Qt::AlignLeft, false, label);
    sheet->add("GlassCard interactive, resting", card);
    auto* hoverLabel = new QLabel("Hovered near its top-left corner");
    hoverLabel->setPalette(sheet->palette());
    auto* hovered = new GlassCard(16, true, Qt::AlignLeft, false, hoverLabel);
    hovered->resize(hovered->sizeHint());
    hovered->setPointer(QPointF(30, 10));
    sheet->add("GlassCard hovered", hovered);
    auto* inside = new GlassCard(16, false, Qt::AlignLeft, false,
                                 new KitButton("Inside a card", std::make_unique<GradientButtonStyle>()));
    sheet->add("GradientButtonStyle inside a GlassCard", inside);
    auto* mascotCard = new GlassCard(16, false, Qt::AlignCenter, false, new TessaronMascot(48, 0));
    sheet->add("TessaronMascot inside a GlassCard", mascotCard);
    return sheet;
}

} // namespace

QList<Page> pages()
{
    return {
        {"brand", brandPage},
        {"symbols", symbolsPage},
        {"controls", controlsPage},
        {"surfaces", [] { return surfacesPage(false, false); }},
        {"surfaces-contrast",
         [] {
             AccessibilitySettings::instance().setIncreaseContrast(true);
             return surfacesPage(true, false);
         }},
        {"surfaces-opaque",
         [] {
             AccessibilitySettings::instance().setReduceTransparency(true);
             return surfacesPage(false, true);
         }},
        {"welcome", welcomePage},
        {"delight", delightPage},
        {"charts", chartsPage},
        {"json", jsonPage},
        {"aurora", auroraPage},
        {"components", componentsPage},
    };
}

QStringList renderAll(const QString& folder)
{
    QDir().mkpath(folder);
    QStringList written;
    AccessibilitySettings& a11y = AccessibilitySettings::instance();
    // As the application configures the brand: sunset unless another theme is stored.
    Brand::configure(BrandConfig(PrefsStore("tessaron", UserDefaults::standard()), "accentTheme", AppArtwork::appIcon(),
                                 "tray.full.fill", AccentTheme::sunset));
    for (const Page& page : pages()) {
        a11y.setReduceMotion(true); // states show at once, entrances land on their final frame
        a11y.setIncreaseContrast(false);
        a11y.setReduceTransparency(false);
        QWidget* widget = page.build();
        widget->adjustSize();
        widget->show();
        if (!QTest::qWaitForWindowExposed(widget))
            qWarning("gallery page %s was not exposed", qPrintable(page.name));
        QTest::qWait(400); // entrances (fades) land
        const QString path = QDir(folder).filePath(page.name + ".png");
        if (widget->grab().save(path))
            written << path;
        delete widget;
    }
    return written;
}

} // namespace tessaron::KitGallery
