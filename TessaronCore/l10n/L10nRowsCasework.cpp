// Rows of case notes, the consumer group screen and the briefing.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsCasework()
{
    static const L10nRow table[] = {
        {"One has a key; the other %d have none I can read. Nothing is crowding a partition.",
         "Uma tem chave; as outras %d não têm nenhuma que eu consiga ler. Nada está lotando uma partição."},
        {"%d have a key each, no repeats; the other %d have none I can read. Nothing is crowding a partition.",
         "%d têm uma chave cada, sem repetir; as outras %d não têm nenhuma que eu consiga ler. Nada está lotando uma "
         "partição."},
        {"I couldn't list the consumer groups, so I can't tell you who's reading.",
         "Não consegui listar os grupos de consumidores, então não sei dizer quem está lendo."},
        {"CONSUMER GROUPS", "GRUPOS DE CONSUMIDORES"},
        {"CAN'T SEE", "NÃO DÁ PRA VER"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
