#include "Tessaron/intro/IntroLogic.h"

#include "Tessaron/kit/BuildInfo.h"
#include "TessaronCore/analysis/ShapeDrift.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinAI/AICLI.h"

namespace tessaron::intro {

QString runningVersion() { return BuildInfo::version(); }

QString caption(int boops, int distractions)
{
    if (distractions > 0)
        return L10n::t("Sorry. You were saying something about distributed systems?");
    switch (((boops % 4) + 4) % 4) {
    case 1:
        return L10n::t("That counts as a billable cuddle.");
    case 2:
        return L10n::t("I was told there would be a signing bone-us.");
    case 3:
        return L10n::t("Okay. You're my favorite client now.");
    default:
        return L10n::t("Go on, boop the badge. It's in my contract.");
    }
}

const QStringList& demoTotals()
{
    static const QStringList totals{QStringLiteral("19.90"), QStringLiteral("25.00"), QStringLiteral("\"19.90\""),
                                    QStringLiteral("42.00")};
    return totals;
}

const QList<Message>& demoMessages()
{
    static const QList<Message> messages = [] {
        QList<Message> list;
        for (int i = 0; i < demoTotals().size(); ++i) {
            const QByteArray payload = "{\"total\":" + demoTotals().at(i).toUtf8() + ",\"paid\":true}";
            list.append(Message(QStringLiteral("demo.orders"), 0, 128 + i, std::nullopt, payload, std::nullopt, {}));
        }
        return list;
    }();
    return messages;
}

const ShapeVerdict& demoVerdict()
{
    static const ShapeVerdict verdict = ShapeDrift::verdict(demoMessages());
    return verdict;
}

bool isCulprit(int index)
{
    if (index < 0 || index >= demoMessages().size())
        return false;
    const auto drift = demoVerdict().driftDetail();
    return drift && drift->outlierIDs.contains(demoMessages().at(index).id());
}

bool CaseState::pick(int index)
{
    selected = index;
    if (!isCulprit(index) || solved)
        return false;
    solved = true;
    ++strikes;
    return true;
}

QString caseRow(bool solved)
{
    return solved ? L10n::t("First case: solved.") : L10n::t("First case: waiting for your instincts.");
}

QString brokerRow(const std::optional<Broker>& saved)
{
    return saved ? L10n::t("Broker on file: %@", L10n::isolated(saved->name))
                 : L10n::t("Your broker can join us later.");
}

QString backupRow(const QString& provider)
{
    if (provider == QStringLiteral("auto"))
        return L10n::t("Backup: automatic selection.");
    const auto cli = AICLI::fromRawValue(provider);
    return L10n::t("Backup: %@", cli ? cli->displayName() : provider);
}

Broker ConnectionDraft::broker() const
{
    Broker b;
    b.id = QUuid::createUuid();
    b.name = name.trimmed().isEmpty() ? QStringLiteral("Local") : name.trimmed();
    b.kind = kind;
    b.bootstrap = address.trimmed();
    b.security = kind == BrokerKind::rabbitmq ? BrokerSecurity::saslPlaintext : BrokerSecurity::plaintext;
    b.saslMechanism = QStringLiteral("PLAIN");
    b.username = kind == BrokerKind::rabbitmq ? username : QString();
    return b;
}

std::optional<QString> ConnectionDraft::secret() const
{
    if (kind == BrokerKind::rabbitmq)
        return password;
    return std::nullopt;
}

bool ConnectionDraft::canTest() const
{
    if (address.trimmed().isEmpty())
        return false;
    return kind != BrokerKind::rabbitmq || !username.isEmpty();
}

bool ConnectionDraft::matches(const Broker& candidate, const std::optional<QString>& secret) const
{
    const Broker now = broker();
    return now.name == candidate.name && now.bootstrap == candidate.bootstrap && now.kind == candidate.kind
        && now.username == candidate.username && this->secret() == secret;
}

} // namespace tessaron::intro
