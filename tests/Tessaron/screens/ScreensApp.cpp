// Screens of the application frame: the standard widgets in the application style, and the tab bar
// with sessions in their connection states.
#include "ScreenFamilies.h"
#include "ScreenShooter.h"
#include "support/SessionFakes.h"

#include "Tessaron/app/RootView.h"
#include "Tessaron/app/TessaronApplication.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "VelkinUI/KitButton.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/workspace/TabBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaron {

namespace {

// The ground every window of the application has.
QWidget* canvas(QWidget* parent = nullptr)
{
    auto* w = new QWidget(parent);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, TessaronPalette::canvas());
    w->setPalette(p);
    w->setAutoFillBackground(true);
    return w;
}

std::unique_ptr<QWidget> standardWidgets()
{
    std::unique_ptr<QWidget> sheet(canvas());
    sheet->resize(760, 560);
    auto* outer = new QVBoxLayout(sheet.get());
    outer->setContentsMargins(0, 0, 0, 16);

    auto* bar = new QMenuBar(sheet.get());
    bar->addMenu(QStringLiteral("Tessaron MQ"));
    bar->addMenu(QStringLiteral("Broker"));
    outer->addWidget(bar);

    auto* columns = new QHBoxLayout;
    columns->setContentsMargins(16, 8, 16, 0);
    columns->setSpacing(18);
    outer->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    auto* filled = new QLineEdit(QStringLiteral("localhost:9092"));
    auto* empty = new QLineEdit;
    empty->setPlaceholderText(QStringLiteral("host:port"));
    auto* disabled = new QLineEdit(QStringLiteral("not editable"));
    disabled->setEnabled(false);
    auto* combo = new QComboBox;
    combo->addItems({QStringLiteral("PLAIN"), QStringLiteral("SCRAM-SHA-256"), QStringLiteral("SCRAM-SHA-512")});
    auto* spin = new QSpinBox;
    spin->setRange(1, 1000);
    spin->setValue(100);
    form->addRow(QStringLiteral("Filled"), filled);
    form->addRow(QStringLiteral("Placeholder"), empty);
    form->addRow(QStringLiteral("Disabled"), disabled);
    form->addRow(QStringLiteral("Combo box"), combo);
    form->addRow(QStringLiteral("Spin box"), spin);
    left->addLayout(form);

    auto* group = new QGroupBox(QStringLiteral("Check boxes"));
    auto* checks = new QVBoxLayout(group);
    auto* on = new QCheckBox(QStringLiteral("Checked"));
    on->setChecked(true);
    checks->addWidget(on);
    checks->addWidget(new QCheckBox(QStringLiteral("Unchecked")));
    auto* off = new QCheckBox(QStringLiteral("Disabled"));
    off->setEnabled(false);
    checks->addWidget(off);
    auto* radio = new QRadioButton(QStringLiteral("Radio, chosen"));
    radio->setChecked(true);
    checks->addWidget(radio);
    left->addWidget(group);

    auto* buttons = new QHBoxLayout;
    auto* primary = new QPushButton(QStringLiteral("Default"));
    primary->setDefault(true);
    buttons->addWidget(primary);
    buttons->addWidget(new QPushButton(QStringLiteral("Button")));
    auto* inert = new QPushButton(QStringLiteral("Disabled"));
    inert->setEnabled(false);
    buttons->addWidget(inert);
    left->addLayout(buttons);
    auto* progress = new QProgressBar;
    progress->setValue(62);
    left->addWidget(progress);
    left->addStretch(1);
    columns->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* tabs = new QTabBar;
    tabs->addTab(QStringLiteral("Topics"));
    tabs->addTab(QStringLiteral("Groups"));
    tabs->addTab(QStringLiteral("Can't see"));
    right->addWidget(tabs);
    auto* list = new QListWidget;
    for (int i = 0; i < 30; ++i)
        list->addItem(QStringLiteral("orders.v%1").arg(i + 1));
    list->setCurrentRow(2);
    list->setFixedHeight(170);
    right->addWidget(list);
    auto* tree = new QTreeWidget;
    tree->setHeaderLabels({QStringLiteral("Partition"), QStringLiteral("Lag")});
    for (int i = 0; i < 4; ++i)
        new QTreeWidgetItem(tree, {QString::number(i), QString::number((i + 1) * 137)});
    tree->setFixedHeight(120);
    right->addWidget(tree);
    auto* text = new QPlainTextEdit(QStringLiteral("{\n  \"id\": 42,\n  \"status\": \"shipped\"\n}"));
    right->addWidget(text);
    columns->addLayout(right, 1);
    return sheet;
}

std::unique_ptr<QMenu> sampleMenu()
{
    auto menu = std::make_unique<QMenu>();
    menu->addAction(QStringLiteral("Open another broker"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    auto* close = menu->addAction(QStringLiteral("Close this broker"));
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    close->setEnabled(false);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Refresh Topics"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    menu->addAction(QStringLiteral("Reread Messages"))->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    menu->setActiveAction(menu->actions().first());
    return menu;
}

std::unique_ptr<QDialog> sampleDialog()
{
    auto dialog = std::make_unique<QDialog>();
    dialog->resize(420, 180);
    auto* layout = new QVBoxLayout(dialog.get());
    auto* text = new QLabel(QStringLiteral("Forget this broker? Its passwords leave the keyring too."));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* field = new QLineEdit;
    field->setPlaceholderText(QStringLiteral("Type its name to confirm"));
    layout->addWidget(field);
    layout->addStretch(1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel | QDialogButtonBox::Ok);
    layout->addWidget(box);
    return dialog;
}

// Three tabs: a connected Kafka broker (selected), one still connecting, one that failed.
void shootTabs(ScreenShooter& shooter)
{
    auto clients = std::make_shared<fakes::FakeFactory>();
    clients->kafka->listed = QList<Topic>{fakes::topic(QStringLiteral("orders"), {{0, 10}})};
    auto app = std::make_unique<AppState>(clients);

    const Broker connected = fakes::kafkaBroker(QStringLiteral("Production Kafka"));
    app->open(connected);
    // Connected means listed: wait for the keyring and the listing, not a fixed number of turns.
    QDeadlineTimer listing(5000);
    while (!app->activeSession()->isConnected() && !listing.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    auto gate = clients->kafka->gates.hold(QStringLiteral("topics"));
    app->open(fakes::kafkaBroker(QStringLiteral("Staging")));
    clients->makeError = KafkaError(-1, QStringLiteral("connection refused"));
    app->open(fakes::kafkaBroker(QStringLiteral("Legacy cluster")));
    flushEvents();
    app->setSelected(connected.id);

    {
        // The frame alone: no notes of a new version over it.
        ViewFactories views = TessaronApplication::standardViews();
        views.whatsNew = [](AppState*, QWidget*) -> QDialog* { return nullptr; };
        RootView root(app.get(), views);
        root.resize(1020, 140);
        showBriefingChart(&root);
        shooter.shoot(QStringLiteral("tabs"), QStringLiteral("connected-connecting-failed"), &root);

        // The pointer over an unselected tab brings its close button.
        TabChip* hovered = root.tabBar()->chips().value(1);
        if (hovered) {
            QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
            QApplication::sendEvent(hovered, &enter);
        }
        shooter.shoot(QStringLiteral("tabs"), QStringLiteral("hover"), &root);
    }
    gate->release();
    flushEvents();
}

} // namespace

void shootApp(ScreenShooter& shooter)
{
    {
        auto sheet = standardWidgets();
        shooter.shoot(QStringLiteral("style"), QStringLiteral("widgets"), sheet.get());
    }
    {
        auto menu = sampleMenu();
        shooter.shoot(QStringLiteral("style"), QStringLiteral("menu"), menu.get());
    }
    {
        auto dialog = sampleDialog();
        shooter.shoot(QStringLiteral("style"), QStringLiteral("dialog"), dialog.get());
    }
    {
        // The keyboard focus ring on a kit button, as after Tab.
        auto window = std::make_unique<QWidget>();
        QPalette p = window->palette();
        p.setColor(QPalette::Window, TessaronPalette::canvas());
        window->setPalette(p);
        window->setAutoFillBackground(true);
        auto* row = new QHBoxLayout(window.get());
        row->setContentsMargins(24, 24, 24, 24);
        row->setSpacing(14);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"));
        auto* file = new KitButton(QStringLiteral("File it"), std::make_unique<PrimaryButtonStyle>());
        file->setTrailingSymbol(QStringLiteral("pawprint.fill"));
        file->setSymbolSpacing(12);
        row->addWidget(cancel);
        row->addWidget(file);
        window->resize(320, 90);
        window->show();
        window->setAttribute(Qt::WA_KeyboardFocusChange);
        file->setFocus(Qt::TabFocusReason);
        flushEvents();
        shooter.shoot(QStringLiteral("style"), QStringLiteral("focus-ring"), window.get());
    }
    shootTabs(shooter);
}

} // namespace tessaron
