#include "VelkinAI/AICLI.h"

namespace tessaron {

std::optional<AICLI> AICLI::fromRawValue(const QString& raw)
{
    if (raw == QLatin1String("claude"))
        return AICLI(claude);
    if (raw == QLatin1String("codex"))
        return AICLI(codex);
    return std::nullopt;
}

QString AICLI::rawValue() const { return m_value == claude ? QStringLiteral("claude") : QStringLiteral("codex"); }

QString AICLI::displayName() const
{
    return m_value == claude ? QStringLiteral("Claude Code") : QStringLiteral("OpenAI Codex");
}

QString AICLI::installHint() const
{
    return m_value == claude ? QStringLiteral("npm i -g @anthropic-ai/claude-code")
                             : QStringLiteral("npm i -g @openai/codex");
}

QStringList AICLI::arguments(const QString& prompt) const
{
    if (m_value == claude)
        return {QStringLiteral("-p"), prompt};
    return {QStringLiteral("exec"), QStringLiteral("-q"), prompt};
}

} // namespace tessaron
