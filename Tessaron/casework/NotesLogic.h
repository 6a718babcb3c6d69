#pragma once

#include "Tessaron/casework/CaseworkLogic.h"
#include "TessaronCore/analysis/KeyShareEstimate.h"
#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/Message.h"
#include "TessaronCore/model/Partition.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessaron::NotesLogic {

using CaseworkLogic::Tone;

// The heading's word for a verdict: "No objection.", "No winner.", "Objection." or "Read.".
QString verdictWord(const ShapeVerdict& verdict);

// The ruling sentence under the heading. `messages` are those read; `broker` decides between the
// two Avro sentences when every message is undecoded Confluent-framed Avro.
QString shapeVerdictSentence(const ShapeVerdict& verdict, const QList<Message>& messages, const Broker& broker);

// The disagreeing messages among those read, in their order; at most `limit`.
QList<Message> outliers(const ShapeVerdict& verdict, const QList<Message>& messages, qsizetype limit = 5);
// "…and %d more, marked in the list." when the drift counts more than five outliers.
std::optional<QString> outliersMoreLine(const ShapeVerdict& verdict);
// 1 + the index of the message among those read; 1 when it is not there.
int exhibitNumber(const Message& message, const QList<Message>& messages);
// The key as text, or "∅" when there is none or it is not UTF-8.
QString keyText(const Message& message);
// "p3·1042".
QString placeText(const Message& message);

// The "WHO'S SENDING" card.
struct KeyCard {
    struct Row {
        QString key;
        QString seen;    // "seen %d"
        QString percent; // "~42%"
        bool hot = false;
    };
    bool hot = false;
    Tone tone = Tone::neutral;
    std::optional<QString> sentence; // alone, instead of rows, crowding and footnote
    QList<Row> rows;
    QString crowding;
    QString footnote;
};
// Hot when the top share is at least 0.5 over at least 10 keyed messages. Of a RabbitMQ queue
// (`queue`), whose keys are routing keys and which has no partitions to crowd, nothing is hot.
KeyCard keyCard(const QList<Message>& messages, const QList<Partition>& partitions, bool queue = false);
KeyCard keyCard(const QList<Message>& messages, const KeyShareEstimate::Result& estimate, bool queue = false);

} // namespace tessaron::NotesLogic
