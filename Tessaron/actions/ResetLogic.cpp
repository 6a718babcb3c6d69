#include "Tessaron/actions/ResetLogic.h"

#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/TextRules.h"

#include <QLocale>
#include <algorithm>
#include <QStringList>

namespace tessaron::ResetLogic {

namespace {

QString partitionList(const QList<Partition>& partitions)
{
    QStringList names;
    for (const Partition& p : partitions)
        names << QStringLiteral("p%1").arg(p.id);
    return names.join(QStringLiteral(", "));
}

QString grouped(int64_t value) { return L10n::interfaceLocale().toString(qlonglong(value)); }

} // namespace

std::optional<int64_t> parseTarget(const QString& text)
{
    qsizetype at = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        at = 1;
    }
    if (at == text.size())
        return std::nullopt;
    // Accumulated as a negative number, whose range reaches one further than the positive one.
    int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c - u'0';
        if (value < (INT64_MIN + digit) / 10)
            return std::nullopt;
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    if (value == INT64_MIN)
        return std::nullopt;
    return -value;
}

std::optional<Topic> effectiveTopic(const std::optional<Topic>& given, const std::optional<Topic>& current)
{
    return given ? given : current;
}

QList<Partition> pastEnd(const std::optional<Topic>& topic, const QString& target)
{
    QList<Partition> found;
    const std::optional<int64_t> value = parseTarget(target);
    if (!topic || !value)
        return found;
    for (const Partition& p : topic->partitions) {
        if (!p.error && p.high < *value)
            found.append(p);
    }
    return found;
}

QList<Partition> beforeStart(const std::optional<Topic>& topic, const QString& target)
{
    QList<Partition> found;
    const std::optional<int64_t> value = parseTarget(target);
    if (!topic || !value || *value < 0)
        return found;
    for (const Partition& p : topic->partitions) {
        if (!p.error && p.low > *value)
            found.append(p);
    }
    return found;
}

QString pastEndWarning(const QList<Partition>& partitions)
{
    if (partitions.isEmpty())
        return {};
    if (partitions.size() == 1)
        return L10n::t("Past the end of p%d, which ends at %@. Kafka will accept it; the consumer's next read is out "
                       "of range, and its auto.offset.reset decides what happens — \"latest\" skips everything.",
                       partitions.first().id, grouped(partitions.first().high));
    return L10n::t("Past the end of %d partitions (%@). Kafka will accept it; each consumer's next read is out of "
                   "range, and its auto.offset.reset decides what happens — \"latest\" skips everything.",
                   partitions.size(), partitionList(partitions));
}

QString beforeStartWarning(const QList<Partition>& partitions)
{
    if (partitions.isEmpty())
        return {};
    int64_t latest = partitions.first().low;
    for (const Partition& p : partitions)
        latest = std::max(latest, p.low);
    if (partitions.size() == 1)
        return L10n::t("Before the start of p%d, which now begins at %@: its older messages were deleted, so that "
                       "offset no longer exists. Type %@ or more, or choose “The beginning”.",
                       partitions.first().id, grouped(partitions.first().low), QString::number(latest));
    return L10n::t("Before the start of %d partitions (%@): their older messages were deleted, so that offset no "
                   "longer exists. Type %@ or more, or choose “The beginning”.",
                   partitions.size(), partitionList(partitions), QString::number(latest));
}

QString negativeRefusal(const QString& target)
{
    const std::optional<int64_t> value = parseTarget(target);
    if (!value || *value >= 0)
        return {};
    return L10n::t("An offset can't be negative. Type 0 or more, or choose “The beginning”.");
}

bool canMove(const QString& target, const std::optional<Topic>& topic, const QString& reason, bool working,
             bool fromBeginning)
{
    if (!topic || TextRules::trimmed(reason).isEmpty() || working)
        return false;
    if (fromBeginning)
        return true;
    const std::optional<int64_t> value = parseTarget(target);
    return value && *value >= 0 && beforeStart(topic, target).isEmpty();
}

QString subtitle(const ConsumerGroup& group) { return group.id + QStringLiteral(" · ") + group.state.toUpper(); }

QString scopeLine(const std::optional<Topic>& topic, bool fromBeginning)
{
    if (!topic)
        return L10n::t("There is no topic to move the position on.");
    const bool one = topic->partitions.size() == 1;
    if (one)
        return fromBeginning ? L10n::t("The one partition of %@ moves to its start, read from the broker when you move "
                                       "it.",
                                       L10n::isolated(topic->name))
                             : L10n::t("Applies to the one partition of %@.", L10n::isolated(topic->name));
    if (fromBeginning)
        return L10n::t("Each of the %d partitions of %@ moves to its own start, read from the broker when you move it.",
                       topic->partitions.size(), L10n::isolated(topic->name));
    return L10n::t("Applies to all %d partitions of %@.", topic->partitions.size(), L10n::isolated(topic->name));
}

bool groupIsEmpty(const ConsumerGroup& group) { return group.state == QStringLiteral("Empty"); }

QString groupStateLine(const ConsumerGroup& group)
{
    if (groupIsEmpty(group))
        return L10n::t("Nobody is consuming this group, so nothing will fight you.");
    return L10n::t("%@ is %@ — Tessaron will refuse. Stop its consumers first: a running group reprocesses "
                   "everything and commits over the change within seconds.",
                   L10n::isolated(group.id), group.state);
}

} // namespace tessaron::ResetLogic
