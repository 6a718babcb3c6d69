#include "Tessaron/state/BrokerSession.h"

#include "Tessaron/state/SessionText.h"
#include "TessaronCore/analysis/ShapeDrift.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"

#include <QPointer>

#include <algorithm>
#include <numeric>
#include <utility>

namespace tessaron {

namespace {

void addToTally(const QString& key, qsizetype count)
{
    if (count <= 0)
        return;
    UserDefaults& store = UserDefaults::standard();
    store.setInteger(key, store.integer(key).value_or(0) + count);
}

// What `payloadKind()` tells as Confluent-framed Avro, from the framing alone: the kind also
// parses every other payload as JSON, which cost a page of 1,000 messages 2.5 ms.
bool confluentFramed(const Message& message)
{
    const std::optional<QByteArray>& payload = message.payload();
    return payload && !message.decoded() && payload->size() >= 5 && payload->at(0) == 0;
}

// Newest first: later timestamp first, then higher offset; no timestamp counts as the earliest.
bool newerFirst(const Message& a, const Message& b)
{
    const qint64 ta = a.timestamp() ? a.timestamp()->toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    const qint64 tb = b.timestamp() ? b.timestamp()->toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
    if (ta != tb)
        return ta > tb;
    return a.offset() > b.offset();
}

void sortNewestFirst(QList<Message>& messages) { std::stable_sort(messages.begin(), messages.end(), newerFirst); }

// The shape groups of the messages a session holds, kept beside it so that a further page counts
// its own messages' shapes, not every held message's again. Whatever changes the held list other
// than a page merged here drops them, and with them the knowledge that the list is sorted.
class HeldShapes : public QObject {
public:
    ShapeDrift::Tally tally;
    // The number each held message got from the tally, in the list's order.
    QList<int> numbers;
    // The numbers match the held list.
    bool current = false;
    // The held list is a Kafka read, sorted newest first.
    bool sorted = false;
    // Set while the session publishes a merged list whose numbers are already known.
    bool publishing = false;

    static HeldShapes& of(BrokerSession& session)
    {
        for (QObject* child : session.children()) {
            if (auto* held = dynamic_cast<HeldShapes*>(child))
                return *held;
        }
        auto* held = new HeldShapes;
        held->setParent(&session);
        QObject::connect(&session, &BrokerSession::messagesChanged, held, [held] {
            if (!held->publishing)
                held->drop();
        });
        return *held;
    }

    void drop()
    {
        tally = {};
        numbers = {};
        current = false;
        sorted = false;
    }

    // Counts the held messages in from scratch, when the numbers do not match them.
    void follow(const QList<Message>& held)
    {
        if (current)
            return;
        tally = {};
        numbers = numbered(tally.add(held), held.size());
        current = true;
    }

    static QList<int> numbered(int first, qsizetype count)
    {
        QList<int> list(count);
        std::iota(list.begin(), list.end(), first);
        return list;
    }
};

// `held` and `page` sorted newest first, each with the tally's number of every message: the page
// merged into `held`, sorted the same way, with held messages before page messages of equal rank,
// which is what a stable sort of `held` followed by `page` gives. Held messages before the page's first
// stay where they are, so a page newer than everything held (read on towards the end) costs the
// page alone, and one older than everything held costs the page and nothing more. Returns where the
// page's messages went in the merged list, run by run.
BrokerSession::InsertedRuns mergeNewestFirst(QList<Message>& held, QList<int>& heldNumbers, QList<Message> page,
                                             const QList<int>& pageNumbers)
{
    BrokerSession::InsertedRuns runs;
    if (page.isEmpty())
        return runs;
    if (held.isEmpty() || newerFirst(page.constLast(), held.constFirst())) {
        // QList keeps room at its front, so prepending costs what is prepended.
        for (qsizetype j = page.size() - 1; j >= 0; --j) {
            held.prepend(std::move(page[j]));
            heldNumbers.prepend(pageNumbers[j]);
        }
        runs.append({0, int(page.size())});
        return runs;
    }
    const qsizetype from = std::partition_point(held.cbegin(), held.cend(),
                                                [&](const Message& h) { return !newerFirst(page.constFirst(), h); })
        - held.cbegin();
    QList<Message> rest;
    QList<int> restNumbers;
    rest.reserve(held.size() - from);
    restNumbers.reserve(held.size() - from);
    for (qsizetype i = from; i < held.size(); ++i) {
        rest.append(std::move(held[i]));
        restNumbers.append(heldNumbers[i]);
    }
    // No reserve to the exact size: that moves every held message on every page, where appending
    // grows the room geometrically and moves them now and then.
    held.remove(from, held.size() - from);
    heldNumbers.remove(from, heldNumbers.size() - from);
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < rest.size() || j < page.size()) {
        if (j < page.size() && (i == rest.size() || newerFirst(page[j], rest[i]))) {
            const int at = int(held.size());
            if (!runs.isEmpty() && runs.last().first + runs.last().second == at)
                ++runs.last().second;
            else
                runs.append({at, 1});
            held.append(std::move(page[j]));
            heldNumbers.append(pageNumbers[j]);
            ++j;
        } else {
            held.append(std::move(rest[i]));
            heldNumbers.append(restNumbers[i]);
            ++i;
        }
    }
    return runs;
}

} // namespace

void BrokerSession::setBindings(const QList<QueueBinding>& value, const QString& queue, bool failed)
{
    if (m_bindings == value && m_bindingsQueue == queue && m_bindingsFailed == failed)
        return;
    m_bindings = value;
    m_bindingsQueue = queue;
    m_bindingsFailed = failed;
    emit bindingsChanged();
}

QCoro::Task<> BrokerSession::readLatest() { co_await read(Position::atTail(), Prefs::messageLimit(), false); }

QCoro::Task<> BrokerSession::read(Position from, qint64 limit, bool continuing)
{
    if (!m_connection)
        co_return;
    const std::optional<Topic> topic = currentTopic();
    if (!topic)
        co_return;
    const quint64 generation = ++m_readGeneration;
    // What is shown belongs to the topic being read: never leave another one's messages under it.
    if (!m_messages.isEmpty() && m_messages.first().topic() != topic->name) {
        setMessages({});
        setSelectedMessage(std::nullopt);
    }
    if (m_connection->kind() == Connection::rabbit)
        co_await readRabbit(*topic, limit, generation);
    else
        co_await readKafka(*topic, from, limit, continuing, generation);
}

QCoro::Task<> BrokerSession::readRabbit(Topic topic, qint64 limit, quint64 generation)
{
    QPointer<BrokerSession> self(this);
    const std::shared_ptr<RabbitClient> rabbit = m_connection->rabbitClient();
    auto current = [&] { return self && generation == m_readGeneration; };
    auto stillSelected = [&] { return m_selectedTopic == topic.name; };

    auto binding = attempt(rabbit->bindings(topic.name));
    auto [bindings, bindingsFailure] = co_await std::move(binding);
    if (!current())
        co_return;
    // What a read would cost is asked before consent, so the consent pane can say it.
    auto costAttempt = attempt(rabbit->readCost(topic.name));
    auto [cost, costFailure] = co_await std::move(costAttempt);
    if (!current())
        co_return;
    // This is the newest read: an older one it superseded may have left the loading flag up, and
    // the flag follows the newest read, which reads nothing here.
    if (!stillSelected()) {
        setIsLoadingMessages(false);
        co_return;
    }
    setBindings(bindings.value_or(QList<QueueBinding>()), topic.name, bindingsFailure.has_value());
    setQueueReadCost(cost ? std::optional<QueueReadCost>(QueueReadCost{topic.name, *cost}) : std::nullopt);
    const std::optional<QString> refusal = cost ? cost->refusal() : std::nullopt;
    if (refusal || costFailure) {
        if (costFailure && costFailure->lostConnection)
            setLostConnection(costFailure->message);
        else if (m_acceptedRabbitReadCost)
            noteUnobservable(topic.name, refusal ? *refusal : costFailure->message);
        setIsLoadingMessages(false);
        // A queue deleted since the listing leaves it.
        if (costFailure && costFailure->code == RabbitClient::goneCode)
            co_await loadTopics();
        co_return;
    }
    if (!m_acceptedRabbitReadCost) {
        setIsLoadingMessages(false);
        co_return;
    }

    setIsLoadingMessages(true);
    auto readAttempt = attempt(rabbit->read(topic.name, limit));
    auto [read, failure] = co_await std::move(readAttempt);
    // The queue was consumed and requeued whatever happens to the result. A read whose answer was
    // lost after the server received it counts what it most likely took.
    if (read)
        addToTally(Prefs::messagesDisturbed, read->size());
    else if (failure->uncertain || failure->code == RabbitClient::uncertainCode)
        addToTally(Prefs::messagesDisturbed, qsizetype(std::min<qint64>(limit, topic.declaredDepth.value_or(limit))));
    if (!current())
        co_return;
    if (!read) {
        classify(topic.name, *failure);
        setIsLoadingMessages(false);
        if (failure->code == RabbitClient::goneCode)
            co_await loadTopics();
        co_return;
    }
    Decoding decoded = co_await decodeAvro(*read);
    if (!current())
        co_return;
    for (const Unobservable& fact : decoded.facts)
        noteUnobservable(fact.subject, fact.reason);
    if (stillSelected()) {
        setMessages(decoded.messages);
        setPosition(Position::atTail());
        setReachedEnd(true);
        setUnreadPartitions({});
        setNextOffsets({});
        setPagesRead(1);
        judgeShapes();
    }
    setIsLoadingMessages(false);
}

QCoro::Task<> BrokerSession::readKafka(Topic topic, Position from, qint64 limit, bool continuing, quint64 generation)
{
    QPointer<BrokerSession> self(this);
    const std::shared_ptr<KafkaReading> kafka = m_connection->kafkaClient();
    auto current = [&] { return self && generation == m_readGeneration; };
    // A failed lookup before the pages ends the read.
    auto giveUp = [&](const CapturedError& failure) {
        classify(topic.name, failure);
        setIsLoadingMessages(false);
    };

    // The kept offsets belong to the topic they were read from; another topic starts afresh.
    if (continuing && m_nextOffsetsTopic != topic.name)
        continuing = false;
    // A further page goes on from where this session's own read left each partition, whatever
    // the caller names: after a moment, a partition with nothing after it stays unread.
    if (continuing)
        from = m_position;

    // Said before the read first waits. The views answer it at once (the working indicator takes
    // the columns' place, a fresh read empties the list): when nothing is asked before the pages,
    // it is said once they are on their way, so that this runs beside the read, not ahead of it.
    bool begun = false;
    auto begin = [&] {
        if (std::exchange(begun, true))
            return;
        setIsLoadingMessages(true);
        if (!continuing) {
            setMessages({});
            setSelectedMessage(std::nullopt);
            setPagesRead(0);
            setTimeAnswer({});
        }
    };

    // Right after connecting or during a refresh the listing holds no watermarks yet: ask for
    // them rather than take every partition for empty.
    if (!continuing && from.which() == Position::tail && !m_watermarked.contains(topic.name)) {
        begin();
        auto markedAttempt = attempt(kafka->watermarks(topic, clientTimeoutMs));
        auto [marked, failure] = co_await std::move(markedAttempt);
        if (!current())
            co_return;
        if (failure) {
            giveUp(*failure);
            co_return;
        }
        topic = *marked;
    }

    const QMap<int32_t, int64_t> start = continuing ? m_nextOffsets : QMap<int32_t, int64_t>();
    // A further page from a moment goes on from the kept next offsets, like every other position.
    const bool lookUpTime = from.which() == Position::time && !continuing;
    QMap<int32_t, int64_t> timeOffsets;
    if (lookUpTime) {
        begin();
        auto lookup = attempt(kafka->offsets(from.moment(), topic, clientTimeoutMs));
        auto [offsets, failure] = co_await std::move(lookup);
        if (!current())
            co_return;
        if (failure) {
            giveUp(*failure);
            co_return;
        }
        timeOffsets = std::move(*offsets);
    }

    // Where each partition starts; a partition without a start is not read.
    QList<KafkaReading::PartitionStart> starts;
    for (const Partition& partition : topic.partitions) {
        std::optional<KafkaStartPosition> startAt;
        if (continuing && from.which() == Position::time) {
            if (start.contains(partition.id))
                startAt = KafkaStartPosition::atOffset(start.value(partition.id));
        } else if (continuing) {
            // A partition the first page could not read starts where that read asked it to.
            const int64_t fallback = from.which() == Position::offset ? from.offsetValue() : 0;
            startAt = KafkaStartPosition::atOffset(start.value(partition.id, fallback));
        } else {
            switch (from.which()) {
            case Position::offset:
                startAt = KafkaStartPosition::atOffset(from.offsetValue());
                break;
            case Position::tail:
                // A partition whose watermarks could not be read is asked, not taken for empty.
                if (partition.high - partition.low >= 1 || partition.error)
                    startAt = KafkaStartPosition::atTail(0);
                break;
            case Position::beginning:
                startAt = KafkaStartPosition::atBeginning();
                break;
            case Position::time:
                // The lookup answers -1 for a partition with nothing at or after the moment.
                if (timeOffsets.contains(partition.id) && timeOffsets.value(partition.id) >= 0)
                    startAt = KafkaStartPosition::atOffset(timeOffsets.value(partition.id));
                break;
            }
        }
        if (startAt)
            starts.append({partition.id, *startAt});
    }

    // The limit is shared by the partitions that are read, not by every partition of the topic.
    const qint64 share = std::max<qint64>(1, limit / std::max<qsizetype>(starts.size(), 1));
    QMap<int32_t, int64_t> next = start;
    QList<Message> collected;
    bool allReachedEnd = true;
    // Counted once a read, not once a partition: every count rewrites the preferences.
    qsizetype readCount = 0;

    for (KafkaReading::PartitionStart& partition : starts) {
        if (partition.from.which() == KafkaStartPosition::tail)
            partition.from = KafkaStartPosition::atTail(share);
    }
    // Every partition at once; the answers are what reading them one after the other gives, and
    // end at the first partition whose connection was lost.
    auto pagesAttempt = attempt(kafka->pages(topic.name, starts, share, pageTimeoutMs));
    begin();
    auto [pages, pagesFailure] = co_await std::move(pagesAttempt);
    const QList<KafkaReading::PartitionPage> answers = pages.value_or(QList<KafkaReading::PartitionPage>());
    for (const KafkaReading::PartitionPage& answer : answers) {
        if (answer.page)
            readCount += answer.page->messages.size();
    }
    if (!current()) {
        addToTally(Prefs::messagesRead, readCount);
        co_return;
    }
    QList<int32_t> unread;
    bool refused = false;
    // A partition that could not be read has not been read to its end: a further page asks it
    // again (from where the read's position puts it).
    auto unobservablePartition = [&](int32_t partition, const CapturedError& failure) {
        refused = refused || failure.code == KafkaError::topicAuthorizationFailed;
        noteUnobservable(L10n::t("%@ partition %d", L10n::isolated(topic.name), partition), failure.message);
        allReachedEnd = false;
        if (!unread.contains(partition))
            unread.append(partition);
    };
    // Every other partition would wait out its own time-out on the same lost cluster.
    auto lost = [&](const QString& reason) {
        setLostConnection(reason);
        allReachedEnd = false;
    };
    if (pagesFailure) {
        // The whole read failed, as every partition's page would have.
        if (pagesFailure->lostConnection)
            lost(pagesFailure->message);
        else
            for (const KafkaReading::PartitionStart& partition : std::as_const(starts))
                unobservablePartition(partition.partition, *pagesFailure);
    }
    for (const KafkaReading::PartitionPage& answer : answers) {
        if (answer.page) {
            collected.append(answer.page->messages);
            for (auto it = answer.page->next.cbegin(); it != answer.page->next.cend(); ++it)
                next.insert(it.key(), it.value());
            allReachedEnd = allReachedEnd && answer.page->reachedEnd;
            continue;
        }
        const CapturedError failure = answer.failure ? CapturedError::from(*answer.failure) : CapturedError::unknown();
        if (failure.lostConnection) {
            lost(failure.message);
            break;
        }
        unobservablePartition(answer.partition, failure);
    }
    addToTally(Prefs::messagesRead, readCount);

    Decoding decoding = co_await decodeAvro(collected);
    if (!current())
        co_return;
    // Decoding failures are facts of the read that is shown, never of one it superseded.
    for (const Unobservable& fact : decoding.facts)
        noteUnobservable(fact.subject, fact.reason);
    const QList<Message>& decoded = decoding.messages;
    if (m_selectedTopic != topic.name) {
        // The selection moved on while this read ran: its messages belong to another topic.
        setIsLoadingMessages(false);
        co_return;
    }
    HeldShapes& held = HeldShapes::of(*this);
    // Before the messages: an empty read is told from what the lookup answered.
    if (!continuing)
        setTimeAnswer(timeOffsets);
    if (continuing && held.sorted) {
        // A further page is merged into what is held, which is sorted already: it costs the page,
        // not the held list. An empty page changes nothing.
        if (!decoded.isEmpty()) {
            // The page is the read's own: sorted and merged in where it is, not copied.
            QList<Message> page = std::move(decoding.messages);
            sortNewestFirst(page);
            held.follow(m_messages);
            const QList<int> pageNumbers = HeldShapes::numbered(held.tally.add(page), page.size());
            // The held list is handed to the merge (changed in place unless a view shares it) and
            // replaced by the merged one at once.
            QList<Message> shown = std::exchange(m_messages, {});
            QList<int> numbers = std::exchange(held.numbers, {});
            BrokerSession::InsertedRuns runs = mergeNewestFirst(shown, numbers, std::move(page), pageNumbers);
            held.publishing = true;
            setMessages(shown, std::move(runs));
            held.publishing = false;
            held.numbers = std::move(numbers);
        }
    } else {
        QList<Message> shown = continuing ? m_messages + decoded : decoded;
        sortNewestFirst(shown);
        setMessages(shown);
    }
    held.sorted = true;
    m_nextOffsetsTopic = topic.name;
    setNextOffsets(next);
    std::sort(unread.begin(), unread.end());
    setUnreadPartitions(unread);
    setReachedEnd(allReachedEnd);
    // Only a read from the start is judged anew: a further page of a topic already read was allowed.
    if (!continuing)
        setReadRefused(refused && decoded.isEmpty());
    setPagesRead(m_pagesRead + 1);
    if (!continuing)
        setPosition(from);
    judgeShapes();
    setIsLoadingMessages(false);
}

QCoro::Task<BrokerSession::Decoding> BrokerSession::decodeAvro(QList<Message> messages)
{
    Decoding result;
    QList<qsizetype> framed;
    for (qsizetype i = 0; i < messages.size(); ++i) {
        if (confluentFramed(messages[i]))
            framed.append(i);
    }
    if (framed.isEmpty()) {
        result.messages = std::move(messages);
        co_return result;
    }
    if (!m_registry) {
        result.facts.append({loc("Avro payloads"),
                             loc("no Schema Registry on this broker, so these are bytes with a schema id — add one on "
                                 "the broker's form")});
        result.messages = std::move(messages);
        co_return result;
    }
    QPointer<BrokerSession> self(this);
    const std::shared_ptr<RegistryDecoding> registry = m_registry;
    // One read asks an unreachable registry once; its other messages share that failure.
    registry->startRead();
    QList<QPair<QString, int>> failures; // in first-seen order
    for (qsizetype index : framed) {
        const RegistryDecoding::Result decoded = co_await registry->decode(*messages[index].payload());
        if (!self) {
            result.messages = std::move(messages);
            co_return result;
        }
        if (const auto* value = std::get_if<Message::Decoded>(&decoded)) {
            messages[index].setDecoded(*value);
        } else {
            const QString reason = std::get<QString>(decoded);
            messages[index].setDecodeFailure(reason);
            auto it = std::find_if(failures.begin(), failures.end(), [&](const auto& f) { return f.first == reason; });
            if (it == failures.end())
                failures.append({reason, 1});
            else
                ++it->second;
        }
    }
    std::stable_sort(failures.begin(), failures.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    for (qsizetype i = 0; i < std::min<qsizetype>(2, failures.size()); ++i) {
        const int count = failures[i].second;
        result.facts.append(
            {count == 1 ? loc("1 Avro message") : L10n::t("%d Avro messages", count), failures[i].first});
    }
    result.messages = std::move(messages);
    co_return result;
}

void BrokerSession::judgeShapes()
{
    HeldShapes& held = HeldShapes::of(*this);
    held.follow(m_messages);
    const ShapeVerdict verdict = held.tally.verdict(m_messages, held.numbers);
    setShapeVerdict(verdict);
    if (verdict.tag() == ShapeVerdict::Case::drift)
        setGavelStrikes(m_gavelStrikes + 1);
}

} // namespace tessaron
