#pragma once

#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/Message.h"

#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace tessaron {

// The shape-drift verdict over the messages just read from one topic or queue.
namespace ShapeDrift {

// The smallest number of shaped messages that gets a verdict about agreement.
inline constexpr qsizetype minimumSample = 4;

// A message's shape is that of its Avro decoding when it carries one, else the shape of its decoded
// JSON, else of its raw payload (depth 2); messages without a shape take no part. Shapes are grouped
// by hash, so a sample costs one pass over the bytes.
ShapeVerdict verdict(const QList<Message>& messages);

class Grouping;

// The shape groups of a list that only grows (a read and its further pages), so that the verdict
// after a page costs the page's scan, not the whole list's. A group is its set of (path, kind)
// pairs, so which group a message joins does not depend on what was added before it; the verdict
// breaks ties by the list's order, so it is the one `verdict` gives for the same list.
class Tally {
public:
    Tally();
    ~Tally();
    Tally(Tally&&) noexcept;
    Tally& operator=(Tally&&) noexcept;

    // Counts the messages in, numbering them from the number returned on, in order.
    int add(const QList<Message>& messages);
    // The verdict over `messages`, which are exactly the messages added so far in any order, with
    // `numbers` the number each got when added, in that order. The identifier of an outlier is
    // worked out once and kept.
    ShapeVerdict verdict(const QList<Message>& messages, const QList<int>& numbers) const;

private:
    std::unique_ptr<Grouping> m_grouping;
    // The group of every message added, by number (-1: no shape).
    std::vector<int> m_groupOf;
    mutable QHash<int, QString> m_outlierIDs;
};

} // namespace ShapeDrift

} // namespace tessaron
