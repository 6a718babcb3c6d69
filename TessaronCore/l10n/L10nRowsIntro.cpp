// Rows of the first-run introduction.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsIntro()
{
    static const L10nRow table[] = {
        {"Go on, boop the badge. It's in my contract.", "Vai, dá um boop no crachá. Tá no meu contrato."},
        {"Squeaky offsets.", "Offsets que fazem barulhinho."},
        {"You bring the queues. I bring the nose.\nTogether we close cases.",
         "Você traz as filas. Eu trago o faro.\nJuntos a gente fecha casos."},
        {"I WANT TO BELIEVE", "EU QUERO ACREDITAR"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
