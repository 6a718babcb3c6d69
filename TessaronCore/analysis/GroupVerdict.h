#pragma once

#include "TessaronCore/model/ConsumerGroupDetail.h"
#include "TessaronCore/model/GroupPosition.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tessaron {

// One judgement of a consumer group's health, from its assembled detail.
class GroupVerdict {
public:
    // In declaration order.
    enum class Case { caughtUp, behind, nobodyHome, rebalancing, neverCommitted, cannotSee, nobodyHomeCaughtUp };

    // Nothing to read; `partitions` positions have a known end.
    static GroupVerdict caughtUp(qsizetype partitions)
    {
        GroupVerdict v(Case::caughtUp);
        v.m_count = partitions;
        return v;
    }
    // `total` waits over `partitions` lagging positions; `worst` lags most, holding `share` of the total.
    static GroupVerdict behind(int64_t total, qsizetype partitions, GroupPosition worst, double share)
    {
        GroupVerdict v(Case::behind);
        v.m_total = total;
        v.m_count = partitions;
        v.m_worst = std::move(worst);
        v.m_share = share;
        return v;
    }
    static GroupVerdict nobodyHome(int64_t total)
    {
        GroupVerdict v(Case::nobodyHome);
        v.m_total = total;
        return v;
    }
    static GroupVerdict rebalancing(QString state)
    {
        GroupVerdict v(Case::rebalancing);
        v.m_state = std::move(state);
        return v;
    }
    // `gone`: the broker answered Dead, it no longer knows the group at all.
    static GroupVerdict neverCommitted(qsizetype members, bool gone = false)
    {
        GroupVerdict v(Case::neverCommitted);
        v.m_count = members;
        if (gone)
            v.m_state = QStringLiteral("Dead");
        return v;
    }
    // `positions` have no known end; `seen` others do, and nothing waits on them. No positions at
    // all: the committed offsets themselves could not be read.
    static GroupVerdict cannotSee(qsizetype positions, qsizetype seen = 0)
    {
        GroupVerdict v(Case::cannotSee);
        v.m_count = positions;
        v.m_seen = seen;
        return v;
    }
    static GroupVerdict nobodyHomeCaughtUp() { return GroupVerdict(Case::nobodyHomeCaughtUp); }

    // The first that applies: a rebalance; committed offsets that could not be read (cannotSee of
    // none); no position at all; no position with a known end;
    // nobody connected (no member known to be there, or the state "Empty"); nothing waiting; else behind. Nothing
    // waiting where some ends are unknown is cannotSee (of those), never caught up. The total
    // saturates at the 64-bit limit instead of overflowing.
    static GroupVerdict verdict(const ConsumerGroupDetail& detail);

    Case tag() const { return m_case; }
    // behind and nobodyHome; 0 otherwise.
    int64_t total() const { return m_total; }
    // caughtUp and behind; 0 otherwise.
    qsizetype partitions() const { return m_case == Case::caughtUp || m_case == Case::behind ? m_count : 0; }
    // neverCommitted; 0 otherwise.
    qsizetype members() const { return m_case == Case::neverCommitted ? m_count : 0; }
    // cannotSee; 0 otherwise.
    qsizetype positions() const { return m_case == Case::cannotSee ? m_count : 0; }
    // cannotSee: the positions whose end is known (nothing waits on them); 0 otherwise.
    qsizetype seen() const { return m_case == Case::cannotSee ? m_seen : 0; }
    // behind only.
    const std::optional<GroupPosition>& worst() const { return m_worst; }
    double share() const { return m_share; }
    // rebalancing, and neverCommitted of a group the broker no longer knows ("Dead"); empty otherwise.
    const QString& state() const { return m_state; }
    bool gone() const { return m_case == Case::neverCommitted && !m_state.isEmpty(); }

    friend bool operator==(const GroupVerdict&, const GroupVerdict&) = default;

private:
    explicit GroupVerdict(Case c)
        : m_case(c)
    { }

    Case m_case;
    int64_t m_total = 0;
    qsizetype m_count = 0;
    qsizetype m_seen = 0;
    std::optional<GroupPosition> m_worst;
    double m_share = 0;
    QString m_state;
};

} // namespace tessaron
