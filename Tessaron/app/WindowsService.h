#pragma once

#include "Tessaron/workspace/ViewFactories.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace tessaron {

class AppState;

// The settings and about windows: top-level, one of each at most. Showing one that is open raises
// it. Their contents come from `views`.
class WindowsService : public QObject {
    Q_OBJECT
public:
    enum class Window { settings, about };

    WindowsService(AppState* app, const ViewFactories& views, QObject* parent = nullptr);
    ~WindowsService() override;

    void show(Window which);
    // The open window, or nullptr.
    QWidget* window(Window which) const;
    // Builds the contents of every open window afresh (after a change of language).
    void rebuild();

private:
    QPointer<QWidget>& slot(Window which);
    QWidget* makeView(Window which);
    void fill(Window which, QWidget* window);

    AppState* m_app;
    ViewFactories m_views;
    QPointer<QWidget> m_settings;
    QPointer<QWidget> m_about;
};

} // namespace tessaron
