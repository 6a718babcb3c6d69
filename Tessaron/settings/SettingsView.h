#pragma once

#include "Tessaron/settings/SettingsChrome.h"
#include "VelkinAI/AICLI.h"
#include "VelkinUI/Motion.h"

#include <QCoroTask>
#include <QMap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QScrollArea;
class QSlider;
class QVBoxLayout;

namespace tessaron {

class AISection;
class AboutSection;
class AnimatedValue;
class AppState;
class EffectSlot;
class GeneralSection;
class KitButton;
class SettingsSwitch;
class SymbolView;
class TessaronMascot;

// The content of the settings window: the sidebar with the mascot, the rail of three sections,
// the signature card and the version; the detail pane with the section's header, body and footer.
// Every control writes its preference at once, and only on a real change; nothing is written when
// the view is made or closed. A real change of messages per read, internal topics or the AI tool,
// made here or anywhere else, moves the control and shows "On the record." for 2 seconds after the
// last one; a change of language does not.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    enum Section { general = 0, ai = 1, about = 2 };

    explicit SettingsView(AppState* app, QWidget* parent = nullptr);
    ~SettingsView() override;

    QSize sizeHint() const override { return {920, 740}; }

    int section() const { return m_section; }
    void setSection(int section);
    bool saved() const { return m_saved; }
    int edits() const { return m_edits; }
    // The application state's search for the AI tools, as this view draws it.
    bool detecting() const;
    QMap<AICLI, QString> foundTools() const;
    int boops() const { return m_boops; }
    bool celebrating() const { return m_celebrating; }
    QString quote() const;
    // The what's-new sheet while it is open.
    QWidget* whatsNewSheet() const;

    // Has the application state look for the AI tools again ("Check again", and every show).
    void detect();
    void boop();

signals:
    void aboutRequested();
    void detectionFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Stored = SettingsChrome::Stored;

    QWidget* buildSidebar();
    QWidget* buildDetail();
    void preferenceChanged(const QString& key);
    void sync();
    void syncHeader();
    void syncQuote();
    void acknowledge();
    void showWhatsNew();
    Motion spring() const;
    void placeRailHighlight();
    // Scrolls to where the content this one replaced stood, once the content is laid out.
    void restoreScroll();

    AppState* m_app;
    Stored m_known;
    int m_section = general;
    bool m_saved = false;
    int m_edits = 0;
    int m_boops = 0;
    bool m_celebrating = false;
    bool m_restored = false;
    QTimer m_savedTimer;
    QTimer m_celebrationTimer;
    AnimatedValue* m_tilt;
    AnimatedValue* m_railSlide;
    QRect m_railFrom;
    QWidget* m_railHighlight = nullptr;
    std::unique_ptr<EffectSlot> m_tiltEffect;

    QList<KitButton*> m_rail;
    SymbolView* m_quoteSymbol = nullptr;
    QLabel* m_plusOne = nullptr;
    QLabel* m_quote = nullptr;
    TessaronMascot* m_sideMascot = nullptr;
    QLabel* m_eyebrow = nullptr;
    QWidget* m_savedBadge = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_subtitle = nullptr;
    QList<QWidget*> m_bodies;
    QScrollArea* m_scroll = nullptr;
    std::optional<int> m_scrollToRestore;

    GeneralSection* m_general = nullptr;
    AISection* m_ai = nullptr;
    AboutSection* m_about = nullptr;
};

} // namespace tessaron
