#pragma once

#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaron {

// An AI command-line tool the application knows how to run. The order of `allCases()` is the
// order of preference of automatic detection.
class AICLI {
public:
    enum Value { claude, codex };

    constexpr AICLI(Value value)
        : m_value(value)
    { }

    Value value() const { return m_value; }

    // Exactly "claude" or "codex" (case-sensitive); anything else names no tool.
    static std::optional<AICLI> fromRawValue(const QString& raw);
    static QList<AICLI> allCases() { return {claude, codex}; }

    QString rawValue() const;
    QString id() const { return rawValue(); }
    // The executable's name looked up on the user's search path.
    QString binary() const { return rawValue(); }
    QString displayName() const;
    QString installHint() const;
    // The prompt always goes, unchanged, as the single last argument.
    QStringList arguments(const QString& prompt) const;

    friend bool operator==(AICLI a, AICLI b) { return a.m_value == b.m_value; }
    friend bool operator<(AICLI a, AICLI b) { return a.m_value < b.m_value; }

private:
    Value m_value;
};

inline size_t qHash(AICLI cli, size_t seed = 0) { return ::qHash(int(cli.value()), seed); }

} // namespace tessaron
