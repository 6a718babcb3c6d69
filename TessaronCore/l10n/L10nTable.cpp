#include "TessaronCore/l10n/L10nTable.h"

#include <unordered_map>
#include <vector>

namespace tessaron::L10nTable {

std::span<const L10nRow> rows()
{
    static const std::vector<L10nRow> all = [] {
        std::vector<L10nRow> v;
        for (auto part : {rowsShared(), rowsApp(), rowsReception(), rowsWorkspace(), rowsBrowser(), rowsCasework(),
                          rowsActions(), rowsSettings(), rowsIntro(), rowsClients()})
            v.insert(v.end(), part.begin(), part.end());
        return v;
    }();
    return all;
}

const char* portuguese(std::string_view english)
{
    // Built once; the first row of a key wins (the table test rejects a second one).
    static const std::unordered_map<std::string_view, const char*> index = [] {
        std::unordered_map<std::string_view, const char*> map;
        map.reserve(rows().size() * 2);
        for (const L10nRow& row : rows())
            map.emplace(row.english, row.portuguese);
        return map;
    }();
    const auto it = index.find(english);
    return it == index.end() ? nullptr : it->second;
}

} // namespace tessaron::L10nTable
