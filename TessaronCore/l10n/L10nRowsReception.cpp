// Rows of the reception and the broker form.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsReception()
{
    static const L10nRow table[] = {
        {"Virtual host", "Host virtual"},
        {"Key passphrase", "Senha da chave"},
        {"Schema Registry", "Registro de schemas"},
        {"SIGNED", "ASSINADO"},
        {"Bootstrap servers", "Servidores de bootstrap"},
        {nullptr, nullptr},
    };
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
