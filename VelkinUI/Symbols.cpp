#include "VelkinUI/Symbols.h"

#include "VelkinUI/KitFont.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace tessaron::Symbols {

namespace {

// Every symbol name the application and the kit use, mapped to a Material Design Icons glyph, or to
// 0 where we draw our own shape (the font has nothing close to those).
const QHash<QString, char32_t>& table()
{
    static const QHash<QString, char32_t> map{
        {QStringLiteral("arrow.clockwise"), 0xF450},                        // refresh
        {QStringLiteral("asterisk"), 0xF4D2},                               // star: this font has no asterisk
        {QStringLiteral("command"), 0xF633},                                // apple-keyboard-command
        {QStringLiteral("arrow.counterclockwise"), 0xF54C},                 // undo
        {QStringLiteral("arrow.down"), 0xF045},                             // arrow-down
        {QStringLiteral("arrow.left"), 0xF04D},                             // arrow-left
        {QStringLiteral("arrow.right"), 0xF054},                            // arrow-right
        {QStringLiteral("arrow.triangle.2.circlepath"), 0xF4E6},            // sync
        {QStringLiteral("arrow.triangle.branch"), 0xF62C},                  // source-branch
        {QStringLiteral("arrow.up.forward.app"), 0xF3CC},                   // open-in-new
        {QStringLiteral("arrow.up.right"), 0xF0F7},                         // call-made
        {QStringLiteral("bolt.horizontal"), 0xF241},                        // flash
        {QStringLiteral("bolt.horizontal.circle.fill"), 0xF241},            // flash
        {QStringLiteral("books.vertical"), 0xF332},                         // library-books
        {QStringLiteral("bubble.left.and.bubble.right"), 0xF28C},           // forum
        {QStringLiteral("bubble.left.and.text.bubble.right.fill"), 0xF28C}, // forum
        {QStringLiteral("chart.bar"), 0xF128},                              // chart-bar
        {QStringLiteral("chart.bar.fill"), 0xF420},                         // poll-box
        {QStringLiteral("checkmark"), 0xF12C},                              // check
        {QStringLiteral("checkmark.circle"), 0xF5E1},                       // check-circle-outline
        {QStringLiteral("checkmark.circle.fill"), 0xF5E0},                  // check-circle
        {QStringLiteral("checkmark.seal.fill"), 0xF47A},                    // seal
        {QStringLiteral("checkmark.shield"), 0xF499},                       // shield-outline
        {QStringLiteral("chevron.compact.right"), 0xF142},                  // chevron-right
        {QStringLiteral("chevron.down"), 0xF140},                           // chevron-down
        {QStringLiteral("chevron.left"), 0xF141},                           // chevron-left
        {QStringLiteral("chevron.right"), 0xF142},                          // chevron-right
        {QStringLiteral("circle"), 0xF130},                                 // checkbox-blank-circle-outline
        {QStringLiteral("circle.hexagongrid.fill"), 0xF2D8},                // hexagon
        {QStringLiteral("clock"), 0xF150},                                  // clock
        {QStringLiteral("doc.badge.ellipsis"), 0xF219},                     // file-document
        {QStringLiteral("doc.badge.gearshape"), 0xF21A},                    // file-document-box
        {QStringLiteral("doc.on.doc"), 0xF18F},                             // content-copy
        {QStringLiteral("doc.questionmark"), 0xF21E},                       // file-find
        {QStringLiteral("doc.text.fill"), 0xF219},                          // file-document
        {QStringLiteral("doc.text.magnifyingglass"), 0xF21E},               // file-find
        {QStringLiteral("ellipsis"), 0xF1D8},                               // dots-horizontal
        {QStringLiteral("exclamationmark.bubble"), 0xF17E},                 // comment-alert-outline
        {QStringLiteral("exclamationmark.bubble.fill"), 0xF17D},            // comment-alert
        {QStringLiteral("exclamationmark.triangle"), 0xF02A},               // alert-outline
        {QStringLiteral("exclamationmark.triangle.fill"), 0xF026},          // alert
        {QStringLiteral("eye"), 0xF208},                                    // eye
        {QStringLiteral("eye.slash"), 0xF209},                              // eye-off
        {QStringLiteral("figure.walk"), 0xF583},                            // walk
        {QStringLiteral("flame.fill"), 0xF238},                             // fire
        {QStringLiteral("flask"), 0xF096},                                  // flask-outline
        {QStringLiteral("folder.fill"), 0xF24B},                            // folder
        {QStringLiteral("globe"), 0xF1E7},                                  // earth
        {QStringLiteral("hammer.fill"), 0xF29B},                            // gavel
        {QStringLiteral("hand.thumbsup"), 0xF514},                          // thumb-up-outline
        {QStringLiteral("heart"), 0xF2D5},                                  // heart-outline
        {QStringLiteral("info.circle"), 0xF2FD},                            // information-outline
        {QStringLiteral("info.circle.fill"), 0xF2FC},                       // information
        {QStringLiteral("key"), 0xF306},                                    // key
        {QStringLiteral("key.horizontal"), 0xF30B},                         // key-variant
        {QStringLiteral("laptopcomputer"), 0xF322},                         // laptop
        {QStringLiteral("lock.fill"), 0xF33E},                              // lock
        {QStringLiteral("lock.laptopcomputer"), 0xF323},                    // laptop-chromebook
        {QStringLiteral("lock.open"), 0xF33F},                              // lock-open
        {QStringLiteral("lock.shield.fill"), 0xF483},                       // security
        {QStringLiteral("magnifyingglass"), 0xF349},                        // magnify
        {QStringLiteral("minus.circle"), 0xF377},                           // minus-circle-outline
        {QStringLiteral("number"), 0xF423},                                 // pound
        {QStringLiteral("paperclip"), 0xF3E2},                              // paperclip
        {QStringLiteral("pawprint.fill"), 0xF3E9},                          // paw
        {QStringLiteral("person.2"), 0xF00F},                               // account-multiple-outline
        {QStringLiteral("person.2.fill"), 0xF00E},                          // account-multiple
        {QStringLiteral("person.fill"), 0xF004},                            // account
        {QStringLiteral("person.slash"), 0xF012},                           // account-off
        {QStringLiteral("person.text.rectangle"), 0xF5D2},                  // account-card-details
        {QStringLiteral("pin"), 0xF403},                                    // pin
        {QStringLiteral("pin.fill"), 0xF403},                               // pin
        {QStringLiteral("pin.slash"), 0xF404},                              // pin-off
        {QStringLiteral("pin.slash.fill"), 0xF404},                         // pin-off
        {QStringLiteral("plus"), 0xF415},                                   // plus
        {QStringLiteral("point.3.connected.trianglepath.dotted"), 0xF563},  // vector-triangle
        {QStringLiteral("questionmark"), 0xF2D6},                           // help
        {QStringLiteral("questionmark.circle"), 0xF625},                    // help-circle-outline
        {QStringLiteral("questionmark.circle.fill"), 0xF2D7},               // help-circle
        {QStringLiteral("quote.bubble"), 0xF189},                           // comment-text-outline
        {QStringLiteral("quote.bubble.fill"), 0xF188},                      // comment-text
        {QStringLiteral("quote.opening"), 0xF27E},                          // format-quote
        {QStringLiteral("rectangle.on.rectangle"), 0xF191},                 // content-duplicate
        {QStringLiteral("scope"), 0xF1A3},                                  // crosshairs
        {QStringLiteral("server.rack"), 0xF48B},                            // server
        {QStringLiteral("shippingbox.fill"), 0xF3D7},                       // package-variant-closed
        {QStringLiteral("slider.horizontal.3"), 0xF62E},                    // tune
        {QStringLiteral("square.and.pencil"), 0xF3ED},                      // pencil-box-outline
        {QStringLiteral("star"), 0xF4D2},                                   // star-outline
        {QStringLiteral("star.fill"), 0xF4CE},                              // star
        {QStringLiteral("tennisball.fill"), 0xF507},                        // tennis
        {QStringLiteral("terminal.fill"), 0xF18D},                          // console
        {QStringLiteral("text.magnifyingglass"), 0xF349},                   // magnify
        {QStringLiteral("trash"), 0xF1C0},                                  // delete
        {QStringLiteral("tray"), 0xF2FB},                                   // inbox
        {QStringLiteral("tray.2"), 0xF2FB},                                 // inbox
        {QStringLiteral("tray.full"), 0xF2FB},                              // inbox
        {QStringLiteral("tray.full.fill"), 0xF2FB},                         // inbox
        {QStringLiteral("wand.and.stars"), 0xF068},                         // auto-fix
        {QStringLiteral("xmark"), 0xF156},                                  // close
        {QStringLiteral("xmark.bin.fill"), 0xF5E8},                         // delete-forever
        {QStringLiteral("xmark.circle.fill"), 0xF159},                      // close-circle
        {QStringLiteral("xmark.octagon.fill"), 0xF15C},                     // close-octagon
        {QStringLiteral("hand.raised.fill"), 0},
        {QStringLiteral("hare.fill"), 0},
        {QStringLiteral("sparkles"), 0},
    };
    return map;
}

// A four-pointed star with concave sides, centred on `c`.
void addSparkle(QPainterPath& p, QPointF c, double r)
{
    const double k = r * 0.18;
    p.moveTo(c.x(), c.y() - r);
    p.quadTo(c.x() + k, c.y() - k, c.x() + r, c.y());
    p.quadTo(c.x() + k, c.y() + k, c.x(), c.y() + r);
    p.quadTo(c.x() - k, c.y() + k, c.x() - r, c.y());
    p.quadTo(c.x() - k, c.y() - k, c.x(), c.y() - r);
    p.closeSubpath();
}

// Our own drawings, on a 24 x 24 grid.
QPainterPath drawn(const QString& name)
{
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    if (name == QLatin1String("sparkles")) {
        addSparkle(p, {10, 13}, 8.5);
        addSparkle(p, {19, 4.5}, 3.5);
        addSparkle(p, {19.5, 18.5}, 2.5);
    } else if (name == QLatin1String("hand.raised.fill")) {
        const double xs[4] = {6.2, 9.4, 12.6, 15.8};
        const double tops[4] = {5.0, 2.5, 3.0, 5.5};
        for (int i = 0; i < 4; ++i)
            p.addRoundedRect(QRectF(xs[i], tops[i], 2.8, 12.0), 1.4, 1.4);
        p.addRoundedRect(QRectF(6.2, 11.0, 12.4, 11.0), 4.5, 4.5);
        QPainterPath thumb;
        thumb.addRoundedRect(QRectF(-1.4, -6.0, 2.8, 8.0), 1.4, 1.4);
        QTransform t;
        t.translate(5.4, 15.5);
        t.rotate(-38);
        p.addPath(t.map(thumb));
    } else if (name == QLatin1String("hare.fill")) {
        p.addEllipse(QRectF(2.0, 12.0, 14.5, 8.5)); // body
        p.addEllipse(QRectF(13.0, 9.5, 8.0, 6.5));  // head, facing right
        QPainterPath ear;
        ear.addEllipse(QRectF(-1.4, -9.0, 2.8, 10.0));
        for (double angle : {-28.0, -10.0}) { // long ears laid back
            QTransform t;
            t.translate(16.0, 11.0);
            t.rotate(angle);
            p.addPath(t.map(ear));
        }
        p.addEllipse(QRectF(0.5, 12.5, 3.4, 3.4));                // tail
        p.addRoundedRect(QRectF(13.0, 18.5, 7.0, 2.2), 1.1, 1.1); // front paws
        p.addRoundedRect(QRectF(3.0, 19.0, 8.0, 2.2), 1.1, 1.1);  // hind paws
    } else {
        // Unknown names draw a plain question mark in a ring rather than nothing.
        p.addEllipse(QRectF(2, 2, 20, 20));
        p.addEllipse(QRectF(4, 4, 16, 16));
        p.setFillRule(Qt::OddEvenFill);
    }
    return p;
}

QPainterPath glyphPath(char32_t codepoint)
{
    QFont font(fontFamily());
    font.setPixelSize(96);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath p;
    p.addText(QPointF(0, 0), font, QString::fromUcs4(&codepoint, 1));
    return p;
}

} // namespace

bool contains(const QString& name) { return table().contains(name); }

QStringList names()
{
    QStringList all = table().keys();
    all.sort();
    return all;
}

bool isDrawn(const QString& name) { return table().value(name, 0) == 0; }

char32_t codepoint(const QString& name) { return table().value(name, 0); }

QString fontFamily()
{
    KitFont::registerFonts();
    return QStringLiteral("Material Design Icons");
}

QPainterPath path(const QString& name, const QRectF& box)
{
    static QHash<QString, QPainterPath> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        const char32_t cp = codepoint(name);
        it = cache.insert(name, cp ? glyphPath(cp) : drawn(name));
    }
    const QPainterPath& raw = *it;
    const QRectF bounds = raw.boundingRect();
    if (bounds.isEmpty() || box.isEmpty())
        return {};
    const double scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t.map(raw);
}

QRectF boxForSize(const QPointF& centre, double size)
{
    // A symbol set at a font size fills about nine tenths of it.
    const double side = size * 0.9;
    return QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side);
}

void paint(QPainter& painter, const QString& name, const QRectF& box, const QBrush& brush)
{
    const QPainterPath p = path(name, box);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(brush);
    painter.drawPath(p);
    painter.restore();
}

QIcon icon(const QString& name, double size, const QColor& color)
{
    QIcon result;
    for (qreal dpr : {1.0, 2.0}) {
        const int side = int(std::ceil(size * dpr));
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            paint(p, name, QRectF(0, 0, side, side), color);
        }
        pixmap.setDevicePixelRatio(dpr);
        result.addPixmap(pixmap);
    }
    return result;
}

} // namespace tessaron::Symbols
