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

// The table is kept in four files (L10nRowsA to L10nRowsD.cpp); rows() joins them in order.
std::span<const L10nRow> rowsA();
std::span<const L10nRow> rowsB();
std::span<const L10nRow> rowsC();
std::span<const L10nRow> rowsD();

} // namespace L10nTable
} // namespace tessaron
