// English key, Portuguese translation. Placeholders stay the same and in the same order.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

namespace {
const L10nRow table[] = {
    {"/ FIRST DAY",
     "/ PRIMEIRO DIA"},
    {"Your broker",
     "Seu broker"},
    {"Broker on file: %@",
     "Broker no arquivo: %@"},
    {"Message %d: %@",
     "Mensagem %d: %@"},
    {"It answered. %d topics or queues found.",
     "Respondeu. %d tópicos ou filas encontrados."},
};
} // namespace

std::span<const L10nRow> rowsA()
{
    return {table, std::size(table)};
}

} // namespace tessaron::L10nTable
