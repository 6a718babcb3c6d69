#include "Tessaron/settings/WhatsNewEntry.h"

#include "Tessaron/kit/BuildInfo.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

namespace tessaron {

namespace {

QList<WhatsNewEntry> makeTable()
{
    return {
        {QStringLiteral("0.4.0"),
         QStringLiteral("Avro, read"),
         QStringLiteral("out loud."),
         {
             {"doc.text.magnifyingglass",
              "Tessaron reads Avro now. Give a broker its Schema Registry and every Confluent-framed message opens as "
              "the record it is — timestamps as dates, decimals as numbers, enums by name — instead of five bytes of "
              "header and a shrug."},
             {"hammer.fill",
              "And he objects to it like anything else. Two schemas on one topic is drift, named by the field the new "
              "schema added. The shape he compares is the one the schema declares, so an optional field that is null "
              "here and filled there is one shape, not two."},
             {"doc.questionmark",
              "Without a registry he says so. \"Avro, schema 2\" on the row, the reason on the record — no registry, "
              "the registry is down, the registry has never heard of that id — each a different sentence, because "
              "each sends you somewhere different."},
             {"hand.raised.fill",
              "One thing he won't do: file a decoded record back. That would put JSON on a topic every consumer reads "
              "as Avro, and the corrected copy would be the broken message. He refuses, and tells you why, instead of "
              "doing it quietly."},
             {"person.2.fill",
              "Consumer groups have a screen. Click one — in the sidebar, the arrival report, or the chip on a topic — "
              "and Tessaron says what he makes of it before any number: caught up, behind and where, nobody home with "
              "work piling up, mid-rebalance and not to be judged yet. Then who's in it, from where, holding which "
              "partitions, and where it stands on every topic it ever committed on."},
             {"arrow.counterclockwise",
              "Moving a group's position starts from that screen now, per topic. And an offset past the end of a "
              "partition is pointed out before the button, because Kafka accepts it and the consumer's "
              "auto.offset.reset quietly decides what happens next."},
             {"pin.fill",
              "Pin a topic and it sits at the top, in the order you pinned them — above the dead letters, which still "
              "come before everything else. A pinned topic the broker stops listing stays in the list, crossed out, "
              "with the reason: a pin that quietly vanished would look like a topic that was never there."},
             {"star.fill", "And star a broker on the reception desk to keep it first. A regular."},
             {"eye.slash",
              "_schemas is the registry's own bookkeeping, and it now stays out of your topic list with "
              "__consumer_offsets and the rest."},
         }},
        {QStringLiteral("0.3.0"),
         QStringLiteral("Tessaron made you"),
         QStringLiteral("a chart."),
         {
             {"chart.bar.fill",
              "He draws your topic. Where the messages actually sit across the partitions — which is the one thing a "
              "list of numbers will never show you at a glance."},
             {"flame.fill",
              "And he reads it out loud. One partition holding most of the traffic is usually a key that is the same "
              "for nearly every message, and it shows up as one consumer falling behind while the others idle — which "
              "looks like a consumer problem and is not."},
             {"minus.circle",
              "A partition with nothing in it gets named too. That is a different story from a hot one: it usually "
              "means the partitioner never picks it, or the topic has fewer distinct keys than partitions. Looking "
              "only for the busiest partition cannot see it at all."},
             {"questionmark.circle",
              "He still refuses when he should. A queue has no partitions. One partition has no spread. Fourteen "
              "messages across three cannot carry a proportion, however dramatic the percentages look — and none of "
              "those are drawn as a healthy chart."},
             {"laptopcomputer",
              "Runs on far more desktops. Any Linux desktop with Qt 6, x86-64 and ARM64. Everything Tessaron needs to "
              "speak Kafka comes with it, so there is still nothing to install first."},
             {"figure.walk",
              "A proper first run. Six chapters instead of one page, and the third one actually opens a broker for "
              "you — the step where people get stuck is the one that used to be a paragraph."},
             {"terminal.fill",
              "And you can pick who answers \"Ask your topic\". Tessaron drives an AI CLI already signed in on your "
              "computer; until now he used whichever he found first and there was no way to say otherwise. Claude "
              "Code, OpenAI Codex, or whatever is installed."},
             {"quote.bubble.fill",
              "And he sounds more like himself. Tessaron is a lawyer, but a lawyer argues whichever side hired him — "
              "and the one thing this app will never do is argue. It says \"unknown\" when it does not know. That is "
              "counsel who cannot lie: he may believe Sasquatch is out there, and he still never claims to have seen "
              "one."},
         }},
        {QStringLiteral("0.2.0"),
         QStringLiteral("More than one broker."),
         QStringLiteral("And more than Kafka."),
         {
             {"rectangle.on.rectangle",
              "Open as many brokers as you like, each in its own tab. Switching is instant, and nothing one tab is "
              "doing leaks into another."},
             {"shippingbox.fill",
              "RabbitMQ. Queues, depths, consumers, reading and publishing — through the management API, so there is "
              "nothing new to install beyond the plugin you probably already have."},
             {"exclamationmark.triangle.fill",
              "And Tessaron tells you what it costs. On Kafka, reading disturbs nothing. On RabbitMQ the only way to "
              "look at a message is to consume it, and even putting it straight back leaves it marked as redelivered "
              "forever. So he asks first, once per broker, in plain words."},
             {"lock.shield.fill",
              "Brokers that want proof. SASL with PLAIN or SCRAM, TLS, both together — and mutual TLS, where the "
              "broker wants your certificate too. Passwords and key passphrases live in your keyring."},
             {"square.and.pencil",
              "Put a message back. Pick the one that failed, correct the field, file a copy — it carries a header "
              "saying it came from here and why."},
             {"arrow.counterclockwise",
              "Move a consumer group's position to replay. Kafka's admin API will let you do that to a group that is "
              "still running; Tessaron refuses, because the change gets committed over within seconds and the replay "
              "turns into a stampede."},
             {"bubble.left.and.text.bubble.right.fill",
              "Ask your topic, through the AI CLI already signed in on your computer — no API key, no tokens."},
             {"doc.text.magnifyingglass",
              "A new look for the evidence: topics and messages as proper rows, payloads with syntax colour, and the "
              "field that broke highlighted on its exact line."},
         }},
        {QStringLiteral("0.1.0"),
         QStringLiteral("Your queues."),
         QStringLiteral("Lawyered."),
         {
             {"tray.full.fill",
              "Tessaron MQ reads Kafka: every topic with the depth it actually retains, consumer lag per group, and "
              "dead-letter queues sorted to the top — because a queue that filled up overnight is why you opened the "
              "app."},
             {"exclamationmark.bubble.fill",
              "Objection. Tessaron compares the shape of every message he reads and names the ones that disagree — "
              "\"totalCents is a string in 2 of these, a number in the other 12\". No model, no schema registry, no "
              "network: it is in the data, and it is usually the answer."},
             {"questionmark.circle.fill",
              "He says when he cannot see. A consumer group that never committed has unknown lag, not zero. A sample "
              "too small to judge says so. Faced with five shapes and no majority, he refuses to pick a winner."},
             {"hand.raised.fill",
              "Reading disturbs nothing. He never joins a consumer group, never commits an offset, and never creates a "
              "topic by asking about one. Looking at a queue does not show up in anyone's rebalance."},
             {"lock.fill",
              "Brokers that want credentials. SASL with PLAIN or SCRAM, TLS, and both together — which is what every "
              "managed cluster demands. Passwords live in your keyring, never in a file."},
             {"square.and.pencil",
              "Put a message back. Pick the one that failed, fix the field, file a corrected copy — it carries a "
              "tessaron-reason header so whoever finds it later knows where it came from."},
             {"arrow.counterclockwise",
              "Move a consumer group's position to replay. Kafka's own admin API lets you do this to a group that is "
              "running; Tessaron refuses, because the change gets committed over within seconds and the replay turns "
              "into a stampede."},
             {"bubble.left.and.text.bubble.right.fill",
              "Ask your topic — through the AI CLI already signed in on your computer, so it costs no API key and no "
              "tokens."},
             {"globe", "English and Portuguese throughout."},
         }},
    };
}

} // namespace

const QList<WhatsNewEntry>& WhatsNewEntry::all()
{
    static const QList<WhatsNewEntry> table = makeTable();
    return table;
}

std::optional<WhatsNewEntry> WhatsNewEntry::entry(const QString& version)
{
    for (const WhatsNewEntry& candidate : all()) {
        if (candidate.version == version)
            return candidate;
    }
    return std::nullopt;
}

std::optional<WhatsNewEntry> WhatsNewEntry::unseen(bool onboarded)
{
    return unseen(onboarded, UserDefaults::standard());
}

std::optional<WhatsNewEntry> WhatsNewEntry::unseen(bool onboarded, const UserDefaults& store)
{
    if (!onboarded)
        return std::nullopt;
    const QString running = currentVersion();
    if (store.string(Prefs::lastSeenVersion) == running)
        return std::nullopt;
    return entry(running);
}

std::optional<WhatsNewEntry> WhatsNewEntry::entryOnRequest()
{
    if (auto own = entry(currentVersion()))
        return own;
    if (all().isEmpty())
        return std::nullopt;
    return all().first();
}

void WhatsNewEntry::markSeen() { markSeen(UserDefaults::standard()); }

void WhatsNewEntry::markSeen(UserDefaults& store) { store.setString(Prefs::lastSeenVersion, currentVersion()); }

QString WhatsNewEntry::currentVersion() { return BuildInfo::version(); }

QString WhatsNewEntry::buildNumber() { return BuildInfo::buildNumber(); }

void WhatsNewEntry::overrideVersion(std::optional<QString> version) { BuildInfo::overrideVersion(std::move(version)); }

void WhatsNewEntry::overrideBuild(std::optional<QString> build) { BuildInfo::overrideBuild(std::move(build)); }

} // namespace tessaron
