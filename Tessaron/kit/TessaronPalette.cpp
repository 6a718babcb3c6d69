#include "Tessaron/kit/TessaronPalette.h"

#include "VelkinUI/Brand.h"
#include "VelkinUI/VelkinPalette.h"

#include <QAbstractScrollArea>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace tessaron::TessaronPalette {

const QColor& canvas()
{
    static const QColor c = QColor::fromRgbF(0.067f, 0.063f, 0.071f);
    return c;
}

const QColor& ink()
{
    static const QColor c = QColor::fromRgbF(0.95f, 0.94f, 0.91f);
    return c;
}

const QColor& muted()
{
    static const QColor c = QColor::fromRgbF(0.64f, 0.63f, 0.66f);
    return c;
}

const QColor& mint()
{
    static const QColor c = QColor::fromRgbF(0.59f, 0.81f, 0.70f);
    return c;
}

const QColor& lavender()
{
    static const QColor c = QColor::fromRgbF(0.75f, 0.70f, 0.88f);
    return c;
}

const QColor& amber()
{
    static const QColor c = QColor::fromRgbF(0.98f, 0.58f, 0.26f);
    return c;
}

const QColor& jade()
{
    static const QColor c = QColor::fromRgbF(0.33f, 0.80f, 0.56f);
    return c;
}

QColor accent() { return Brand::palette().value(2, Brand::accent()); }

const QColor& introAccent()
{
    static const QColor c = Brand::palette().at(2);
    return c;
}

QColor panel() { return QColor::fromRgbF(0.105f, 0.100f, 0.112f); }
QColor field() { return QColor::fromRgbF(0.135f, 0.130f, 0.145f); }
QColor bevelLight() { return QColor::fromRgbF(0.22f, 0.21f, 0.23f); }
QColor bevelMidlight() { return QColor::fromRgbF(0.17f, 0.165f, 0.18f); }
QColor bevelMid() { return QColor::fromRgbF(0.12f, 0.115f, 0.13f); }
QColor bevelDark() { return QColor::fromRgbF(0.04f, 0.04f, 0.045f); }
QColor bevelShadow() { return QColor(Qt::black); }

QColor plainWhite() { return QColor(Qt::white); }

QColor quietFill() { return QColor(255, 255, 255, int(255 * 0.06)); }
QColor quietFillHovered() { return QColor(255, 255, 255, int(255 * 0.1)); }
QColor hairline() { return QColor(255, 255, 255, 20); }
QColor footerHairline() { return QColor(255, 255, 255, 18); }
QColor cardRule() { return QColor(255, 255, 255, int(255 * 0.10)); }
QColor formRule() { return QColor(255, 255, 255, int(255 * 0.08)); }
QColor sectionRule() { return QColor(255, 255, 255, int(255 * 0.07)); }
QColor countersDivider() { return QColor(255, 255, 255, 26); }
QColor bubbleFill() { return QColor(255, 255, 255, int(255 * 0.09)); }
QColor bubbleEdge() { return QColor(255, 255, 255, int(255 * 0.16)); }
QColor trackFill() { return QColor(255, 255, 255, 30); }
QColor trackEdge() { return QColor(255, 255, 255, 40); }
QColor sliderHandle() { return QColor(0xf2, 0xef, 0xe8); }
QColor scrollHandle(bool hovered) { return QColor(255, 255, 255, int(255 * (hovered ? 0.28 : 0.16))); }
QColor addCardOutline(double hover) { return QColor(255, 255, 255, int(255 * (0.12 + 0.14 * hover))); }

QColor fieldFill() { return QColor(0, 0, 0, 56); }
QColor fieldEdge() { return QColor(255, 255, 255, 26); }
QColor fieldDisabledText() { return QColor(240, 240, 232, 115); }
QColor editorFill() { return QColor(0, 0, 0, 71); }
QColor editorEdge() { return QColor(255, 255, 255, 20); }

QColor sidebarShade() { return QColor(0, 0, 0, 43); }
QColor footerGround() { return QColor(17, 16, 18, 230); }
QColor railDotUnseen() { return QColor(255, 255, 255, 31); }

QColor badgeCard() { return QColor::fromRgbF(0.12, 0.11, 0.12); }
QColor badgeEdge() { return QColor::fromRgbF(1, 1, 1, 0.16); }
QColor badgeRule() { return QColor::fromRgbF(1, 1, 1, 0.12); }
QColor badgeBarcode() { return QColor::fromRgbF(1, 1, 1, 0.18); }
QColor badgeShadow() { return QColor(0, 0, 0, 102); }
QColor stampGround() { return QColor::fromRgbF(0.07f, 0.07f, 0.10f); }
QColor capsuleFill() { return QColor::fromRgbF(1, 1, 1, 0.04); }
QColor capsuleEdge() { return QColor::fromRgbF(1, 1, 1, 0.10); }
QColor chartTrack() { return QColor::fromRgbF(1, 1, 1, 0.06f); }
QColor headingRule() { return QColor::fromRgbF(1, 1, 1, 0.08f); }
QColor introRule(double opacity) { return QColor::fromRgbF(1, 1, 1, opacity); }

QString css(const QColor& color) { return VelkinPalette::css(color); }

void seeThrough(QAbstractScrollArea* scroll)
{
    scroll->setStyleSheet(QStringLiteral("#%1 { background: transparent; }").arg(scroll->objectName()));
}

QColor withOpacity(const QColor& color, double opacity)
{
    QColor c = color;
    c.setAlphaF(float(color.alphaF() * opacity));
    return c;
}

QColor white(double opacity) { return QColor::fromRgbF(1, 1, 1, float(opacity)); }

namespace {

double luminance(const QColor& c)
{
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

QColor over(const QColor& top, const QColor& ground)
{
    const double a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + ground.redF() * (1 - a)),
                            float(top.greenF() * a + ground.greenF() * (1 - a)),
                            float(top.blueF() * a + ground.blueF() * (1 - a)));
}

QColor madeLegible(const QColor& text)
{
    if (luminance(QColor(text.red(), text.green(), text.blue())) < 0.18)
        return text; // dark text, meant for a light ground
    // The lightest ground text lies on: the canvas under a white wash of 14 % (a tinted card). The
    // margin above 4.5:1 is for small type, whose thin strokes never reach their full colour.
    const double ground = luminance(over(white(0.14), canvas()));
    auto reads = [&](const QColor& c) { return (luminance(over(c, canvas())) + 0.05) / (ground + 0.05) >= 6.2; };
    QColor c = text;
    while (!reads(c) && c.alphaF() < 1.0)
        c.setAlphaF(std::min(1.0f, float(c.alphaF() + 0.02)));
    for (double t = 0.05; !reads(c) && t <= 1.0; t += 0.05) {
        const QColor& to = ink();
        c = QColor::fromRgbF(float(text.redF() + (to.redF() - text.redF()) * t),
                             float(text.greenF() + (to.greenF() - text.greenF()) * t),
                             float(text.blueF() + (to.blueF() - text.blueF()) * t), c.alphaF());
    }
    return c;
}
} // namespace

QColor legible(const QColor& text)
{
    // Asked for every text drawn, and there are few colours: each is worked out once.
    thread_local QHash<quint64, QColor> known;
    const quint64 key = quint64(text.rgba64());
    if (const auto it = known.constFind(key); it != known.cend())
        return *it;
    return *known.insert(key, madeLegible(text));
}

} // namespace tessaron::TessaronPalette
