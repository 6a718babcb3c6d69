#pragma once

#include <QHashFunctions>

#include <optional>

namespace tessaron {

// Hash of an optional value that tells an absent value from any present one.
template <typename T> size_t qHashOptional(const std::optional<T>& value, size_t seed = 0)
{
    return value ? qHashMulti(seed, true, *value) : qHashMulti(seed, false);
}

} // namespace tessaron
