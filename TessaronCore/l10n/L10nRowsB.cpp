// English key, Portuguese translation. Placeholders stay the same and in the same order.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

namespace {
const L10nRow table[] = {
    {"No two agree — %d shapes across %d messages. Tessaron won't pick a winner.",
     "Nenhuma concorda — %d formatos em %d mensagens. O Tessaron não vai escolher um vencedor."},
    {"%d of %d disagree with the rest",
     "%d de %d discordam das demais"},
    {"…and %d more differences",
     "…e mais %d diferenças"},
    {"is %@ here, %@ in the rest",
     "é %@ aqui, %@ nas demais"},
    {"Filed on %@. The broker acknowledged it.",
     "Protocolada em %@. O broker confirmou."},
    {"%@ will resume from offset %d.",
     "%@ vai retomar do offset %d."},
};
} // namespace

std::span<const L10nRow> rowsB()
{
    return {table, std::size(table)};
}

} // namespace tessaron::L10nTable
