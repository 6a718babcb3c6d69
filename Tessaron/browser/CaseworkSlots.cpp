#include "Tessaron/browser/CaseworkSlots.h"

#include <QWidget>

namespace tessaron::CaseworkSlots {

QWidget* briefing(AppState*, BrokerSession*, QWidget*) { return nullptr; }
QWidget* topicNotes(AppState*, BrokerSession*, QWidget*) { return nullptr; }
QWidget* skewChart(BrokerSession*, QWidget*) { return nullptr; }
void showSkew(QWidget*, const Topic&) { }
QWidget* verdictBar(BrokerSession*, QWidget*) { return nullptr; }
void showVerdict(QWidget*, const ShapeVerdict&, int) { }

} // namespace tessaron::CaseworkSlots
