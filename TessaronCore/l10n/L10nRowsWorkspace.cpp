// Rows of the workspace and its sidebar.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsWorkspace()
{
    static const L10nRow table[] = {
        {"I couldn't list the topics on this broker.", "Não consegui listar os tópicos deste broker."},
        {"I couldn't list the queues on this broker.", "Não consegui listar as filas deste broker."},
        {"Broker", "O broker"},
        {"Namespace", "Espaço de nomes"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
