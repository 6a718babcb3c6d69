#pragma once

#include "VelkinAI/AICLI.h"
#include "VelkinInfra/prefs/PrefsStore.h"

#include <QCoroTask>
#include <QMap>
#include <QString>

#include <optional>

namespace tessaron {

// Finds the installed AI command-line tools, honours the user's choice stored under
// "<namespace>.aiProvider", and runs the chosen tool with a prompt. Holds no state beyond the
// preferences it reads; every operation may be called from any task and never touches a view.
class AIProvider {
public:
    static inline const QString backendPrefKey = QStringLiteral("aiProvider");
    static inline const QString autoValue = QStringLiteral("auto");

    // Bounds of one run of a tool (the login-shell lookup is bounded by the process runner).
    struct Limits {
        int runMs = 180000;
        qint64 maxOutputBytes = 1024 * 1024;
    };
    static Limits defaultLimits();
    static void setDefaultLimits(const Limits& limits);

    explicit AIProvider(std::optional<PrefsStore> prefs = std::nullopt, Limits limits = defaultLimits())
        : m_prefs(std::move(prefs))
        , m_limits(limits)
    { }

    const std::optional<PrefsStore>& prefs() const { return m_prefs; }

    // Every installed tool and the full path of its executable.
    QCoro::Task<QMap<AICLI, QString>> detect() const;
    // The first installed tool in `AICLI::allCases()` order.
    QCoro::Task<std::optional<AICLI>> detectBackend() const;
    // The tool the next run will use: the stored choice when it is installed, else detection.
    QCoro::Task<std::optional<AICLI>> resolveBackend() const;
    // Runs one tool and returns its trimmed standard output. Throws AIError.
    QCoro::Task<QString> run(QString prompt, AICLI cli) const;
    // Resolves the tool, then runs it. Throws AIError (noProvider when there is none).
    QCoro::Task<QString> run(QString prompt) const;

private:
    std::optional<PrefsStore> m_prefs;
    Limits m_limits;
};

} // namespace tessaron
