#pragma once

#include "TessaronCore/model/JSONKind.h"
#include "VelkinInfra/json/JsonLexis.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// Reads JSON text strictly (RFC 8259, UTF-8) without building a document and lists the field paths
// of a top-level object with their kinds, by the depth rule of message shapes: the members of the
// top level are listed; an object member is listed as `object` and its own members are listed only
// while the next depth stays below `maxDepth`; arrays are never entered.
//
// Reading a sample of a few thousand messages must cost milliseconds, so no value is converted and
// nothing is allocated per message once the buffers have grown. One scanner is reused for many texts.
class JsonShapeScanner {
public:
    struct Entry {
        uint32_t pathStart;
        uint32_t pathLength;
        JSONKind kind;
    };

    // Deeper documents are refused, as every strict reader refuses them.
    static constexpr int nestingLimit = JsonLexis::maxNesting;
    // A text whose listed paths would take more bytes than this many per byte of text, beyond the
    // minimum, is refused: a long key over many short members is hostile, not data.
    static constexpr size_t pathBytesPerTextByte = 16;
    static constexpr size_t minimumPathBudget = size_t(1) << 20;

    // False when the text is not JSON, its top level is not an object, or its paths outgrow the budget. On success `entries` lists
    // every member walked, in document order; a path may repeat when keys repeat.
    bool scan(QByteArrayView json, int64_t maxDepth);

    const std::vector<Entry>& entries() const { return m_entries; }
    std::string_view path(const Entry& e) const { return std::string_view(m_paths).substr(e.pathStart, e.pathLength); }

private:
    struct Frame {
        bool isObject;
        bool records;  // members of this object are listed
        int64_t depth; // walk depth of this object's members
        uint32_t prefixLength;
    };

    bool scanString(const unsigned char*& p, const unsigned char* end, std::string* out);
    static bool scanNumber(const unsigned char*& p, const unsigned char* end);

    std::vector<Entry> m_entries;
    std::string m_paths;
    std::string m_prefix;
    std::string m_key;
    std::vector<Frame> m_stack;
};

} // namespace tessaron
