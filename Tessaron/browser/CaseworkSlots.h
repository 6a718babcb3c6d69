#pragma once

#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/Topic.h"

class QWidget;

namespace tessaron {

class AppState;
class BrokerSession;

// The one place where the browser meets the case-notes views (briefing, case notes, skew chart,
// verdict bar). A factory may return nullptr, and the browser then leaves that spot out; the
// update calls accept nullptr.
namespace CaseworkSlots {

// Shown in the pane's body while no topic is current.
QWidget* briefing(AppState* app, BrokerSession* session, QWidget* parent);
// Shown in the exhibit column while no message is selected.
QWidget* topicNotes(AppState* app, BrokerSession* session, QWidget* parent);
// Under the read row of the header.
QWidget* skewChart(BrokerSession* session, QWidget* parent);
void showSkew(QWidget* chart, const Topic& topic);
// Under the skew chart; the strikes make the gavel strike.
QWidget* verdictBar(BrokerSession* session, QWidget* parent);
void showVerdict(QWidget* bar, const ShapeVerdict& verdict, int strikes);

} // namespace CaseworkSlots
} // namespace tessaron
