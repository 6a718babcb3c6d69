#pragma once

#include <span>
#include <string_view>

namespace tessaron {

// One row of the built-in translation table: the English text the views show (the key) and its
// Portuguese translation, both UTF-8, with the same placeholders in the same order.
struct L10nRow {
    const char* english;
    const char* portuguese;
};

namespace L10nTable {

// Every row, in table order.
std::span<const L10nRow> rows();
// The Portuguese text of an English key, or nullptr when the text is not a key.
const char* portuguese(std::string_view english);

// The table is kept in one file per family of screens, one for the clients and analyses, and one for
// rows several of them share (each row file ends with a null sentinel row, left out of its span);
// rows() joins them in this order.
std::span<const L10nRow> rowsShared();
std::span<const L10nRow> rowsApp();
std::span<const L10nRow> rowsReception();
std::span<const L10nRow> rowsWorkspace();
std::span<const L10nRow> rowsBrowser();
std::span<const L10nRow> rowsCasework();
std::span<const L10nRow> rowsActions();
std::span<const L10nRow> rowsSettings();
std::span<const L10nRow> rowsIntro();
std::span<const L10nRow> rowsClients();

} // namespace L10nTable
} // namespace tessaron
