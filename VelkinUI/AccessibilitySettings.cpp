#include "VelkinUI/AccessibilitySettings.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

#include <optional>

namespace tessaron {

namespace {

enum { motion = 0, transparency = 1, contrast = 2 };

std::optional<bool> fromEnvironment(const char* name)
{
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    const QByteArray v = qgetenv(name).trimmed().toLower();
    return v == "1" || v == "true" || v == "yes" || v == "on";
}

} // namespace

AccessibilitySettings& AccessibilitySettings::instance()
{
    static AccessibilitySettings* settings = [] {
        auto* s = new AccessibilitySettings();
        s->refreshFromDesktop();
        return s;
    }();
    return *settings;
}

AccessibilitySettings::AccessibilitySettings()
{
    const char* names[3] = {"TESSARON_REDUCE_MOTION", "TESSARON_REDUCE_TRANSPARENCY", "TESSARON_INCREASE_CONTRAST"};
    bool* values[3] = {&m_reduceMotion, &m_reduceTransparency, &m_increaseContrast};
    for (int i = 0; i < 3; ++i) {
        if (auto v = fromEnvironment(names[i])) {
            *values[i] = *v;
            m_pinned[i] = true;
        }
    }
}

void AccessibilitySettings::setReduceMotion(bool on)
{
    m_pinned[motion] = true;
    if (on == m_reduceMotion)
        return;
    m_reduceMotion = on;
    emit changed();
}

void AccessibilitySettings::setReduceTransparency(bool on)
{
    m_pinned[transparency] = true;
    if (on == m_reduceTransparency)
        return;
    m_reduceTransparency = on;
    emit changed();
}

void AccessibilitySettings::setIncreaseContrast(bool on)
{
    m_pinned[contrast] = true;
    if (on == m_increaseContrast)
        return;
    m_increaseContrast = on;
    emit changed();
}

void AccessibilitySettings::refreshFromDesktop()
{
    if (!QCoreApplication::instance() || QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        return;
    readGnomeKey(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-animations"), motion);
    readGnomeKey(QStringLiteral("org.gnome.desktop.a11y.interface"), QStringLiteral("high-contrast"), contrast);
}

void AccessibilitySettings::readGnomeKey(const QString& schema, const QString& key, int which)
{
    if (m_pinned[which])
        return;
    auto* process = new QProcess(this);
    connect(process, &QProcess::finished, this, [this, process, which](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || code != 0 || m_pinned[which])
            return;
        const QByteArray out = process->readAllStandardOutput().trimmed();
        if (out != "true" && out != "false")
            return;
        const bool value = out == "true";
        bool& field = which == motion ? m_reduceMotion : which == contrast ? m_increaseContrast : m_reduceTransparency;
        // GNOME says whether animations are enabled; we keep whether motion is reduced.
        const bool reduced = which == motion ? !value : value;
        if (field != reduced) {
            field = reduced;
            emit changed();
        }
    });
    connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
    process->start(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
}

} // namespace tessaron
