// Rows of case notes, the consumer group screen and the briefing.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsCasework()
{
    static const L10nRow table[] = {
        {"CONSUMER GROUPS", "GRUPOS DE CONSUMIDORES"},
        {"CAN'T SEE", "NÃO DÁ PRA VER"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
