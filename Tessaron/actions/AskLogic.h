#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace tessaron {

// What the Ask sheet decides, without widgets: the suggested questions, the subtitle, when it may
// ask, and the notice of what leaves the computer.
namespace AskLogic {

// How many of the newest messages go with a question.
constexpr int sampleSize = 12;

// The four suggestions, unlocalised (they are the localisation keys).
QStringList suggestions();
QString subtitle(const QString& topicName, qsizetype messageCount);
// Not blank once spaces and tabs are trimmed; a line break counts as text.
bool canAsk(const QString& question, bool thinking);
// Which AI tool a question would go to, as far as the sheet knows yet.
struct Tool {
    enum State { lookingUp, none, named } state = lookingUp;
    QString name; // the display name when named
};
// What is sent and to whom; no group count when the groups could not be listed.
QString sendNotice(qsizetype messageCount, std::optional<qsizetype> groupCount, const Tool& tool);

} // namespace AskLogic

} // namespace tessaron
