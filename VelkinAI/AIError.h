#pragma once

#include "VelkinAI/AICLI.h"

#include <QByteArray>
#include <QString>

#include <exception>
#include <optional>

namespace tessaron {

// The errors of running an AI command-line tool. `errorDescription()` is the sentence the user
// sees, in the language in force when it is asked for; `what()` keeps the one of construction.
class AIError : public std::exception {
public:
    enum Kind {
        notFound,     // the tool is not installed
        failed,       // the tool exited non-zero
        noProvider,   // no tool chosen or installed
        emptyInput,   // a blank prompt
        launchFailed, // the process could not be started
        timedOut,     // the tool did not finish in time and was stopped
        tooLong,      // the prompt does not fit in one argument
    };

    static AIError makeNotFound(AICLI cli) { return AIError(notFound, cli, {}); }
    static AIError makeFailed(const QString& payload) { return AIError(failed, std::nullopt, payload); }
    static AIError makeNoProvider() { return AIError(noProvider, std::nullopt, {}); }
    static AIError makeEmptyInput() { return AIError(emptyInput, std::nullopt, {}); }
    static AIError makeLaunchFailed(const QString& reason) { return AIError(launchFailed, std::nullopt, reason); }
    static AIError makeTimedOut(int seconds) { return AIError(timedOut, std::nullopt, QString::number(seconds)); }
    static AIError makeTooLong() { return AIError(tooLong, std::nullopt, {}); }

    Kind kind() const { return m_kind; }
    std::optional<AICLI> cli() const { return m_cli; }
    const QString& payload() const { return m_payload; }
    QString errorDescription() const;
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    AIError(Kind kind, std::optional<AICLI> cli, QString payload);

    Kind m_kind;
    std::optional<AICLI> m_cli;
    QString m_payload;
    QByteArray m_utf8;
};

} // namespace tessaron
