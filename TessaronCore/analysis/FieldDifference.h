#pragma once

#include "TessaronCore/model/JSONKind.h"
#include "TessaronCore/model/OptionalHash.h"

#include <QString>

#include <optional>

namespace tessaron {

// One way an outlier's shape differs from the majority's at one field path. An absent kind means
// that side has no such path; in a verdict the two kinds are never equal and never both absent.
struct FieldDifference {
    QString field;
    std::optional<JSONKind> majority;
    std::optional<JSONKind> outlier;

    friend bool operator==(const FieldDifference&, const FieldDifference&) = default;
};

inline size_t qHash(const FieldDifference& d, size_t seed = 0)
{
    return qHashMulti(seed, d.field, qHashOptional(d.majority), qHashOptional(d.outlier));
}

} // namespace tessaron
