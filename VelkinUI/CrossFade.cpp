#include "VelkinUI/CrossFade.h"

#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/EffectSlot.h"

#include <QLabel>
#include <QPointer>

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

} // namespace

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
