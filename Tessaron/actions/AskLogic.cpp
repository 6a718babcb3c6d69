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
    if (messageCount == 1)
        return L10n::t("%@ · 1 message read", L10n::isolated(topicName));
    return L10n::t("%@ · %d messages read", L10n::isolated(topicName), messageCount);
}

bool canAsk(const QString& question, bool thinking) { return !thinking && !TextRules::trimmed(question).isEmpty(); }

namespace {

// What of the read goes along, counted so that one message or one group reads as one.
QString messagesPhrase(qsizetype sent, qsizetype messageCount)
{
    if (messageCount == 1)
        return L10n::t("the one message he read with its headers");
    return L10n::t("the newest %d of the %d messages he read with their headers", sent, messageCount);
}

QString groupsPhrase(qsizetype groupCount)
{
    if (groupCount == 1)
        return L10n::t("the broker's one consumer group");
    return L10n::t("the broker's %d consumer groups", groupCount);
}

} // namespace

QString sendNotice(qsizetype messageCount, std::optional<qsizetype> groupCount, const Tool& tool)
{
    const QString messages = messagesPhrase(std::min<qsizetype>(messageCount, sampleSize), messageCount);
    if (!groupCount) {
        switch (tool.state) {
        case Tool::named:
            return L10n::t("Your question, this topic's figures and shape comparison, and %@ — to %@, signed in on "
                           "this computer, which sends them to its own service. The consumer groups couldn't be "
                           "listed, so it hears that, not a number. Nothing leaves your machine for a service "
                           "Tessaron chose.",
                           messages, tool.name);
        case Tool::none:
            return L10n::t("Your question, this topic's figures and shape comparison, and %@ would go to an AI CLI "
                           "signed in on this computer, to its own service, saying the consumer groups couldn't be "
                           "listed. None is installed, so nothing will leave.",
                           messages);
        case Tool::lookingUp:
            break;
        }
        return L10n::t("Your question, this topic's figures and shape comparison, and %@ — to the AI CLI signed in "
                       "on this computer, which sends them to its own service. The consumer groups couldn't be "
                       "listed, so it hears that, not a number. Nothing leaves your machine for a service Tessaron "
                       "chose.",
                       messages);
    }
    const QString groups = groupsPhrase(*groupCount);
    switch (tool.state) {
    case Tool::named:
        return L10n::t("Your question, this topic's figures and shape comparison, %@, and %@ — to %@, signed in on "
                       "this computer, which sends them to its own service. Nothing leaves your machine for a "
                       "service Tessaron chose.",
                       groups, messages, tool.name);
    case Tool::none:
        return L10n::t("Your question, this topic's figures and shape comparison, %@, and %@ would go to an AI CLI "
                       "signed in on this computer, to its own service. None is installed, so nothing will leave.",
                       groups, messages);
    case Tool::lookingUp:
        break;
    }
    return L10n::t("Your question, this topic's figures and shape comparison, %@, and %@ — to the AI CLI signed in "
                   "on this computer, which sends them to its own service. Nothing leaves your machine for a service "
                   "Tessaron chose.",
                   groups, messages);
}

} // namespace tessaron::AskLogic
