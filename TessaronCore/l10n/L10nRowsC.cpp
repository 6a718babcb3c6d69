// English key, Portuguese translation. Placeholders stay the same and in the same order.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

namespace {
const L10nRow table[] = {
    {"From offset %d",
     "A partir do offset %d"},
    {"%lld across %d partitions — too few to call the spread.",
     "%lld em %d partições — pouco demais para opinar sobre a distribuição."},
    {"p%d is holding %d%% of it.",
     "A p%d está segurando %d%% de tudo."},
    {"p%d — %lld retained (%d%%)",
     "p%d — %lld retidas (%d%%)"},
};
} // namespace

std::span<const L10nRow> rowsC()
{
    return {table, std::size(table)};
}

} // namespace tessaron::L10nTable
