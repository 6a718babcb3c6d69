#include "Tessaron/app/MainWindow.h"

#include "Tessaron/app/AppCommands.h"
#include "Tessaron/app/RootView.h"

#include <QAction>
#include <QMenuBar>

namespace tessaron {

MainWindow::MainWindow(AppState* app, AppCommands* commands, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_commands(commands)
{
    setObjectName(QStringLiteral("mainWindow"));
    // The product's name, the same in every language.
    setWindowTitle(QStringLiteral("Tessaron MQ"));
    m_commands->populate(menuBar(), this);
    rebuild();
    resize(defaultSize);
}

MainWindow::~MainWindow() = default;

void MainWindow::rebuild()
{
    if (m_root) {
        RootView* old = m_root;
        takeCentralWidget();
        old->retire();
        old->deleteLater();
    }
    auto* root = new RootView(m_app, m_commands->openAnother(), this);
    root->setMinimumSize(minimumContentSize);
    setCentralWidget(root);
    m_root = root;
    emit rebuilt();
}

} // namespace tessaron
