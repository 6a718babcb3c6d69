#include "Tessaron/settings/SettingsLogic.h"

#include "TessaronCore/l10n/L10n.h"

#include <algorithm>
#include <cmath>

namespace tessaron::SettingsLogic {

int messagesForPosition(double position)
{
    const double clamped = std::clamp(position, double(minimumMessages), double(maximumMessages));
    return int(std::round(clamped / 10.0)) * 10;
}

int sliderPosition(qint64 stored) { return int(std::clamp<qint64>(stored, minimumMessages, maximumMessages)); }

std::optional<int> selectedPreset(qint64 stored)
{
    for (int preset : presets) {
        if (stored == preset)
            return preset;
    }
    return std::nullopt;
}

const char* messagesCaption(qint64 value)
{
    if (value < 51)
        return "A quick sniff. I'll keep it brief. For once.";
    if (value < 101)
        return "The usual docket. Thorough, not obsessive.";
    if (value < 500)
        return "The plot thickens. I brought a highlighter.";
    if (value < 1000)
        return "This is going to need a bigger briefcase.";
    return "Every page, every footnote. Clear my afternoon.";
}

const char* signatureQuote(bool celebrating, int boops)
{
    if (!celebrating)
        return "I can't lie to you. I've tried. My face does a thing.";
    switch (((boops - 1) % 3 + 3) % 3) {
    case 0:
        return "Objection. That was adorable.";
    case 1:
        return "Petting counsel is not bribery. Keep going.";
    default:
        return "Let the record show: the client booped first.";
    }
}

const char* aboutBoopLine(int boops)
{
    switch ((boops % 4 + 4) % 4) {
    case 0:
        return "The dog on the icon is real. His name is Tessaron.";
    case 1:
        return "He has never once lied about a queue.";
    case 2:
        return "He reads every offset twice. The second time for fun.";
    default:
        return "Okay. You're my favorite client now.";
    }
}

QString counterText(qint64 value) { return QString::number(value).rightJustified(6, QLatin1Char('0')); }

QString storedValue(ProviderRow row)
{
    switch (row) {
    case ProviderRow::claude:
        return AICLI(AICLI::claude).rawValue();
    case ProviderRow::codex:
        return AICLI(AICLI::codex).rawValue();
    case ProviderRow::automatic:
        break;
    }
    return QStringLiteral("auto");
}

bool rowFound(ProviderRow row, const QMap<AICLI, QString>& found)
{
    switch (row) {
    case ProviderRow::claude:
        return found.contains(AICLI::claude);
    case ProviderRow::codex:
        return found.contains(AICLI::codex);
    case ProviderRow::automatic:
        break;
    }
    return !found.isEmpty();
}

const char* statusWord(ProviderRow row, bool detecting, const QMap<AICLI, QString>& found)
{
    if (detecting)
        return "Checking…";
    return rowFound(row, found) ? "CLI found" : "Not installed";
}

QString statusSentence(bool detecting, const QMap<AICLI, QString>& found, const QString& provider)
{
    if (detecting)
        return L10n::t("Looking for your local AI assistants…");
    if (found.isEmpty())
        return L10n::t("No CLI found. Install Claude Code or Codex to ask your topics.");
    const std::optional<AICLI> chosen = AICLI::fromRawValue(provider);
    if (!chosen || found.contains(*chosen))
        return L10n::t("Uses your local CLI session. No extra API key.");
    return L10n::t("CLI missing; uses an available assistant. Install: %@", chosen->installHint());
}

} // namespace tessaron::SettingsLogic
