#include "Tessaron/intro/IntroWidgets.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/TransformEffect.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>

namespace tessaron::intro {

namespace {

// Keeps a widget's rotation about its centre when it is resized.
class TiltKeeper : public QObject {
public:
    TiltKeeper(QWidget* widget, TransformEffect* effect)
        : QObject(widget)
        , m_widget(widget)
        , m_effect(effect)
    {
        widget->installEventFilter(this);
    }
    double degrees = 0;
    QPointF offset;
    void apply()
    {
        const QPointF centre = QRectF(m_widget->rect()).center();
        m_effect->setTransform(Transforms::rotateAbout(degrees, centre)
                               * Transforms::translate(offset.x(), offset.y()));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            apply();
        return false;
    }

private:
    QWidget* m_widget;
    TransformEffect* m_effect;
};

class Capsule : public QWidget {
public:
    Capsule(const QColor& color, QWidget* parent = nullptr)
        : QWidget(parent)
        , m_color(color)
    { }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor fill = m_color;
        fill.setAlphaF(0.08);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    }

private:
    QColor m_color;
};

} // namespace

QLabel* text(const QString& content, double size, const QColor& color, QFont::Weight weight, FontDesign design,
             double tracking)
{
    return PlainText::label(content, KitFont::font(size, weight, design, tracking), color, nullptr, true);
}

QWidget* symbolRow(const QString& symbol, const QString& content, double size, const QColor& color,
                   QFont::Weight weight)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(new SymbolView(symbol, size, color), 0, Qt::AlignTop);
    layout->addWidget(text(content, size, color, weight), 1);
    return row;
}

QWidget* capsule(const QString& content, const QColor& color, const QString& symbol)
{
    auto* badge = new Capsule(color);
    auto* layout = new QHBoxLayout(badge);
    layout->setContentsMargins(9, 9, 9, 9);
    layout->setSpacing(5);
    if (!symbol.isEmpty())
        layout->addWidget(new SymbolView(symbol, 8, color));
    auto* label = text(content, 8, color, QFont::DemiBold, FontDesign::monospaced);
    label->setWordWrap(false);
    layout->addWidget(label);
    badge->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return badge;
}

TransformEffect* tilt(QWidget* widget, double degrees, QPointF offset)
{
    auto* effect = qobject_cast<TransformEffect*>(widget->graphicsEffect());
    if (qFuzzyIsNull(degrees) && offset.isNull()) {
        // Upright: no effect at all, so children's own effects (glows, hops) draw as usual.
        widget->setGraphicsEffect(nullptr);
        if (auto* keeper = widget->property("introTilt").value<QObject*>())
            keeper->deleteLater();
        widget->setProperty("introTilt", QVariant());
        return nullptr;
    }
    auto* keeper = static_cast<TiltKeeper*>(widget->property("introTilt").value<QObject*>());
    if (!effect) {
        effect = new TransformEffect(widget);
        effect->setMargin(40);
        widget->setGraphicsEffect(effect);
    }
    if (!keeper) {
        keeper = new TiltKeeper(widget, effect);
        widget->setProperty("introTilt", QVariant::fromValue<QObject*>(keeper));
    }
    keeper->degrees = degrees;
    keeper->offset = offset;
    keeper->apply();
    return effect;
}

void tiltTo(QWidget* widget, double degrees, const Motion& motion)
{
    static const QString name = QStringLiteral("introTiltMotion");
    auto* value = widget->findChild<AnimatedValue*>(name, Qt::FindDirectChildrenOnly);
    if (!value) {
        const auto* keeper = static_cast<TiltKeeper*>(widget->property("introTilt").value<QObject*>());
        value = new AnimatedValue(keeper ? keeper->degrees : 0.0, widget);
        value->setObjectName(name);
        QObject::connect(value, &AnimatedValue::valueChanged, widget, [widget](double d) { tilt(widget, d); });
    }
    value->animateTo(degrees, motion);
}

Motion introSpring(const QWidget* widget)
{
    return decorativeMotion(widget, Motion::withSpring(Spring{0.46, 0.88, 0.0}));
}

} // namespace tessaron::intro
