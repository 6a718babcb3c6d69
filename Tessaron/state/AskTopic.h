#pragma once

#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/ConsumerGroup.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Topic.h"

#include <QCoroTask>
#include <QList>
#include <QString>

namespace tessaron {

// Turns a question about one topic or queue into a self-contained prompt for an AI command-line
// tool, and runs it. The prompt carries only what the application itself observed.
class AskTopic {
public:
    AskTopic() = delete;

    struct Evidence {
        Topic topic;
        // Newest first.
        QList<Message> messages;
        ShapeVerdict verdict = ShapeVerdict::nothingToCompare();
        // Every group listed for the broker, not only those reading this topic.
        QList<ConsumerGroup> groups;
        int sampleSize = 12;
        int excerpt = 600;
        // The groups could not be listed: an empty list does not mean there are none.
        bool groupsUnseen = false;
    };

    // Bounds that keep the prompt inside one command-line argument.
    static constexpr int maxKeyCharacters = 200;
    static constexpr int maxHeaderCharacters = 300;
    static constexpr int maxGroupListCharacters = 8000;
    static constexpr int maxQuestionCharacters = 8000;
    static constexpr qsizetype maxPromptBytes = 120 * 1024;

    static QString prompt(const QString& question, const Evidence& evidence);
    // Builds the prompt, runs the chosen or detected tool and returns its answer without fences.
    // Throws AIError (or the runner's launch failure).
    static QCoro::Task<QString> ask(QString question, Evidence evidence);
};

} // namespace tessaron
