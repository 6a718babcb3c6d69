#pragma once

#include <QString>

namespace tessaron {

// The result of a produce, reset or ask: done, refused, or uncertain (the broker may have done it:
// its answer was lost after the request went out), each with a finished sentence that the sheet
// shows as it stands. Known to callers as AppState::Outcome.
class AppOutcome {
public:
    enum Case { done, refused, uncertain };

    static AppOutcome makeDone(QString sentence) { return AppOutcome(done, std::move(sentence)); }
    static AppOutcome makeRefused(QString sentence) { return AppOutcome(refused, std::move(sentence)); }
    static AppOutcome makeUncertain(QString sentence) { return AppOutcome(uncertain, std::move(sentence)); }

    Case which() const { return m_case; }
    bool isDone() const { return m_case == done; }
    const QString& sentence() const { return m_sentence; }

    friend bool operator==(const AppOutcome&, const AppOutcome&) = default;

private:
    AppOutcome(Case c, QString sentence)
        : m_case(c)
        , m_sentence(std::move(sentence))
    { }
    Case m_case;
    QString m_sentence;
};

} // namespace tessaron
