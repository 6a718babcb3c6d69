#include "Tessaron/browser/CaseworkSlots.h"

#include "Tessaron/casework/BrokerBriefing.h"
#include "Tessaron/casework/SkewChart.h"
#include "Tessaron/casework/TopicNotes.h"
#include "Tessaron/casework/VerdictBar.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/analysis/PartitionSkew.h"

namespace tessaron::CaseworkSlots {

QWidget* briefing(AppState* app, BrokerSession* session, QWidget* parent)
{
    return new BrokerBriefing(app, session, parent);
}

QWidget* topicNotes(AppState* app, BrokerSession* session, QWidget* parent)
{
    return new TopicNotes(app, session, parent);
}

QWidget* skewChart(BrokerSession*, QWidget* parent) { return new SkewChart(SkewVerdict::nothingToCompare(), parent); }

void showSkew(QWidget* chart, const Topic& topic)
{
    // The verdict is worked out from the topic as listed, every time the header shows it.
    if (auto* skew = qobject_cast<SkewChart*>(chart))
        skew->setVerdict(PartitionSkew::verdict(topic));
}

QWidget* verdictBar(BrokerSession* session, QWidget* parent)
{
    return new VerdictBar(session->shapeVerdict(), session->gavelStrikes(), parent);
}

void showVerdict(QWidget* bar, const ShapeVerdict& verdict, int strikes)
{
    if (auto* verdictBar = qobject_cast<VerdictBar*>(bar))
        verdictBar->setVerdict(verdict, strikes);
}

} // namespace tessaron::CaseworkSlots
