#include "Tessaron/casework/NotesLogic.h"

#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/MessageAddress.h"

#include <QSet>

#include <algorithm>

namespace tessaron::NotesLogic {

QString verdictWord(const ShapeVerdict& verdict)
{
    switch (verdict.tag()) {
    case ShapeVerdict::Case::consistent:
        return loc("No objection.");
    case ShapeVerdict::Case::noMajority:
        return loc("No winner.");
    case ShapeVerdict::Case::drift:
        return loc("Objection.");
    case ShapeVerdict::Case::notEnoughEvidence:
    case ShapeVerdict::Case::nothingToCompare:
        break;
    }
    return loc("Read.");
}

QString shapeVerdictSentence(const ShapeVerdict& verdict, const QList<Message>& messages, const Broker& broker)
{
    switch (verdict.tag()) {
    case ShapeVerdict::Case::notEnoughEvidence:
        return L10n::t("Only %d readable here — too few to call a pattern. I can still show you what's in them.",
                       verdict.sampled());
    case ShapeVerdict::Case::consistent:
        return L10n::t("All %d agree on their shape. Whatever went wrong here, it wasn't the format.",
                       verdict.sampled());
    case ShapeVerdict::Case::noMajority:
        return L10n::t("%d shapes across %d messages and none of them a majority. I won't crown one.",
                       verdict.distinctShapes(), verdict.sampled());
    case ShapeVerdict::Case::drift: {
        const ShapeVerdict::Drift drift = *verdict.driftDetail();
        const QString field = drift.differences.isEmpty() ? QString() : L10n::isolated(drift.differences.first().field);
        if (drift.outlierCount() == 1)
            return L10n::t("One of the %d disagrees with the rest — on %@. Start there.", drift.sampled, field);
        return L10n::t("%d of the %d disagree with the rest — on %@. Start with those.", drift.outlierCount(),
                       drift.sampled, field);
    }
    case ShapeVerdict::Case::nothingToCompare:
        break;
    }
    if (messages.isEmpty())
        return loc("Nothing retained to read.");
    const bool allAvro = std::all_of(messages.cbegin(), messages.cend(), [](const Message& m) {
        return m.payloadKind().tag() == PayloadKind::avroConfluent;
    });
    if (allAvro) {
        const QString registry = broker.schemaRegistryURL;
        qsizetype from = 0, to = registry.size();
        auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
        while (from < to && blank(registry[from]))
            ++from;
        while (to > from && blank(registry[to - 1]))
            --to;
        if (from == to && messages.size() == 1)
            return loc("1 Avro message and no Schema Registry to read it with. Add one on the broker's form and I'll "
                       "open it.");
        if (from == to)
            return L10n::t("%d Avro messages and no Schema Registry to read them with. Add one on the broker's form "
                           "and I'll open them.",
                           messages.size());
        if (messages.size() == 1)
            return loc("1 Avro message the registry couldn't read for me. Its row says why.");
        return L10n::t("%d Avro messages the registry couldn't read for me. Each row says why.", messages.size());
    }
    return loc("Nothing here I can compare — tombstones, binary, or JSON that isn't an object. I'll show what I "
               "have.");
}

QList<Message> outliers(const ShapeVerdict& verdict, const QList<Message>& messages, qsizetype limit)
{
    QList<Message> found;
    const std::optional<ShapeVerdict::Drift> drift = verdict.driftDetail();
    if (!drift)
        return found;
    const QSet<QString> ids(drift->outlierIDs.cbegin(), drift->outlierIDs.cend());
    for (const Message& message : messages) {
        if (found.size() >= limit)
            break;
        if (ids.contains(message.id()))
            found.append(message);
    }
    return found;
}

std::optional<QString> outliersMoreLine(const ShapeVerdict& verdict)
{
    const std::optional<ShapeVerdict::Drift> drift = verdict.driftDetail();
    // The drift's own count, not how many outliers the list still holds.
    if (!drift || drift->outlierCount() <= 5)
        return std::nullopt;
    return L10n::t("…and %d more, marked in the list.", drift->outlierCount() - 5);
}

int exhibitNumber(const Message& message, const QList<Message>& messages)
{
    const qsizetype at = MessageAddress::of(message).indexIn(messages);
    return at < 0 ? 1 : int(at + 1);
}

QString keyText(const Message& message) { return message.keyString().value_or(QStringLiteral("\u2205")); }

QString placeText(const Message& message)
{
    return CaseworkLogic::partitionName(message.partition()) + QStringLiteral("\u00B7")
        + QString::number(message.offset());
}

KeyCard keyCard(const QList<Message>& messages, const QList<Partition>& partitions, bool queue)
{
    return keyCard(messages, KeyShareEstimate::estimate(messages, partitions), queue);
}

KeyCard keyCard(const QList<Message>& messages, const KeyShareEstimate::Result& estimate, bool queue)
{
    KeyCard card;
    const QList<KeyShare> top = estimate.ranked.mid(0, 4);
    const double topShare = top.isEmpty() ? 0.0 : top.first().share;
    card.hot = !queue && topShare >= 0.5 && estimate.keyed >= 10;
    card.tone = card.hot ? Tone::warning : Tone::neutral;
    if (messages.isEmpty()) {
        card.sentence = loc("Nothing read yet.");
        return card;
    }
    if (queue && estimate.keyed == 0) {
        card.sentence = loc("No routing key on any of these.");
        return card;
    }
    if (estimate.keyed == 0) {
        card.sentence = loc("No keys on any of these. Without a key the partitioner deals round-robin, so where a "
                            "message landed is luck, not a choice.");
        return card;
    }
    // Messages without a key (or with one that isn't text) are counted apart: "every one" would
    // speak for them too.
    const qsizetype unkeyed = std::max<qsizetype>(0, messages.size() - estimate.keyed);
    if (estimate.allUnique && unkeyed == 1) {
        card.sentence = estimate.keyed == 1
            ? loc("One has a key; the other has none I can read. Nothing is crowding a partition.")
            : L10n::t("%d have a key each, no repeats; the other one has none I can read. Nothing is crowding a "
                      "partition.",
                      estimate.keyed);
        return card;
    }
    if (estimate.allUnique && unkeyed > 0) {
        card.sentence = estimate.keyed == 1
            ? L10n::t("One has a key; the other %d have none I can read. Nothing is crowding a partition.", unkeyed)
            : L10n::t("%d have a key each, no repeats; the other %d have none I can read. Nothing is crowding a "
                      "partition.",
                      estimate.keyed, unkeyed);
        return card;
    }
    if (estimate.allUnique) {
        card.sentence = L10n::t("Every one has its own key — %d of them, no repeats. Nothing is crowding a partition.",
                                estimate.keyed);
        return card;
    }
    for (qsizetype i = 0; i < top.size(); ++i) {
        const KeyShare& share = top[i];
        card.rows.append({share.key, L10n::t("seen %d", share.seen),
                          QStringLiteral("~%1%").arg(CaseworkLogic::wholePercent(share.share)),
                          card.hot && share.key == top.first().key});
    }
    if (queue)
        card.crowding = topShare >= 0.5
            ? L10n::t("One routing key is on about %d%% of these — in a queue that says who sent them, not where "
                      "they pile up.",
                      CaseworkLogic::wholePercent(topShare))
            : loc("No single routing key stands out in this queue.");
    else
        card.crowding = card.hot ? L10n::t("One key is carrying about %d%% of this topic. That is usually what a hot "
                                           "partition looks like from the inside.",
                                           CaseworkLogic::wholePercent(topShare))
                                 : loc("No single key is crowding this topic.");
    card.footnote = estimate.weighted
        ? L10n::t("Estimated from the %d read, weighted by what each partition holds — the tail is "
                  "read per partition, so a flat count would call a quiet partition as loud as a busy "
                  "one.",
                  estimate.keyed)
        : L10n::t("From the %d read with a key. Says nothing about the ones I haven't.", estimate.keyed);
    return card;
}

} // namespace tessaron::NotesLogic
