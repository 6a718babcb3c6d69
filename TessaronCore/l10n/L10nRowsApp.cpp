// Rows of the application window, menus, root view and tab bar.
// English key, Portuguese translation, same placeholders in the same order; new rows go above the
// null sentinel.
#include "TessaronCore/l10n/L10nTable.h"

#include <iterator>

namespace tessaron::L10nTable {

std::span<const L10nRow> rowsApp()
{
    // clang-format off
    static const L10nRow table[] = {
        {"Settings…", "Ajustes…"},
        {"Settings", "Ajustes"},
        {"Quit Tessaron MQ", "Sair do Tessaron MQ"},
        {"About Tessaron MQ", "Sobre o Tessaron MQ"},
        {"Check for Updates…", "Procurar atualizações…"},
        {nullptr, nullptr},
    };
    // clang-format on
    return {table, std::size(table) - 1};
}

} // namespace tessaron::L10nTable
