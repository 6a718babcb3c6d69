#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace tessaron::JSONTree {

// A strict JSON reader and writer that keeps every number exactly as written (no round trip
// through floating point) and writes objects with their keys sorted, one member per line.
//
// Returns the pretty form of `text` when it is one JSON object or array (surrounding whitespace
// allowed), otherwise nothing.
std::optional<QString> prettyPrinted(QStringView text);

// Whether `text` is exactly one valid JSON value of any kind (surrounding whitespace allowed).
bool isValid(QStringView text);

// Whether `text` holds an unpaired surrogate, which cannot be encoded as UTF-8 without loss.
bool hasUnpairedSurrogate(QStringView text);

} // namespace tessaron::JSONTree
