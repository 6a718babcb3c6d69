#pragma once

#include "Tessaron/settings/SettingsChrome.h"
#include "VelkinAI/AICLI.h"
#include "VelkinUI/Motion.h"

#include <QList>
#include <QMap>
#include <QWidget>

class QLabel;
class QSlider;

namespace tessaron {

class AnimatedValue;
class KitButton;
class SettingsSwitch;
class TessaronMascot;

// The three sections of the settings window's detail pane. Each builds its controls, writes a
// preference only on a real change of value, and draws what is stored when synced; the view keeps
// the rail, the switch between them and the header.

// Messages per read (presets, slider, caption), internal topics and the language.
class GeneralSection : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSection(QWidget* parent = nullptr);
    void sync(const SettingsChrome::Stored& stored);

private:
    Motion spring() const { return SettingsChrome::spring(this); }

    // The count shown for messages per read; a preset's change rolls it inside the spring.
    AnimatedValue* m_messagesRoll;
    Motion m_presetMotion;
    double m_messagesFrom = 0.0;
    QLabel* m_messagesValue = nullptr;
    QList<KitButton*> m_presets;
    QSlider* m_slider = nullptr;
    QLabel* m_caption = nullptr;
    SettingsSwitch* m_internal = nullptr;
    QList<KitButton*> m_languages;
};

// The AI tool in use, with what the search for the tools found.
class AISection : public QWidget {
    Q_OBJECT
public:
    explicit AISection(QWidget* parent = nullptr);
    void sync(const QString& provider, bool searching, const QMap<AICLI, QString>& found);

signals:
    // "Check again".
    void detectRequested();

private:
    KitButton* m_checkAgain = nullptr;
    QList<KitButton*> m_providers;
    QList<QLabel*> m_statusWords;
    QList<QLabel*> m_providerSubtitles;
    QLabel* m_footnote = nullptr;
};

// The mascot's card and the ways on: what's new, the introduction again, the about window.
class AboutSection : public QWidget {
    Q_OBJECT
public:
    explicit AboutSection(QWidget* parent = nullptr);
    void sync(int boops);

signals:
    void booped();
    void whatsNewRequested();
    void aboutRequested();

private:
    TessaronMascot* m_aboutMascot = nullptr;
};

} // namespace tessaron
