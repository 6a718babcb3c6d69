// Rows of the workspace and its sidebar.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsWorkspace()
{
    static const L10nRow table[] = {
        {"Broker", "O broker"},
        {"Namespace", "Espaço de nomes"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
