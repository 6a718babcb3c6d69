#include "Tessaron/actions/ActionSheets.h"

#include "Tessaron/actions/AskSheet.h"
#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/actions/ResetOffsetsSheet.h"

namespace tessaron::ActionSheets {

QDialog* make(const AppState::Action& action, AppState* app, BrokerSession* session, QWidget* parent)
{
    switch (action.which()) {
    case AppState::Action::produce:
        return new ProduceSheet(action.message(), app, session, parent);
    case AppState::Action::resetOffsets:
        if (!action.group())
            return nullptr;
        return new ResetOffsetsSheet(*action.group(), action.topic(), app, session, parent);
    case AppState::Action::ask:
        return new AskSheet(app, session, parent);
    }
    return nullptr;
}

} // namespace tessaron::ActionSheets
