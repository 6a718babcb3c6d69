#pragma once

#include "VelkinAI/AICLI.h"

#include <QMap>
#include <QString>

#include <optional>

// The decisions of the settings and about windows, without widgets: what a slider position
// stores, which preset is selected, which caption, quote, status word and sentence show.
namespace tessaron::SettingsLogic {

inline constexpr int minimumMessages = 10;
inline constexpr int maximumMessages = 1000;
inline constexpr int defaultMessages = 100;
inline constexpr int presets[] = {50, 100, 500};

// The value a slider position stores: the nearest multiple of 10 (halves away from zero) within
// 10…1000.
int messagesForPosition(double position);
// Where the slider stands for a stored value: clamped to 10…1000 (the stored value is left alone).
int sliderPosition(qint64 stored);
// The preset shown selected: only on an exact match.
std::optional<int> selectedPreset(qint64 stored);
// The caption of a messages limit (an English key).
const char* messagesCaption(qint64 value);

// The signature card's quote (an English key).
const char* signatureQuote(bool celebrating, int boops);
// The about window's line under the badge (an English key).
const char* aboutBoopLine(int boops);
// A counter of the about window: six digits at least, zero-padded.
QString counterText(qint64 value);

// The provider rows: "auto", then each tool's raw value.
enum class ProviderRow { automatic, claude, codex };
QString storedValue(ProviderRow row);
bool rowFound(ProviderRow row, const QMap<AICLI, QString>& found);
// "Checking…", "CLI found" or "Not installed" (English keys).
const char* statusWord(ProviderRow row, bool detecting, const QMap<AICLI, QString>& found);
// The footnote, localised.
QString statusSentence(bool detecting, const QMap<AICLI, QString>& found, const QString& provider);

} // namespace tessaron::SettingsLogic
