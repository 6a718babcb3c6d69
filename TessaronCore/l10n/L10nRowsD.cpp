// English key, Portuguese translation. Placeholders stay the same and in the same order.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

namespace {
const L10nRow table[] = {
    {"%d THINGS",
     "%d NOVIDADES"},
    {"seen %d",
     "vi %d"},
};
} // namespace

std::span<const L10nRow> rowsD()
{
    return {table, std::size(table)};
}

} // namespace tessaron::L10nTable
