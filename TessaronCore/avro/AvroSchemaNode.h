#pragma once

#include "TessaronCore/avro/AvroSchema.h"

#include <string>
#include <vector>

namespace tessaron {

// The shared box behind an AvroSchema. Besides the payload it keeps what the decoder would otherwise
// recompute for every message: the JSON member names of a record in output order, the quoted enum
// symbols and the fewest bytes a value can take (to refuse block counts the data cannot hold).
struct AvroSchema::Node {
    Type type = Type::Null;
    QString name;
    QList<Field> fields;
    QStringList symbols;
    QList<AvroSchema> children; // items, values, underlying or union branches
    int32_t size = 0;
    LogicalType logical;

    uint64_t minBytes = 0;
    std::vector<std::string> quotedSymbols; // "symbol" as JSON text
    std::vector<std::string> memberKeys;    // "name": per field, as JSON text
    std::vector<int> outputOrder;           // field indexes sorted by name; a repeated name keeps its last field
    bool declaredInOutputOrder = false;     // fields already sorted and unique: write them as they are read

    void prepare();
};

} // namespace tessaron
