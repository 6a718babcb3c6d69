#include "VelkinHelpers/Toast.h"
#include "VelkinUI/PaintedText.h"

#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Animation.h"
#include "VelkinUI/ImageBlur.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/NoiseOverlay.h"
#include "VelkinUI/Symbols.h"
#include "VelkinUI/VelkinPalette.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace tessaron {

namespace {

constexpr double padX = 16;
constexpr double padY = 11;
constexpr double gap = 9;
constexpr double iconSize = 13; // the body text size where the overlay stands
constexpr double lift = 28;     // above the view's bottom edge
constexpr double margin = 24;   // room for the shadow around the capsule
constexpr double shadowBlur = 12;
constexpr double shadowDrop = 4;

QFont messageFont() { return KitFont::font(12, QFont::Medium); }

// The message cut into at most two lines of at most `width`; the second ends in "…" when the
// text runs on.
QStringList messageLines(const QString& message, double width)
{
    QStringList lines;
    if (message.isEmpty())
        return lines;
    QTextLayout layout(message, messageFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qsizetype secondStart = -1;
    while (lines.size() < 2) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == 1)
            secondStart = line.textStart();
        lines.append(message.mid(line.textStart(), line.textLength()));
    }
    const bool more = layout.createLine().isValid();
    layout.endLayout();
    if (more && secondStart >= 0) {
        const QString rest = message.mid(secondStart).simplified();
        lines[1] = QFontMetricsF(messageFont()).elidedText(rest, Qt::ElideRight, width);
    }
    for (QString& l : lines)
        l = l.trimmed();
    return lines;
}

double maxTextWidth(const QWidget* view) { return std::max(40.0, view->width() - 2 * padX - iconSize - gap); }

} // namespace

ToastOverlay::ToastOverlay(ToastCenter* center, QWidget* view)
    : QWidget(view)
    , m_center(center)
    , m_presence(new AnimatedValue(0.0, this))
    , m_morph(new AnimatedValue(1.0, this))
{
    setObjectName(QStringLiteral("toastOverlay"));
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
    view->installEventFilter(this);
    connect(m_presence, &AnimatedValue::valueChanged, this, [this] { place(); });
    connect(m_morph, &AnimatedValue::valueChanged, this, [this] { place(); });
    connect(m_presence, &AnimatedValue::finished, this, [this] {
        if (m_presence->target() <= 0.0) {
            m_shown.reset();
            hide();
        }
    });
    if (center) {
        connect(center, &ToastCenter::currentChanged, this, &ToastOverlay::onCurrentChanged);
        // A released centre takes its toast with it.
        connect(center, &QObject::destroyed, this, [this] { onCurrentChanged(std::nullopt); });
        onCurrentChanged(center->current());
    }
}

double ToastOverlay::presence() const { return m_presence->value(); }

void ToastOverlay::onCurrentChanged(const std::optional<ToastCenter::Toast>& toast)
{
    const Motion bouncy = Motion::withSpring(Animation::velkin::bouncy());
    if (!toast) {
        if (m_shown)
            m_presence->animateTo(0.0, bouncy);
        return;
    }
    const QSizeF size = capsuleSizeFor(*toast);
    if (m_shown) {
        // In place: the capsule reshapes to the new toast under the same spring.
        m_fromSize = capsule().size();
        m_toSize = size;
        m_morph->setImmediately(0.0);
        m_morph->animateTo(1.0, bouncy);
    } else {
        m_fromSize = m_toSize = size;
        m_morph->setImmediately(1.0);
        m_presence->setImmediately(0.0);
    }
    m_shown = toast;
    m_presence->animateTo(1.0, bouncy);
    place();
    show();
    raise();
    update();
}

QSizeF ToastOverlay::capsuleSizeFor(const ToastCenter::Toast& toast) const
{
    const QWidget* view = parentWidget();
    const QFontMetricsF metrics(messageFont());
    const QStringList lines = messageLines(toast.message, maxTextWidth(view));
    double textWidth = 0;
    for (const QString& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const double textHeight = lines.size() * metrics.lineSpacing();
    const double rowWidth = iconSize + (lines.isEmpty() ? 0.0 : gap + std::ceil(textWidth));
    const double rowHeight = std::max(iconSize, textHeight);
    return QSizeF(rowWidth + 2 * padX, rowHeight + 2 * padY);
}

QRectF ToastOverlay::capsule() const
{
    const double t = m_morph->value();
    const QSizeF size = m_fromSize + (m_toSize - m_fromSize) * t;
    return QRectF(QPointF(margin, margin), size);
}

QSize ToastOverlay::sizeHint() const
{
    const QSizeF size = capsule().size();
    return QSize(int(std::ceil(size.width() + 2 * margin)), int(std::ceil(size.height() + 2 * margin)));
}

void ToastOverlay::place()
{
    const QWidget* view = parentWidget();
    if (!view || !m_shown)
        return;
    const QSize size = sizeHint();
    const QSizeF cap = capsule().size();
    const double rest = view->height() - lift - cap.height() - margin;
    // Hidden, the capsule sits just below the view's bottom edge.
    const double y = rest + (1.0 - m_presence->value()) * (lift + cap.height() + margin);
    const double x = (view->width() - cap.width()) / 2.0 - margin;
    setGeometry(int(std::lround(x)), int(std::lround(y)), size.width(), size.height());
    update();
}

bool ToastOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && m_shown) {
        const QSizeF size = capsuleSizeFor(*m_shown);
        m_fromSize = m_fromSize.isEmpty() ? size : m_fromSize;
        m_toSize = size;
        place();
    }
    return QWidget::eventFilter(watched, event);
}

void ToastOverlay::mousePressEvent(QMouseEvent* event)
{
    const double radius = capsule().height() / 2.0;
    QPainterPath path;
    path.addRoundedRect(capsule(), radius, radius);
    if (m_center && m_center->current() && path.contains(event->position())) {
        // The pending dismissal stays; when it fires it finds nothing left to clear.
        m_center->setCurrent(std::nullopt);
        event->accept();
        return;
    }
    event->ignore();
}

void ToastOverlay::paintEvent(QPaintEvent*)
{
    if (!m_shown)
        return;
    const ToastCenter::Toast& toast = *m_shown;
    const QRectF cap = capsule();
    const double radius = cap.height() / 2.0;
    QPainterPath path;
    path.addRoundedRect(cap, radius, radius);
    const QColor tint = ToastCenter::colour(toast.kind);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(std::clamp(m_presence->value(), 0.0, 1.0));

    // Shadow, drawn by hand: Qt's drop-shadow effect would not combine with the fade.
    QImage shadow(size(), QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter sp(&shadow);
        sp.setRenderHint(QPainter::Antialiasing);
        sp.fillPath(path.translated(0, shadowDrop), VelkinPalette::toastShadow());
    }
    ImageBlur::blur(shadow, shadowBlur);
    painter.drawImage(0, 0, shadow);

    // Widgets cannot blur what lies behind them: a translucent fill with fine grain stands in for
    // the thin frosted material.
    painter.fillPath(path, VelkinPalette::toastFill());
    painter.save();
    painter.setClipPath(path);
    // The grain has a fixed number of dots; thin it out on small capsules so it stays fine.
    painter.setOpacity(painter.opacity() * std::clamp(cap.width() * cap.height() / 30000.0, 0.15, 1.0));
    NoiseOverlay::paintGrain(painter, cap);
    painter.restore();
    QColor border = tint;
    border.setAlphaF(0.4);
    painter.setPen(QPen(border, 1.0));
    painter.setBrush(Qt::NoBrush);
    const double inset = 0.5;
    painter.drawRoundedRect(cap.adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);

    const QFontMetricsF metrics(messageFont());
    const QStringList lines = messageLines(toast.message, maxTextWidth(parentWidget()));
    const double rowHeight = cap.height() - 2 * padY;
    const QPointF iconCentre(cap.left() + padX + iconSize / 2.0, cap.center().y());
    Symbols::paint(painter, ToastCenter::symbol(toast.kind), Symbols::boxForSize(iconCentre, iconSize), tint);

    painter.setFont(messageFont());
    painter.setPen(Qt::white);
    const double textLeft = cap.left() + padX + iconSize + gap;
    double y = cap.top() + padY + (rowHeight - lines.size() * metrics.lineSpacing()) / 2.0;
    for (const QString& line : lines) {
        PaintedText::draw(painter, QPointF(textLeft, y + metrics.ascent()), line);
        y += metrics.lineSpacing();
    }
}

QWidget* toasts(QWidget* view, ToastCenter* center)
{
    if (view && center)
        new ToastOverlay(center, view);
    return view;
}

} // namespace tessaron
