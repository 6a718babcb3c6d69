#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/SlamStamp.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tessaron {

using namespace ActionStyle;

OutcomeBlock::OutcomeBlock(const AppOutcome& outcome, int strikes, Act act, QWidget* parent)
    : QWidget(parent)
    , m_outcome(outcome)
    , m_act(act)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(10);
    row->setAlignment(Qt::AlignTop);
    auto* words = new QVBoxLayout;
    words->setSpacing(4);
    m_caution = label(QString(), KitFont::font(11.5, QFont::DemiBold), stampColor(AppOutcome::uncertain), this, true);
    m_caution->setObjectName(QStringLiteral("caution"));
    words->addWidget(m_caution);
    m_sentence = label(outcome.sentence(), KitFont::font(11.5), white(0.75), this, true);
    m_sentence->setObjectName(QStringLiteral("sentence"));
    m_sentence->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_sentence->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_sentence->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // The sentence takes the focus when a result arrives, so the keyboard and a screen reader are
    // where the eye is.
    m_sentence->setFocusPolicy(Qt::StrongFocus);
    FocusRing::overlay(m_sentence, m_sentence, 4);
    words->addWidget(m_sentence);
    row->addLayout(words, 1);
    rebuildStamp(strikes);
    retranslate();
    LanguageChange::onChange(this, [this] { retranslate(); });
}

QString OutcomeBlock::stampText(AppOutcome::Case which)
{
    switch (which) {
    case AppOutcome::done:
        return QStringLiteral("FILED");
    case AppOutcome::refused:
        return QStringLiteral("REFUSED");
    case AppOutcome::uncertain:
        return QStringLiteral("UNCONFIRMED");
    }
    return {};
}

QColor OutcomeBlock::stampColor(AppOutcome::Case which)
{
    switch (which) {
    case AppOutcome::done:
        return allClearGreen();
    case AppOutcome::refused:
        return warningOrange();
    case AppOutcome::uncertain:
        return TessaronPalette::lavender();
    }
    return warningOrange();
}

QString OutcomeBlock::stampText() const { return stampText(m_outcome.which()); }

void OutcomeBlock::setOutcome(const AppOutcome& outcome, int strikes)
{
    const bool sameCase = outcome.which() == m_outcome.which();
    m_outcome = outcome;
    m_sentence->setText(outcome.sentence());
    if (sameCase)
        m_stamp->setTrigger(strikes);
    else
        rebuildStamp(strikes);
    retranslate();
    update();
}

void OutcomeBlock::retranslate()
{
    const bool unknown = m_outcome.which() == AppOutcome::uncertain;
    m_caution->setVisible(unknown);
    if (unknown)
        m_caution->setText(m_act == Act::file
                               ? L10n::t("May have been filed. Read the topic before filing again, or it may hold "
                                         "two copies.")
                               : L10n::t("May have moved. Look at the group's offsets before moving it again."));
}

void OutcomeBlock::rebuildStamp(int strikes)
{
    // The stamp's words and colour are fixed at construction; a change of case needs a new one.
    delete m_stamp;
    // Made one strike behind, so that a new stamp slams in as well.
    m_stamp = new SlamStamp(stampText(), stampColor(m_outcome.which()), strikes - 1, this);
    static_cast<QHBoxLayout*>(layout())->insertWidget(0, m_stamp, 0, Qt::AlignTop);
    m_stamp->setTrigger(strikes);
}

void OutcomeBlock::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), 11, 11);
    painter.fillPath(shape, withOpacity(stampColor(m_outcome.which()), 0.07));
}

} // namespace tessaron
