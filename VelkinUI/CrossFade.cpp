#include "VelkinUI/CrossFade.h"

#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/EffectSlot.h"

#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <memory>

namespace tessaron {

namespace {

// One per label while it fades; deletes itself and the old picture when the fade ends.
class CrossFade : public QObject {
public:
    explicit CrossFade(QLabel* label)
        : QObject(label)
        , m_label(label)
        , m_slot(label)
        , m_progress(new AnimatedValue(0.0, this))
    {
        setObjectName(QStringLiteral("crossFade"));
        connect(m_progress, &AnimatedValue::valueChanged, this, [this](double v) { show(v); });
        connect(m_progress, &AnimatedValue::finished, this, [this] {
            settle();
            deleteLater();
        });
    }
    ~CrossFade() override { delete m_ghost; }

    static CrossFade* of(QLabel* label)
    {
        return static_cast<CrossFade*>(
            label->findChild<QObject*>(QStringLiteral("crossFade"), Qt::FindDirectChildrenOnly));
    }

    // The end state: the label fully shown without an effect, the old picture gone.
    void settle()
    {
        setObjectName(QString());
        m_progress->setImmediately(1.0);
        show(1.0);
        delete m_ghost;
    }

    void start(const QString& text, const Motion& motion)
    {
        // The old text, as drawn now (mid-fade included), stays behind as a picture.
        QPixmap before = m_label->grab();
        if (!m_ghost) {
            m_ghost = new QLabel(m_label->parentWidget());
            m_ghost->setAttribute(Qt::WA_TransparentForMouseEvents);
            m_ghostSlot = std::make_unique<EffectSlot>(m_ghost);
        }
        m_ghost->setPixmap(before);
        m_ghost->setGeometry(m_label->geometry());
        m_ghost->show();
        m_ghost->stackUnder(m_label);
        m_label->setText(text);
        m_progress->setImmediately(0.0);
        show(0.0);
        m_progress->animateTo(1.0, motion);
    }

private:
    void show(double v)
    {
        // A spring may overshoot; opacity stays within its range.
        v = std::clamp(v, 0.0, 1.0);
        m_slot.apply(QTransform(), v);
        if (m_ghost)
            m_ghostSlot->apply(QTransform(), 1.0 - v);
    }

    QLabel* m_label;
    EffectSlot m_slot;
    QPointer<QLabel> m_ghost;
    std::unique_ptr<EffectSlot> m_ghostSlot;
    AnimatedValue* m_progress;
};

// One per widget that fades in or out; stays while the widget lives.
class Fader : public QObject {
public:
    explicit Fader(QWidget* widget)
        : QObject(widget)
        , m_widget(widget)
        , m_slot(widget)
        , m_opacity(new AnimatedValue(widget->isHidden() ? 0.0 : 1.0, this))
    {
        setObjectName(QStringLiteral("fader"));
        connect(m_opacity, &AnimatedValue::valueChanged, this,
                [this](double v) { m_slot.apply(QTransform(), std::clamp(v, 0.0, 1.0)); });
        connect(m_opacity, &AnimatedValue::finished, this, [this] {
            if (m_opacity->target() == 0.0)
                m_widget->hide();
            m_slot.apply(QTransform(), 1.0);
        });
    }

    static Fader* of(QWidget* widget)
    {
        auto* fader =
            static_cast<Fader*>(widget->findChild<QObject*>(QStringLiteral("fader"), Qt::FindDirectChildrenOnly));
        return fader ? fader : new Fader(widget);
    }

    void fade(bool visible, const Motion& motion)
    {
        if (visible && m_widget->isHidden()) {
            m_opacity->setImmediately(0.0);
            if (!motion.isNone())
                m_slot.apply(QTransform(), 0.0);
            m_widget->show();
        }
        m_opacity->animateTo(visible ? 1.0 : 0.0, motion);
    }

private:
    QWidget* m_widget;
    EffectSlot m_slot;
    AnimatedValue* m_opacity;
};

// One per widget while its content is replaced; deletes itself and the old picture at the end.
class Replacement : public QObject {
public:
    Replacement(QWidget* widget, const QPixmap& before, bool scaling)
        : QObject(widget)
        , m_widget(widget)
        , m_slot(widget)
        , m_ghost(new QLabel(widget->parentWidget()))
        , m_ghostSlot(m_ghost)
        , m_scaling(scaling)
        , m_progress(new AnimatedValue(0.0, this))
    {
        setObjectName(QStringLiteral("replacement"));
        m_ghost->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_ghost->setPixmap(before);
        m_ghost->setGeometry(widget->geometry());
        m_ghost->show();
        connect(m_progress, &AnimatedValue::valueChanged, this, [this](double v) { show(v); });
        connect(m_progress, &AnimatedValue::finished, this, [this] {
            show(1.0);
            deleteLater();
        });
        show(0.0);
    }
    ~Replacement() override
    {
        delete m_ghost;
        m_slot.apply(QTransform(), 1.0);
    }

    void run(const Motion& motion) { m_progress->animateTo(1.0, motion); }

private:
    void show(double v)
    {
        const double t = std::clamp(v, 0.0, 1.0);
        const auto scaled = [this](QWidget* w, double s) {
            const QPointF centre = QRectF(w->rect()).center();
            return m_scaling ? Transforms::scaleAbout(s, s, centre) : QTransform();
        };
        if (t >= 1.0) {
            m_slot.apply(QTransform(), 1.0);
        } else {
            m_slot.apply(scaled(m_widget, 0.5 + 0.5 * t), t);
        }
        if (m_ghost)
            m_ghostSlot.apply(scaled(m_ghost, 1.0 - 0.5 * t), 1.0 - t);
    }

    QWidget* m_widget;
    EffectSlot m_slot;
    QPointer<QLabel> m_ghost;
    EffectSlot m_ghostSlot;
    bool m_scaling;
    AnimatedValue* m_progress;
};

} // namespace

void replaceContent(QWidget* widget, const std::function<void()>& change, const Motion& motion, bool scaling)
{
    if (auto* running = widget->findChild<QObject*>(QStringLiteral("replacement"), Qt::FindDirectChildrenOnly))
        delete running;
    if (motion.isNone() || !widget->isVisible() || !widget->parentWidget()) {
        change();
        return;
    }
    auto* replacement = new Replacement(widget, widget->grab(), scaling);
    change();
    replacement->run(motion);
}

void fadeVisible(QWidget* widget, bool visible, const Motion& motion) { Fader::of(widget)->fade(visible, motion); }

void crossFadeText(QLabel* label, const QString& text, const Motion& motion)
{
    CrossFade* fade = CrossFade::of(label);
    if (label->text() == text)
        return;
    if (motion.isNone() || !label->isVisible()) {
        if (fade) {
            fade->settle();
            delete fade;
        }
        label->setText(text);
        return;
    }
    if (!fade)
        fade = new CrossFade(label);
    fade->start(text, motion);
}

} // namespace tessaron
