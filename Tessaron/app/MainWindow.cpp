#include "Tessaron/app/MainWindow.h"

#include "Tessaron/app/AppCommands.h"
#include "Tessaron/app/RootView.h"

#include <QAction>
#include <QMenuBar>

namespace tessaron {

MainWindow::MainWindow(AppState* app, AppCommands* commands, const ViewFactories& views, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_commands(commands)
    , m_views(views)
{
    setObjectName(QStringLiteral("mainWindow"));
    // The product's name, the same in every language.
    setWindowTitle(QStringLiteral("Tessaron MQ"));
    m_commands->populate(menuBar(), this);
    rebuild();
    // The default and the minimum are the content's; the menu bar comes on top of them.
    resize(defaultSize + QSize(0, menuBar()->sizeHint().height()));
}

MainWindow::~MainWindow() = default;

void MainWindow::rebuild()
{
    RootView* old = m_root;
    if (old)
        takeCentralWidget();
    // The same sessions and selections, drawn again: views read nothing, so nothing is read.
    auto* root = new RootView(m_app, m_views, m_commands->openAnother(), this);
    root->setMinimumSize(minimumContentSize);
    if (old) {
        // The sheet on screen stays, with all it holds; it sets its own texts again.
        old->handSheetsTo(root);
        old->retire();
        old->deleteLater();
    }
    setCentralWidget(root);
    m_root = root;
    emit rebuilt();
}

} // namespace tessaron
