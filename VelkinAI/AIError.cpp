#include "VelkinAI/AIError.h"

#include "TessaronCore/l10n/L10n.h"

#include <QTextBoundaryFinder>

namespace tessaron {

namespace {

QString firstCharacters(const QString& text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (int i = 0; i < count; ++i) {
        if (finder.toNextBoundary() < 0)
            return text;
    }
    return text.left(finder.position());
}

} // namespace

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
        // The cut comes before the trim, so a long error output keeps at most 200 characters: user-perceived
        // ones, so no surrogate pair or combining sequence is split.
        const QString shown = firstCharacters(m_payload, 200).trimmed();
        return L10n::t("AI CLI failed: %@", shown.isEmpty() ? L10n::t("no output") : shown);
    }
    case noProvider:
        return L10n::t("No AI provider configured.");
    case emptyInput:
        return L10n::t("Nothing to send to the AI.");
    case launchFailed:
        return L10n::t("Failed to launch process: %@", m_payload);
    case timedOut:
        if (m_payload == QLatin1String("1"))
            return L10n::t("The AI CLI gave no answer within 1 second, so it was stopped.");
        return L10n::t("The AI CLI gave no answer within %d seconds, so it was stopped.", m_payload);
    case tooLong:
        return L10n::t("The question and its evidence are too long to hand to the AI CLI.");
    }
    return {};
}

} // namespace tessaron
