#include "Tessaron/actions/OutcomeBlock.h"

#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/SlamStamp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace tessaron {

using namespace ActionStyle;

namespace {
QColor stampColor(const AppOutcome& outcome) { return outcome.isDone() ? allClearGreen() : warningOrange(); }
} // namespace

OutcomeBlock::OutcomeBlock(const AppOutcome& outcome, int strikes, QWidget* parent)
    : QWidget(parent)
    , m_outcome(outcome)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(10);
    row->setAlignment(Qt::AlignTop);
    m_sentence = label(outcome.sentence(), KitFont::font(11.5), white(0.75), this, true);
    m_sentence->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_sentence->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sentence->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    row->addWidget(m_sentence, 1, Qt::AlignTop);
    rebuildStamp(strikes);
}

QString OutcomeBlock::stampText() const
{
    return m_outcome.isDone() ? QStringLiteral("FILED") : QStringLiteral("REFUSED");
}

void OutcomeBlock::setOutcome(const AppOutcome& outcome, int strikes)
{
    const bool sameCase = outcome.which() == m_outcome.which();
    m_outcome = outcome;
    m_sentence->setText(outcome.sentence());
    if (sameCase)
        m_stamp->setTrigger(strikes);
    else
        rebuildStamp(strikes);
    update();
}

void OutcomeBlock::rebuildStamp(int strikes)
{
    // The stamp's words and colour are fixed at construction; a change of case needs a new one.
    delete m_stamp;
    // Made one strike behind, so that a new stamp slams in as well.
    m_stamp = new SlamStamp(stampText(), stampColor(m_outcome), strikes - 1, this);
    static_cast<QHBoxLayout*>(layout())->insertWidget(0, m_stamp, 0, Qt::AlignTop);
    m_stamp->setTrigger(strikes);
}

void OutcomeBlock::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 11, 11);
    painter.fillPath(shape, withOpacity(stampColor(m_outcome), 0.07));
}

} // namespace tessaron
