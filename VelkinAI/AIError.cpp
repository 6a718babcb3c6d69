#include "VelkinAI/AIError.h"

#include "TessaronCore/l10n/L10n.h"

namespace tessaron {

AIError::AIError(Kind kind, std::optional<AICLI> cli, QString payload)
    : m_kind(kind)
    , m_cli(cli)
    , m_payload(std::move(payload))
{
    m_utf8 = errorDescription().toUtf8();
}

QString AIError::errorDescription() const
{
    switch (m_kind) {
    case notFound:
        return L10n::t("%@ not found on your PATH.", m_cli->displayName());
    case failed: {
        // The cut comes before the trim, so a long error output keeps at most 200 characters.
        const QString shown = m_payload.left(200).trimmed();
        return L10n::t("AI CLI failed: %@", shown.isEmpty() ? L10n::t("no output") : shown);
    }
    case noProvider:
        return L10n::t("No AI provider configured.");
    case emptyInput:
        return L10n::t("Nothing to send to the AI.");
    case launchFailed:
        return L10n::t("Failed to launch process: %@", m_payload);
    case timedOut:
        return L10n::t("The AI CLI gave no answer within %d seconds, so it was stopped.", m_payload);
    case tooLong:
        return L10n::t("The question and its evidence are too long to hand to the AI CLI.");
    }
    return {};
}

} // namespace tessaron
