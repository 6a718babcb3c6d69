#include "Tessaron/actions/AnswerBlock.h"

#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/PanelSurface.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AIText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

using namespace ActionStyle;

AnswerBlock::AnswerBlock(const AppOutcome& outcome, int strikes, QWidget* parent)
    : QWidget(parent)
    , m_outcome(outcome)
{
    const bool done = outcome.isDone();
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* inside = new QWidget;
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(13, 13, 13, 13);
    column->setSpacing(8);
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    if (done) {
        // One strike behind, so that the gavel strikes for this answer.
        auto* gavel = new Gavel(14, strikes - 1, accent(), inside);
        gavel->setStrikes(strikes);
        header->addWidget(gavel);
        m_heading = L10n::t("THE OPINION");
        QLabel* heading =
            label(m_heading, KitFont::font(9, QFont::Black, FontDesign::monospaced, 1.2), accent(), inside);
        header->addWidget(heading);
        // The opinion itself stays as the tool wrote it.
        LanguageChange::onChange(heading, [this, heading] {
            m_heading = L10n::t("THE OPINION");
            heading->setText(m_heading);
        });
    } else {
        m_heading = QStringLiteral("NO OPINION");
        header->addWidget(new LawyeredStamp(m_heading, warningOrange(), inside));
    }
    header->addStretch(1);
    column->addLayout(header);
    m_text = label(AIText::truncated(outcome.sentence(), shownCharacters), KitFont::font(12),
                   done ? white(0.85) : warningOrange(), inside, true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    column->addWidget(m_text);
    outer->addWidget(panelSurface(inside, done ? accent() : warningOrange()));
}

} // namespace tessaron
