#include "Tessaron/state/AskTopic.h"

#include "VelkinAI/AIError.h"
#include "VelkinAI/AIProvider.h"
#include "VelkinAI/AIText.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QStringList>

namespace tessaron {

namespace {

const char* const instructions =
    "You are helping a developer understand a Kafka topic inside Tessaron MQ, a Linux client. Answer the question "
    "from the evidence below and nothing else.\n\n"
    "Rules, in order of importance:\n"
    "1. If the evidence does not answer the question, say so plainly and say what would answer it. Never guess at "
    "message volume, timing, or a producer's intent.\n"
    "2. The sample is the tail of the topic, not the whole of it. Do not generalise about history you cannot see.\n"
    "3. Tessaron has already compared the shapes of these messages arithmetically; that result is given below as a "
    "fact. Do not contradict it or re-derive it.\n"
    "4. Be short. Three sentences unless asked for more. No preamble, no restating the question, no markdown headings.";

// Cuts a text that would otherwise grow the prompt without bound.
QString capped(const QString& text, int characters)
{
    return text.size() > characters ? text.left(characters) + QStringLiteral("\u2026") : text;
}

QStringList verdictLines(const ShapeVerdict& verdict)
{
    QStringList lines;
    const ShapeVerdict::Case tag = verdict.tag();
    if (tag == ShapeVerdict::Case::notEnoughEvidence) {
        lines << QStringLiteral("only %1 readable messages \u2014 too few to call a pattern").arg(verdict.sampled());
    } else if (tag == ShapeVerdict::Case::consistent) {
        lines << QStringLiteral("all %1 sampled messages share one shape").arg(verdict.sampled());
    } else if (tag == ShapeVerdict::Case::noMajority) {
        lines << QStringLiteral("%1 different shapes across %2 messages, none a majority")
                     .arg(verdict.distinctShapes())
                     .arg(verdict.sampled());
    } else if (tag == ShapeVerdict::Case::nothingToCompare) {
        lines << QStringLiteral("nothing comparable \u2014 tombstones, binary, or non-object JSON");
    } else if (const std::optional<ShapeVerdict::Drift> drift = verdict.driftDetail()) {
        lines << QStringLiteral("%1 of %2 disagree with the majority shape")
                     .arg(drift->outlierCount())
                     .arg(drift->sampled);
        const qsizetype considered = std::min<qsizetype>(5, drift->differences.size());
        for (qsizetype i = 0; i < considered; ++i) {
            const FieldDifference& d = drift->differences.at(i);
            const QString field = capped(d.field, AskTopic::maxKeyCharacters);
            if (!d.majority && d.outlier)
                lines << QStringLiteral("  %1: only present in the outliers, as %2").arg(field, d.outlier->rawValue());
            else if (d.majority && !d.outlier)
                lines << QStringLiteral("  %1: missing from the outliers, %2 in the rest")
                             .arg(field, d.majority->rawValue());
            else if (d.majority && d.outlier)
                lines << QStringLiteral("  %1: %2 in the outliers, %3 in the rest")
                             .arg(field, d.outlier->rawValue(), d.majority->rawValue());
        }
    }
    return lines;
}

QStringList messageLines(const Message& message, int excerpt)
{
    QString heading = QStringLiteral("p%1@%2").arg(message.partition()).arg(message.offset());
    if (const auto key = message.keyString())
        heading += QStringLiteral(" key=") + capped(*key, AskTopic::maxKeyCharacters);
    if (message.timestamp())
        heading += QStringLiteral(" at=") + message.timestamp()->toUTC().toString(Qt::ISODate);
    QStringList lines{heading};

    const PayloadKind kind = message.payloadKind();
    if (kind.tag() == PayloadKind::tombstone) {
        lines << QStringLiteral("  <tombstone \u2014 this key is deleted>");
    } else if (kind.tag() == PayloadKind::avroConfluent) {
        lines << QStringLiteral("  <Avro, schema %1, not decoded: %2>")
                     .arg(*kind.schemaID())
                     .arg(capped(message.decodeFailure().value_or(QStringLiteral("no Schema Registry configured")),
                                 AskTopic::maxHeaderCharacters));
    } else if (const auto text = message.payloadString()) {
        lines << QStringLiteral("  ") + AIText::truncated(*text, excerpt);
    } else {
        lines << QStringLiteral("  <%1 bytes, not text>").arg(message.payload()->size());
    }
    const QList<Message::Header>& headers = message.headers();
    for (qsizetype i = 0; i < std::min<qsizetype>(6, headers.size()); ++i) {
        const std::optional<QString> value = decodeUtf8(headers[i].value);
        lines << QStringLiteral("  \u00b7 ") + capped(headers[i].name, AskTopic::maxKeyCharacters)
                + QStringLiteral(": ")
                + (value ? capped(*value, AskTopic::maxHeaderCharacters) : QStringLiteral("<binary>"));
    }
    return lines;
}

QString build(const QString& question, const AskTopic::Evidence& evidence, qsizetype sample)
{
    QStringList lines{QString::fromUtf8(instructions)};
    lines << QStringLiteral("\nTOPIC: ") + evidence.topic.name;
    lines << QStringLiteral("partitions: %1").arg(evidence.topic.partitions.size());
    lines << QStringLiteral("messages retained (not total ever produced): %1").arg(evidence.topic.retained());
    if (evidence.topic.looksLikeDeadLetter())
        lines << QStringLiteral("named like a dead-letter queue");
    if (!evidence.groups.isEmpty()) {
        QStringList groups;
        qsizetype length = 0;
        for (qsizetype i = 0; i < evidence.groups.size(); ++i) {
            const ConsumerGroup& g = evidence.groups[i];
            const QString entry =
                capped(g.id, AskTopic::maxKeyCharacters) + QStringLiteral(" (") + capped(g.state, 64) + u')';
            if (length + entry.size() > AskTopic::maxGroupListCharacters) {
                groups << QStringLiteral("and %1 more").arg(evidence.groups.size() - i);
                break;
            }
            length += entry.size() + 2;
            groups << entry;
        }
        lines << QStringLiteral("\nCONSUMER GROUPS: ") + groups.join(QStringLiteral(", "));
    } else if (evidence.groupsUnseen) {
        lines << QStringLiteral("\nCONSUMER GROUPS: could not be listed (unknown, not none)");
    }
    lines << QStringLiteral("\nSHAPE COMPARISON (computed by Tessaron, authoritative):");
    lines << verdictLines(evidence.verdict);
    lines << QStringLiteral("\nSAMPLE (newest first, %1 of %2 read):").arg(sample).arg(evidence.messages.size());
    for (qsizetype i = 0; i < sample; ++i)
        lines << messageLines(evidence.messages[i], evidence.excerpt);
    lines << QStringLiteral("\nQUESTION: ") + question;
    return lines.join(u'\n');
}

} // namespace

QString AskTopic::prompt(const QString& question, const Evidence& evidence)
{
    const QString asked = capped(question, maxQuestionCharacters);
    qsizetype sample = std::min<qsizetype>(std::max(evidence.sampleSize, 0), evidence.messages.size());
    QString text = build(asked, evidence, sample);
    // Long characters can still overflow one argument: give up the oldest sampled messages first.
    while (text.toUtf8().size() > maxPromptBytes && sample > 0)
        text = build(asked, evidence, --sample);
    if (text.toUtf8().size() > maxPromptBytes)
        text = build(capped(asked, 1000), evidence, 0);
    return text;
}

QCoro::Task<QString> AskTopic::ask(QString question, Evidence evidence)
{
    const QString text = prompt(question, evidence);
    const AIProvider provider(PrefsStore(QStringLiteral("tessaron"), UserDefaults::standard()));
    const std::optional<AICLI> cli = co_await provider.resolveBackend();
    if (!cli)
        throw AIError::makeNoProvider();
    const QString answer = co_await provider.run(text, *cli);
    co_return AIText::stripFences(answer);
}

} // namespace tessaron
