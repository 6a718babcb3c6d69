#include "Tessaron/actions/AskLogic.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"

#include <algorithm>

namespace tessaron::AskLogic {

QStringList suggestions()
{
    return {QStringLiteral("What is this topic for?"), QStringLiteral("What do these messages have in common?"),
            QStringLiteral("Why would a consumer reject these?"),
            QStringLiteral("Is anything here malformed or suspicious?")};
}

QString subtitle(const QString& topicName, qsizetype messageCount)
{
    return L10n::t("%@ · %d messages read", L10n::isolated(topicName), messageCount);
}

bool canAsk(const QString& question, bool thinking) { return !thinking && !TextRules::trimmed(question).isEmpty(); }

QString sendNotice(qsizetype messageCount, std::optional<qsizetype> groupCount, const Tool& tool)
{
    const qsizetype sent = std::min<qsizetype>(messageCount, sampleSize);
    if (!groupCount) {
        switch (tool.state) {
        case Tool::named:
            return L10n::t("Your question, this topic's figures and shape comparison, and the newest %d of the %d "
                           "messages he read with their headers — to %@, signed in on this computer, which sends "
                           "them to its own service. The consumer groups couldn't be listed, so it hears that, not "
                           "a number. Nothing leaves your machine for a service Tessaron chose.",
                           sent, messageCount, tool.name);
        case Tool::none:
            return L10n::t("Your question, this topic's figures and shape comparison, and the newest %d of the %d "
                           "messages he read with their headers would go to an AI CLI signed in on this computer, to "
                           "its own service, saying the consumer groups couldn't be listed. None is installed, so "
                           "nothing will leave.",
                           sent, messageCount);
        case Tool::lookingUp:
            break;
        }
        return L10n::t("Your question, this topic's figures and shape comparison, and the newest %d of the %d messages "
                       "he read with their headers — to the AI CLI signed in on this computer, which sends them to "
                       "its own service. The consumer groups couldn't be listed, so it hears that, not a number. "
                       "Nothing leaves your machine for a service Tessaron chose.",
                       sent, messageCount);
    }
    switch (tool.state) {
    case Tool::named:
        return L10n::t("Your question, this topic's figures and shape comparison, the broker's %d consumer groups, "
                       "and the newest %d of the %d messages he read with their headers — to %@, signed in on this "
                       "computer, which sends them to its own service. Nothing leaves your machine for a service "
                       "Tessaron chose.",
                       *groupCount, sent, messageCount, tool.name);
    case Tool::none:
        return L10n::t("Your question, this topic's figures and shape comparison, the broker's %d consumer groups, "
                       "and the newest %d of the %d messages he read with their headers would go to an AI CLI signed "
                       "in on this computer, to its own service. None is installed, so nothing will leave.",
                       *groupCount, sent, messageCount);
    case Tool::lookingUp:
        break;
    }
    return L10n::t("Your question, this topic's figures and shape comparison, the broker's %d consumer groups, and "
                   "the newest %d of the %d messages he read with their headers — to the AI CLI signed in on this "
                   "computer, which sends them to its own service. Nothing leaves your machine for a service "
                   "Tessaron chose.",
                   *groupCount, sent, messageCount);
}

} // namespace tessaron::AskLogic
