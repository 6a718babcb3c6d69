// What a person sees, under the application's own style: the face audit finds what it should,
// colours a view sets survive re-parenting, the keyboard focus shows a ring, and text from data
// that looks like markup stays text, hovered or not.
#include "support/FaceAudit.h"
#include "support/SessionFakes.h"

#include "Tessaron/actions/ProduceSheet.h"
#include "Tessaron/actions/ResetOffsetsSheet.h"
#include "Tessaron/app/AppStyle.h"
#include "Tessaron/app/TessaronApplication.h"
#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/casework/ConsumerGroupView.h"
#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/kit/PlainText.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/reception/BrokerFormSheet.h"
#include "Tessaron/workspace/TopicListView.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/PaintedText.h"
#include "VelkinUI/PlainButtonStyle.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStringListModel>
#include <QStyledItemDelegate>
#include <QTest>
#include <QToolTip>

using namespace tessaron;
using testing::FaceAudit;
using testing::FaceViolation;

namespace {

const QColor orange(0xff, 0x9f, 0x0a);
const QColor amberGround(0xff, 0xb3, 0x40);

QWidget* ground(const QColor& colour, QWidget* parent = nullptr)
{
    auto* w = new QWidget(parent);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
    return w;
}

bool flagged(const QList<FaceViolation>& found, const QString& rule, const QString& widget)
{
    return std::any_of(found.begin(), found.end(),
                       [&](const FaceViolation& v) { return v.rule == rule && v.widget.contains(widget); });
}

QString listed(const QList<FaceViolation>& found)
{
    QStringList lines;
    for (const FaceViolation& v : found)
        lines << v.toString();
    return lines.join('\n');
}

// Whether `image` holds a pixel close to `colour` (text cores are drawn in their full colour).
bool shows(const QImage& image, const QColor& colour)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = rgb.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                    + std::abs(c.blue() - colour.blue())
                < 30)
                return true;
        }
    }
    return false;
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void hover(QWidget* widget, QPoint at)
{
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    QTest::qWait(60);
}

// Hovers the centre of every widget shown in `window`; a tooltip or a popover may take a widget away
// meanwhile.
void hoverEverything(QWidget* window)
{
    QList<QPointer<QWidget>> widgets;
    for (QWidget* w : window->findChildren<QWidget*>())
        widgets << w;
    for (const QPointer<QWidget>& w : widgets) {
        if (w && w->isVisible())
            hover(w, w->rect().center());
    }
}

} // namespace

class TestFace : public QObject {
    Q_OBJECT
private slots:
    void theAuditFindsEveryKindOfFault()
    {
        std::unique_ptr<QWidget> root(ground(TessaronPalette::canvas()));
        root->resize(420, 240);
        const QFont body = KitFont::font(12);

        QWidget* amber = ground(amberGround, root.get());
        amber->setGeometry(10, 10, 120, 30);
        PlainText::label(QStringLiteral("Open"), body, Qt::white, amber)->setGeometry(8, 4, 100, 22);
        PlainText::label(QStringLiteral("Open darkly"), body, TessaronPalette::canvas(), amber)->hide();

        PlainText::label(QStringLiteral("Readable"), body, TessaronPalette::ink(), root.get())
            ->setGeometry(10, 50, 120, 22);
        PlainText::label(QStringLiteral("Dim"), body, QColor(0x30, 0x2f, 0x33), root.get())
            ->setGeometry(150, 50, 60, 22);
        PlainText::label(QStringLiteral("Under"), body, TessaronPalette::ink(), root.get())
            ->setGeometry(10, 80, 80, 22);
        PlainText::label(QStringLiteral("Over"), body, TessaronPalette::ink(), root.get())->setGeometry(40, 84, 80, 22);
        QLabel* past = PlainText::label(QStringLiteral("Past the edge"), body, TessaronPalette::ink(), root.get());
        past->setGeometry(370, 110, 120, 22);
        PlainText::label(QStringLiteral("Far too long a sentence for its box"), body, TessaronPalette::ink(),
                         root.get())
            ->setGeometry(10, 140, 60, 22);
        auto* rich = new QLabel(FaceAudit::hostileTexts().at(1), root.get());
        rich->setGeometry(150, 140, 120, 22);
        auto* elided = new ElidedLabel(FaceAudit::hostileTexts().at(0) + QStringLiteral(" and a long tail"), body,
                                       TessaronPalette::ink(), Qt::ElideMiddle, root.get());
        elided->setGeometry(290, 140, 60, 22);
        auto* bare = new QPushButton(root.get());
        bare->setIcon(QApplication::style()->standardIcon(QStyle::SP_DialogCloseButton));
        bare->setGeometry(10, 180, 30, 30);
        auto* named = new QPushButton(root.get());
        named->setAccessibleName(QStringLiteral("Close"));
        named->setGeometry(50, 180, 30, 30);
        root->show();
        QVERIFY(QTest::qWaitForWindowExposed(root.get()));

        for (const int scale : {1, 2}) {
            const QList<FaceViolation> found = FaceAudit().audit(root.get(), QStringLiteral("test"), scale);
            const QString all = listed(found);
            QVERIFY2(flagged(found, "contrast", "\"Open\""), qPrintable(all));
            QVERIFY2(flagged(found, "contrast", "\"Dim\""), qPrintable(all));
            QVERIFY2(!flagged(found, "contrast", "\"Readable\""), qPrintable(all));
            QVERIFY2(!flagged(found, "contrast", "Open darkly"), qPrintable(all)); // hidden
            QVERIFY2(flagged(found, "overlap", "\"Under\"") || flagged(found, "overlap", "\"Over\""), qPrintable(all));
            QVERIFY2(flagged(found, "cut", "Past the edge"), qPrintable(all));
            QVERIFY2(flagged(found, "room", "Far too long"), qPrintable(all));
            QVERIFY2(flagged(found, "rich", "QLabel"), qPrintable(all));
            // An elided line whose tooltip carries its whole text, escaped, is neither short of
            // room nor rich.
            QVERIFY2(!flagged(found, "room", "ElidedLabel"), qPrintable(all));
            QVERIFY2(!flagged(found, "rich", "ElidedLabel"), qPrintable(all));
            QVERIFY2(flagged(found, "unnamed", "QPushButton"), qPrintable(all));
            QCOMPARE(
                std::count_if(found.begin(), found.end(), [](const FaceViolation& v) { return v.rule == "unnamed"; }),
                1);

            const QList<FaceViolation> left =
                FaceAudit::excuse(found, {{"^test", "contrast", "\"Dim\"", "a test of the list of exceptions"}});
            QCOMPARE(left.size(), found.size() - 1);
        }

        // The outcome hook: a block that runs past what the sheet shows is out of view.
        QVERIFY(FaceAudit::outcomeInView(root.get(), elided, "test").isEmpty());
        QCOMPARE(FaceAudit::outcomeInView(root.get(), past, "test").size(), 1);
    }

    void paintedTextIsReadLikeALabel()
    {
        // A widget and a list's delegate that paint their texts: a dim time beside a bright name is
        // caught in each, and a text wider than its box is short of room.
        const QColor dim(0x4a, 0x4a, 0x4a);
        struct Painted : QWidget {
            QColor dim;
            void paintEvent(QPaintEvent*) override
            {
                QPainter p(this);
                p.setPen(Qt::white);
                PaintedText::draw(p, QRectF(0, 0, 80, 20), Qt::AlignLeft | Qt::AlignVCenter, "Bright name");
                PaintedText::draw(p, QRectF(0, 24, 30, 20), Qt::AlignLeft | Qt::AlignVCenter, "Far too long for it");
                p.setPen(dim);
                PaintedText::draw(p, QRectF(90, 0, 60, 20), Qt::AlignLeft | Qt::AlignVCenter, "Dim 12 min");
            }
        };
        struct Rows : QStyledItemDelegate {
            QColor dim;
            void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
            {
                p->setPen(Qt::white);
                PaintedText::draw(*p, QRectF(option.rect).adjusted(4, 0, -80, 0), Qt::AlignLeft | Qt::AlignVCenter,
                                  index.data().toString());
                p->setPen(dim);
                PaintedText::draw(*p, QRectF(option.rect.right() - 70, option.rect.top(), 60, option.rect.height()),
                                  Qt::AlignLeft | Qt::AlignVCenter, "3 min ago");
            }
        };
        std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
        window->resize(320, 200);
        auto* painted = new Painted;
        painted->dim = dim;
        painted->setParent(window.get());
        painted->setGeometry(10, 10, 200, 50);
        auto* list = new QListView(window.get());
        list->setGeometry(10, 70, 300, 100);
        list->setModel(new QStringListModel({"orders", "payments"}, list));
        auto* rows = new Rows;
        rows->dim = dim;
        rows->setParent(list);
        list->setItemDelegate(rows);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QList<FaceViolation> found = FaceAudit().audit(window.get(), "painted-planted");
        const QString all = listed(found);
        QVERIFY2(flagged(found, "contrast", "\"Dim 12 min\""), qPrintable(all));
        QVERIFY2(!flagged(found, "contrast", "\"Bright name\""), qPrintable(all));
        QVERIFY2(flagged(found, "room", "\"Far too long for it\""), qPrintable(all));
        QVERIFY2(flagged(found, "contrast", "QListView \"3 min ago\""), qPrintable(all));
        QVERIFY2(!flagged(found, "contrast", "\"orders\""), qPrintable(all));
        QCOMPARE(found.first().where, QString("painted-planted"));
    }

    void onlyAScrollBarAPersonCanUseReachesWhatRunsPast()
    {
        // Content forced 180 px wider than the window, at the smallest and the largest size: its far
        // end is reached through a horizontal bar that shows and works, never through one switched
        // off or disabled.
        struct Bar {
            Qt::ScrollBarPolicy policy;
            bool enabled;
            bool cut;
        };
        for (const QSize size : {QSize(820, 520), QSize(2560, 1440)})
            for (const Bar bar : {Bar{Qt::ScrollBarAsNeeded, true, false}, Bar{Qt::ScrollBarAlwaysOff, true, true},
                                  Bar{Qt::ScrollBarAsNeeded, false, true}}) {
                const QString where = QStringLiteral("planted-wide en %1x%2 @1x").arg(size.width()).arg(size.height());
                std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
                window->resize(size);
                auto* area = new QScrollArea(window.get());
                area->setGeometry(window->rect());
                area->setWidgetResizable(true);
                area->setHorizontalScrollBarPolicy(bar.policy);
                area->horizontalScrollBar()->setEnabled(bar.enabled);
                auto* content = ground(TessaronPalette::canvas());
                content->setMinimumWidth(size.width() + 180);
                PlainText::label(QStringLiteral("The far end"), KitFont::font(12), TessaronPalette::ink(), content)
                    ->setGeometry(size.width() + 60, 20, 100, 22);
                area->setWidget(content);
                window->show();
                QVERIFY(QTest::qWaitForWindowExposed(window.get()));
                QCOMPARE(content->width(), size.width() + 180);

                const QList<FaceViolation> found = FaceAudit().audit(window.get(), where);
                const bool reported = std::any_of(found.begin(), found.end(), [&](const FaceViolation& v) {
                    return v.where == where && v.rule == "cut" && v.widget == "QLabel \"The far end\"";
                });
                QVERIFY2(reported == bar.cut, qPrintable(listed(found)));
            }
    }

    void markupThatNamesAFileIsJudgedWithoutLoadingIt()
    {
        // A label taking data as Qt::AutoText; only the audit runs before it is gone, so whatever
        // laid it out (to draw it or to size it) and read /dev/zero would be the audit.
        std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
        window->resize(320, 80);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const qint64 start = residentKiB();
        auto* label = new QLabel(window.get());
        label->setGeometry(10, 10, 200, 30);
        label->setText(FaceAudit::hostileTexts().at(0));
        label->show();
        const QList<FaceViolation> found = FaceAudit().audit(window.get(), "planted-image", 2);
        delete label;
        QVERIFY2(flagged(found, "rich", "QLabel"), qPrintable(listed(found)));
        const qint64 grown = residentKiB() - start;
        QVERIFY2(grown < 100 * 1024, qPrintable(QString("grew by %1 KiB").arg(grown)));
    }

    void coloursSurviveReparenting()
    {
        // Each kind of coloured text, drawn in one window, then moved into another that carries a
        // style sheet of its own (scoped by object name, as the screens allow).
        const QFont font = KitFont::font(16, QFont::Bold);
        std::unique_ptr<QWidget> first(ground(TessaronPalette::canvas()));
        std::unique_ptr<QWidget> second(ground(TessaronPalette::canvas()));
        second->setObjectName(QStringLiteral("host"));
        second->setStyleSheet(QStringLiteral("#host { border: 1px solid #333; }"));
        auto* firstRow = new QHBoxLayout(first.get());
        auto* secondRow = new QHBoxLayout(second.get());

        QLabel* label = PlainText::label(QStringLiteral("lag 7"), font, orange);
        auto* elided = new ElidedLabel(QStringLiteral("lag 8"), font, orange);
        auto* button = new KitButton(QStringLiteral("Move"), std::make_unique<ButtonStyle>());
        button->setFont(font);
        PlainText::setTextColor(button, orange);
        auto* content = new KitButton(QString(), std::make_unique<ButtonStyle>());
        auto* inside = new QWidget;
        auto* insideRow = new QHBoxLayout(inside);
        insideRow->addWidget(PlainText::label(QStringLiteral("Open"), font, orange));
        content->setContent(inside);
        const QList<QWidget*> kinds{label, elided, button, content};
        for (QWidget* w : kinds)
            firstRow->addWidget(w);
        first->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.get()));
        for (QWidget* w : kinds)
            QVERIFY2(shows(w->grab().toImage(), orange), w->metaObject()->className());

        for (QWidget* w : kinds)
            secondRow->addWidget(w);
        second->show();
        QVERIFY(QTest::qWaitForWindowExposed(second.get()));
        for (QWidget* w : kinds) {
            QCOMPARE(w->parentWidget(), second.get());
            QVERIFY2(shows(w->grab().toImage(), orange), w->metaObject()->className());
        }
    }

    void keyboardFocusShowsARing()
    {
        std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
        auto* row = new QHBoxLayout(window.get());
        auto* field = new QLineEdit;
        auto* button = new KitButton(QStringLiteral("File it"),
                                     std::make_unique<PlainButtonStyle>(KitFont::font(12), TessaronPalette::ink()));
        button->setFocusPolicy(Qt::StrongFocus);
        row->addWidget(field);
        row->addWidget(button);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        field->setFocus();
        const QImage before = button->grab().toImage();
        const QColor accent = TessaronPalette::accent();
        QVERIFY(!shows(before, accent));
        QTest::keyClick(field, Qt::Key_Tab);
        QVERIFY(button->hasFocus());
        QVERIFY(shows(button->grab().toImage(), accent));
        // The field draws one too while it has the focus.
        QTest::keyClick(button, Qt::Key_Backtab);
        QVERIFY(field->hasFocus());
        QVERIFY(shows(field->grab().toImage(), accent));
    }

    void markupFromDataStaysTextWhenHovered()
    {
        const QString hostile = FaceAudit::hostileTexts().at(0);
        const qint64 start = residentKiB();

        // A queue named like markup, in the sidebar, searched for by typing it.
        auto clients = std::make_shared<fakes::FakeFactory>();
        Broker broker = fakes::rabbitBroker(QStringLiteral("rabbit"));
        clients->rabbit = std::make_shared<fakes::FakeRabbit>(broker);
        clients->rabbit->listing.queues = {fakes::queue(hostile, 3), fakes::queue(QStringLiteral("jobs"), 1)};
        AppState app(clients);
        app.open(broker);
        BrokerSession* session = app.activeSession();
        QTRY_VERIFY(session->topicsListed() && !session->isLoadingTopics());
        std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
        window->resize(320, 600);
        auto* sidebar = new TopicListView(&app, session, window.get());
        sidebar->setGeometry(window->rect());
        // A message key and a member id, as the exhibit and the group cards show them.
        auto* key = new ElidedLabel(hostile, KitFont::font(12), TessaronPalette::ink(), Qt::ElideMiddle, window.get());
        key->setGeometry(10, 560, 40, 20);
        auto* member = PlainText::label(hostile, KitFont::font(12), TessaronPalette::ink(), window.get());
        PlainText::setToolTip(member, hostile);
        member->setGeometry(60, 560, 40, 20);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        auto* search = sidebar->findChild<QLineEdit*>();
        QVERIFY(search);
        search->setFocus();
        QTest::keyClicks(search, hostile);
        QCOMPARE(session->search(), hostile);

        for (int round = 0; round < 3; ++round) {
            hoverEverything(window.get());
            auto* list = sidebar->findChild<QAbstractItemView*>();
            QVERIFY(list);
            for (int row = 0; row < list->model()->rowCount(); ++row)
                hover(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
        }
        // Whatever tooltip is up shows the text, not an image.
        if (QToolTip::isVisible())
            QVERIFY2(!QToolTip::text().contains(hostile), qPrintable(QToolTip::text()));
        QVERIFY(key->toolTip().contains(QStringLiteral("&lt;img")));
        QTest::qWait(200);
        const qint64 grown = residentKiB() - start;
        QVERIFY2(grown < 100 * 1024, qPrintable(QString("grew by %1 KiB").arg(grown)));
        QVERIFY(FaceAudit().audit(window.get(), "sidebar").size() >= 0);
        for (const FaceViolation& v : FaceAudit().audit(window.get(), "sidebar"))
            QVERIFY2(v.rule != "rich", qPrintable(v.toString()));
    }
    void aHostileKeyAndMemberStayTextInTheirOwnViews()
    {
        // The exhibit shows a message's key, the group screen a member's id and client: both
        // hovered everywhere, the process stays within 100 MB of where it started.
        const QString hostile = FaceAudit::hostileTexts().at(0);
        auto clients = std::make_shared<fakes::FakeFactory>();
        clients->kafka->listed = QList<Topic>{fakes::topic("orders", {{0, 1}})};
        clients->kafka->held["orders"][0] = {Message("orders", 0, 0, hostile.toUtf8(), QByteArray("{\"a\":1}"),
                                                     QDateTime::fromMSecsSinceEpoch(0, Qt::UTC), {})};
        clients->kafka->listedGroups = QList<ConsumerGroup>{{hostile, "Stable", false}};
        GroupDescription group{hostile, "Stable", "range", std::nullopt, {}};
        group.members = {{hostile, hostile, "/10.0.0.1", hostile, {{"orders", 0}}}};
        clients->kafka->descriptions.insert(hostile, group);
        clients->kafka->commits.insert(hostile, {{{"orders", 0}, 0}});
        AppState app(clients);
        std::unique_ptr<BrokerSession> session = fakes::connectedSession(clients, fakes::kafkaBroker("cluster"));
        session->setSelectedTopic(QStringLiteral("orders"));
        testing::syncWait(session->read(BrokerSession::Position::atTail(), 100, false));
        QCOMPARE(session->messages().size(), 1);
        session->setSelectedMessage(session->messages().first().id());
        session->setSelectedGroup(hostile);
        testing::syncWait(session->loadGroupDetail());

        const qint64 start = residentKiB();
        std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
        window->resize(1100, 700);
        auto* row = new QHBoxLayout(window.get());
        auto* exhibit = new ExhibitView(&app, session.get());
        auto* groupView = new ConsumerGroupView(&app, session.get());
        row->addWidget(exhibit, 1);
        row->addWidget(groupView, 1);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (int round = 0; round < 2; ++round)
            hoverEverything(window.get());
        if (QToolTip::isVisible())
            QVERIFY2(!QToolTip::text().contains(hostile), qPrintable(QToolTip::text()));
        const qint64 grown = residentKiB() - start;
        QVERIFY2(grown < 100 * 1024, qPrintable(QString("grew by %1 KiB").arg(grown)));
        for (const FaceViolation& v : FaceAudit().audit(window.get(), "exhibit and group"))
            QVERIFY2(v.rule != "rich", qPrintable(v.toString()));
        // The key and the member are on screen, as text.
        const QList<QLabel*> labels = window->findChildren<QLabel*>();
        QVERIFY(std::none_of(labels.begin(), labels.end(), [&](const QLabel* l) {
            return l->text().contains(hostile) && l->textFormat() != Qt::PlainText;
        }));
    }
    void aControlWithNoFocusChangeIsReportedByScreenStateAndWidget()
    {
        std::unique_ptr<QWidget> window(ground(TessaronPalette::canvas()));
        auto* row = new QHBoxLayout(window.get());
        row->addWidget(new QLineEdit);
        // Takes Tab between its own fields before it lets the focus go on.
        row->addWidget(new QDateTimeEdit(QDateTime(QDate(2026, 12, 10), QTime(9, 30))));
        // Takes the focus and draws nothing of it.
        auto* planted = new QWidget;
        planted->setObjectName(QStringLiteral("planted"));
        planted->setFocusPolicy(Qt::StrongFocus);
        planted->setMinimumSize(80, 24);
        row->addWidget(planted);
        row->addWidget(new QLineEdit);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QList<FaceViolation> found = FaceAudit::focusRings(window.get(), "reception-planted en 820x520");
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0].where, QStringLiteral("reception-planted en 820x520"));
        QCOMPARE(found[0].rule, QStringLiteral("focus"));
        QCOMPARE(found[0].widget, QStringLiteral("QWidget#planted"));
    }

    void everyControlOfTheSheetsShowsAFocusRing()
    {
        AccessibilitySettings::instance().setReduceMotion(true);
        auto clients = std::make_shared<fakes::FakeFactory>();
        clients->kafka->listed = QList<Topic>{fakes::topic("orders", {{0, 5}})};
        AppState app(clients);
        std::unique_ptr<BrokerSession> session = fakes::connectedSession(clients, fakes::kafkaBroker("cluster"));
        QList<FaceViolation> found;
        {
            ProduceSheet sheet(std::nullopt, nullptr, session.get());
            sheet.open();
            QVERIFY(QTest::qWaitForWindowActive(&sheet));
            found << FaceAudit::focusRings(&sheet, "produce");
        }
        {
            ResetOffsetsSheet sheet(ConsumerGroup{"billing", "Empty", false}, fakes::topic("orders", {{0, 5}}), nullptr,
                                    session.get());
            sheet.open();
            QVERIFY(QTest::qWaitForWindowActive(&sheet));
            found << FaceAudit::focusRings(&sheet, "reset");
        }
        {
            app.setEditing(fakes::kafkaBroker("new"));
            BrokerFormSheet sheet(&app);
            sheet.open();
            QVERIFY(QTest::qWaitForWindowActive(&sheet));
            found << FaceAudit::focusRings(&sheet, "form");
        }
        QVERIFY2(found.isEmpty(), qPrintable(listed(found)));
    }
};

int main(int argc, char** argv)
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    QApplication app(argc, argv);
    TessaronApplication::prepare(app);
    TestFace test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Face.moc"
