#pragma once

#include <QDateTime>

#include <cstdint>

namespace tessaron {

// Where a partition read starts (known to callers as KafkaClient::StartPosition).
class KafkaStartPosition {
public:
    enum Case {
        offset,    // at a given offset
        tail,      // at the last n messages still held
        time,      // at the first message at or after a moment
        beginning, // at the oldest message still held
        end,       // after the newest message
    };

    static KafkaStartPosition atOffset(int64_t offset) { return {Case::offset, offset, {}}; }
    static KafkaStartPosition atTail(int64_t count) { return {Case::tail, count < 0 ? 0 : count, {}}; }
    static KafkaStartPosition atTime(QDateTime moment) { return {Case::time, 0, std::move(moment)}; }
    static KafkaStartPosition atBeginning() { return {Case::beginning, 0, {}}; }
    static KafkaStartPosition atEnd() { return {Case::end, 0, {}}; }

    Case which() const { return m_case; }
    // The offset of `offset`, the count of `tail`; 0 otherwise.
    int64_t value() const { return m_value; }
    // The moment of `time`; invalid otherwise.
    const QDateTime& moment() const { return m_moment; }

    friend bool operator==(const KafkaStartPosition& a, const KafkaStartPosition& b)
    {
        return a.m_case == b.m_case && a.m_value == b.m_value && a.m_moment == b.m_moment;
    }

private:
    KafkaStartPosition(Case c, int64_t value, QDateTime moment)
        : m_case(c)
        , m_value(value)
        , m_moment(std::move(moment))
    { }
    Case m_case;
    int64_t m_value;
    QDateTime m_moment;
};

} // namespace tessaron
