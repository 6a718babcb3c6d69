#include "VelkinAI/AIError.h"

namespace tessaron {

AIError::AIError(Kind kind, std::optional<AICLI> cli, QString payload)
    : m_kind(kind), m_cli(cli), m_payload(std::move(payload))
{
    m_utf8 = errorDescription().toUtf8();
}

QString AIError::errorDescription() const
{
    switch (m_kind) {
    case notFound:
        return m_cli->displayName() + QStringLiteral(" not found on your PATH.");
    case failed: {
        // The cut comes before the trim, so a long error output keeps at most 200 characters.
        const QString shown = m_payload.left(200).trimmed();
        return QStringLiteral("AI CLI failed: ") + (shown.isEmpty() ? QStringLiteral("no output") : shown);
    }
    case noProvider:
        return QStringLiteral("No AI provider configured.");
    case emptyInput:
        return QStringLiteral("Nothing to send to the AI.");
    case launchFailed:
        return QStringLiteral("Failed to launch process: ") + m_payload;
    case timedOut:
        return QStringLiteral("The AI CLI gave no answer within %1 seconds, so it was stopped.").arg(m_payload);
    case tooLong:
        return QStringLiteral("The question and its evidence are too long to hand to the AI CLI.");
    }
    return {};
}

} // namespace tessaron
