#pragma once

#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/Topic.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// What the reset-offsets sheet decides, without widgets: the strict reading of the target, the
// topic it applies to, the warnings, and whether it may move.
namespace ResetLogic {

// An optional single "+" or "-", then decimal digits and nothing else; nothing outside the signed
// 64-bit range.
std::optional<int64_t> parseTarget(const QString& text);
// The topic handed to the sheet, else the one selected in the workspace.
std::optional<Topic> effectiveTopic(const std::optional<Topic>& given, const std::optional<Topic>& current);
// Partitions without an error whose end lies before the target, in the topic's order.
QList<Partition> pastEnd(const std::optional<Topic>& topic, const QString& target);
// Partitions without an error whose retained start lies after a target of 0 or more: their older
// messages were deleted, so the target names an offset that no longer exists.
QList<Partition> beforeStart(const std::optional<Topic>& topic, const QString& target);
// The warning, or nothing when the list is empty.
QString pastEndWarning(const QList<Partition>& partitions);
// The refusal of a target before some partitions' start (the broker would take it, and the
// group's next read would jump wherever its reset policy says), or nothing when the list is empty.
QString beforeStartWarning(const QList<Partition>& partitions);
// The sentence for a target that parses but is negative; nothing otherwise.
QString negativeRefusal(const QString& target);
// A whole target of 0 or more that no partition starts after, or "the beginning" (each partition's
// own start, read when the move is made); a topic; a reason; nothing under way.
bool canMove(const QString& target, const std::optional<Topic>& topic, const QString& reason, bool working,
             bool fromBeginning = false);

QString subtitle(const ConsumerGroup& group);
QString scopeLine(const std::optional<Topic>& topic, bool fromBeginning = false);
// Only "Empty" (exactly) lets a move through.
bool groupIsEmpty(const ConsumerGroup& group);
QString groupStateLine(const ConsumerGroup& group);

} // namespace ResetLogic

} // namespace tessaron
