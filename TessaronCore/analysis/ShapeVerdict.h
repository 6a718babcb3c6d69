#pragma once

#include "TessaronCore/analysis/FieldDifference.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace tessaron {

// Whether the bodies of a sample of messages agree in shape, and when a strict majority agrees,
// which messages differ and on which fields.
class ShapeVerdict {
public:
    // In declaration order.
    enum class Case { notEnoughEvidence, consistent, noMajority, drift, nothingToCompare };

    struct Drift {
        qsizetype sampled = 0;
        qsizetype majorityCount = 0;
        // Identifiers of the sampled messages whose shape is not the majority's, in input order.
        QStringList outlierIDs;
        // Most frequent first.
        QList<FieldDifference> differences;

        qsizetype outlierCount() const { return outlierIDs.size(); }

        friend bool operator==(const Drift&, const Drift&) = default;
    };

    // Fewer than the minimum sample gave a shape; `sampled` is how many did.
    static ShapeVerdict notEnoughEvidence(qsizetype sampled) { return ShapeVerdict(Case::notEnoughEvidence, sampled); }
    static ShapeVerdict consistent(qsizetype sampled) { return ShapeVerdict(Case::consistent, sampled); }
    static ShapeVerdict noMajority(qsizetype sampled, qsizetype distinctShapes)
    {
        ShapeVerdict v(Case::noMajority, sampled);
        v.m_distinctShapes = distinctShapes;
        return v;
    }
    static ShapeVerdict drift(Drift drift)
    {
        ShapeVerdict v(Case::drift, drift.sampled);
        v.m_drift = std::move(drift);
        return v;
    }
    static ShapeVerdict nothingToCompare() { return ShapeVerdict(Case::nothingToCompare, 0); }

    Case tag() const { return m_case; }
    // Messages that gave a shape; 0 for nothingToCompare.
    qsizetype sampled() const { return m_sampled; }
    // noMajority only; 0 otherwise.
    qsizetype distinctShapes() const { return m_distinctShapes; }
    // drift only; nothing otherwise. A copy, so a verdict may be a temporary.
    std::optional<Drift> driftDetail() const
    {
        return m_case == Case::drift ? std::optional<Drift>(m_drift) : std::nullopt;
    }

    friend bool operator==(const ShapeVerdict&, const ShapeVerdict&) = default;

private:
    ShapeVerdict(Case c, qsizetype sampled)
        : m_case(c)
        , m_sampled(sampled)
    { }

    Case m_case;
    qsizetype m_sampled = 0;
    qsizetype m_distinctShapes = 0;
    Drift m_drift;
};

} // namespace tessaron
