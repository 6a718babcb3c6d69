#pragma once

#include <QList>

#include <cstdint>
#include <optional>

namespace tessaron {

// How evenly a topic's retained messages are spread over its partitions, judged from the
// watermarks alone.
class SkewVerdict {
public:
    // One bar of the skew chart. Identity is `partition`.
    struct Bar {
        int32_t partition = 0;
        int64_t retained = 0;
        double share = 0; // of the topic's total, 0 to 1

        int32_t id() const { return partition; }
        friend bool operator==(const Bar&, const Bar&) = default;
    };

    // In declaration order.
    enum class Case { allEmpty, notEnoughEvidence, even, skewed, starved, notPartitioned, nothingToCompare };

    static SkewVerdict allEmpty(qsizetype partitions)
    {
        SkewVerdict v(Case::allEmpty);
        v.m_partitions = partitions;
        return v;
    }
    static SkewVerdict notEnoughEvidence(int64_t total, qsizetype partitions)
    {
        SkewVerdict v(Case::notEnoughEvidence);
        v.m_total = total;
        v.m_partitions = partitions;
        return v;
    }
    static SkewVerdict even(QList<Bar> bars)
    {
        SkewVerdict v(Case::even);
        v.m_bars = std::move(bars);
        return v;
    }
    static SkewVerdict skewed(QList<Bar> bars, Bar worst, QList<Bar> idle)
    {
        SkewVerdict v(Case::skewed);
        v.m_bars = std::move(bars);
        v.m_worst = worst;
        v.m_idle = std::move(idle);
        return v;
    }
    static SkewVerdict starved(QList<Bar> bars, QList<Bar> idle)
    {
        SkewVerdict v(Case::starved);
        v.m_bars = std::move(bars);
        v.m_idle = std::move(idle);
        return v;
    }
    static SkewVerdict notPartitioned() { return SkewVerdict(Case::notPartitioned); }
    static SkewVerdict nothingToCompare() { return SkewVerdict(Case::nothingToCompare); }

    Case tag() const { return m_case; }
    // The bars of even, skewed and starved; empty for every other case.
    const QList<Bar>& bars() const { return m_bars; }
    // skewed only.
    const std::optional<Bar>& worst() const { return m_worst; }
    // skewed (may be empty) and starved.
    const QList<Bar>& idle() const { return m_idle; }
    // allEmpty and notEnoughEvidence; 0 otherwise.
    qsizetype partitions() const { return m_partitions; }
    // notEnoughEvidence; 0 otherwise.
    int64_t total() const { return m_total; }

    friend bool operator==(const SkewVerdict&, const SkewVerdict&) = default;

private:
    explicit SkewVerdict(Case c)
        : m_case(c)
    { }

    Case m_case;
    QList<Bar> m_bars;
    std::optional<Bar> m_worst;
    QList<Bar> m_idle;
    qsizetype m_partitions = 0;
    int64_t m_total = 0;
};

} // namespace tessaron
