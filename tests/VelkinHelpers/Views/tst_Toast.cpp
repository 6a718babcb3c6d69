#include "VelkinHelpers/Toast.h"

#include "VelkinUI/KitFont.h"

#include "GalleryShot.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace tessaron;
using namespace std::chrono_literals;
using ms = std::chrono::milliseconds;

namespace {

// A clock the test moves by hand; dismissals fire when it passes their deadline.
class FakeClock {
public:
    struct Pending : QObject {
        ms due{};
        std::function<void()> fire;
    };

    ToastCenter::Scheduler scheduler()
    {
        return [this](ms delay, std::function<void()> fire) {
            auto task = std::make_unique<Pending>();
            task->due = now + delay;
            task->fire = std::move(fire);
            m_pending.append(task.get());
            return std::unique_ptr<QObject>(std::move(task));
        };
    }

    void advance(ms by)
    {
        const ms target = now + by;
        while (true) {
            Pending* next = nullptr;
            for (const QPointer<Pending>& p : std::as_const(m_pending)) {
                if (p && p->due <= target && (!next || p->due < next->due))
                    next = p;
            }
            if (!next)
                break;
            now = next->due;
            m_pending.removeAll(next);
            next->fire();
        }
        now = target;
    }

    int pending() const
    {
        return int(
            std::count_if(m_pending.begin(), m_pending.end(), [](const QPointer<Pending>& p) { return !p.isNull(); }));
    }

    ms now{0};

private:
    QList<QPointer<Pending>> m_pending;
};

QString messageOf(const ToastCenter& center) { return center.current() ? center.current()->message : QString(); }

} // namespace

class TestToast : public QObject {
    Q_OBJECT
private slots:
    void toastStaysItsKindsTime()
    {
        FakeClock clock;
        ToastCenter center(clock.scheduler());
        QVERIFY(!center.current());
        QVERIFY(!center.hasPendingDismissal());

        center.success("Saved");
        QCOMPARE(center.current()->kind, ToastCenter::Kind::success);
        QCOMPARE(messageOf(center), QStringLiteral("Saved"));
        clock.advance(2199ms);
        QVERIFY(center.current());
        clock.advance(1ms);
        QVERIFY(!center.current());
        QVERIFY(!center.hasPendingDismissal());

        center.error("Refused");
        clock.advance(3999ms);
        QCOMPARE(messageOf(center), QStringLiteral("Refused"));
        clock.advance(1ms);
        QVERIFY(!center.current());

        center.info("Note");
        QCOMPARE(center.current()->kind, ToastCenter::Kind::info);
        clock.advance(2200ms);
        QVERIFY(!center.current());
    }

    // Each new toast replaces the shown one at once and gets its own full time.
    void newerToastRestartsTheTime()
    {
        FakeClock clock;
        ToastCenter center(clock.scheduler());
        center.info("first");
        clock.advance(1000ms);
        center.info("second");
        QCOMPARE(messageOf(center), QStringLiteral("second"));
        QCOMPARE(clock.pending(), 1);
        clock.advance(2199ms);
        QCOMPARE(messageOf(center), QStringLiteral("second"));
        clock.advance(1ms);
        QVERIFY(!center.current());

        center.error("bad");
        clock.advance(500ms);
        center.success("good");
        clock.advance(2200ms);
        QVERIFY(!center.current());
        QCOMPARE(clock.pending(), 0);

        center.error("one");
        clock.advance(1000ms);
        center.error("two");
        clock.advance(3999ms);
        QCOMPARE(messageOf(center), QStringLiteral("two"));
        clock.advance(1ms);
        QVERIFY(!center.current());
    }

    void sameMessageMakesDistinctToasts()
    {
        FakeClock clock;
        ToastCenter center(clock.scheduler());
        QSignalSpy changes(&center, &ToastCenter::currentChanged);
        center.success("Copied");
        const ToastCenter::Toast first = *center.current();
        clock.advance(2000ms);
        center.success("Copied");
        QVERIFY(*center.current() != first);
        QCOMPARE(center.current()->message, first.message);
        QCOMPARE(changes.size(), 2);
        clock.advance(2000ms);
        QVERIFY(center.current());
        clock.advance(200ms);
        QVERIFY(!center.current());
        QCOMPARE(changes.size(), 3);
    }

    // The change signal fires only on a real change, including when a dismissal finds nothing.
    void clearingTwiceSignalsOnce()
    {
        FakeClock clock;
        ToastCenter center(clock.scheduler());
        QSignalSpy changes(&center, &ToastCenter::currentChanged);
        center.setCurrent(std::nullopt);
        QCOMPARE(changes.size(), 0);
        center.info("x");
        center.setCurrent(std::nullopt); // as a tap does
        clock.advance(2200ms);
        QCOMPARE(changes.size(), 2);
        QVERIFY(!changes.last().first().value<std::optional<ToastCenter::Toast>>());
        QCOMPARE(center.property("current").value<std::optional<ToastCenter::Toast>>(), center.current());
    }

    void releasedCentreIgnoresItsDismissal()
    {
        FakeClock clock;
        auto* center = new ToastCenter(clock.scheduler());
        center->error("gone soon");
        QCOMPARE(clock.pending(), 1);
        delete center;
        QCOMPARE(clock.pending(), 0);
        clock.advance(5000ms);
    }

    void realTimerClearsTheToast()
    {
        ToastCenter center;
        center.success("Done");
        QVERIFY(center.hasPendingDismissal());
        QTRY_VERIFY_WITH_TIMEOUT(!center.current(), 20000);
        QVERIFY(!center.hasPendingDismissal());
    }

    void kindsLook()
    {
        QCOMPARE(ToastCenter::timeOnScreen(ToastCenter::Kind::success), 2200ms);
        QCOMPARE(ToastCenter::timeOnScreen(ToastCenter::Kind::error), 4000ms);
        QCOMPARE(ToastCenter::timeOnScreen(ToastCenter::Kind::info), 2200ms);
        QCOMPARE(ToastCenter::symbol(ToastCenter::Kind::error), QStringLiteral("xmark.octagon.fill"));
        QVERIFY(ToastCenter::colour(ToastCenter::Kind::success) != ToastCenter::colour(ToastCenter::Kind::error));
    }

    // A tap removes the capsule at once; the tapped toast's dismissal cannot cut the next one short.
    void tapDismissesAndTheNextToastKeepsItsTime()
    {
        FakeClock clock;
        ToastCenter center(clock.scheduler());
        QWidget view;
        view.resize(480, 300);
        QCOMPARE(toasts(&view, &center), &view);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
        auto* overlay = view.findChild<ToastOverlay*>();
        QVERIFY(overlay);
        QVERIFY(!overlay->isVisible());

        center.info("Tap me");
        QVERIFY(overlay->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(overlay->presence(), 1.0, 20000);
        const QRectF capsule = overlay->capsule().translated(overlay->pos());
        QCOMPARE(qRound(capsule.bottom()), 300 - 28);
        QCOMPARE(qRound(capsule.center().x()), 240);

        // Outside the capsule, clicks are not ours.
        QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(center.current());
        QTest::mouseClick(overlay, Qt::LeftButton, {}, overlay->capsule().center().toPoint());
        QVERIFY(!center.current());
        QTRY_VERIFY_WITH_TIMEOUT(!overlay->isVisible(), 20000);

        clock.advance(1000ms);
        center.success("Next");
        clock.advance(1200ms); // the tapped toast's time is up here, but its dismissal was replaced
        QCOMPARE(messageOf(center), QStringLiteral("Next"));
        clock.advance(1000ms);
        QVERIFY(!center.current());
    }

    void capsuleFitsItsMessage()
    {
        ToastCenter center([](ms, std::function<void()>) { return std::make_unique<QObject>(); });
        QWidget view;
        view.resize(480, 300);
        toasts(&view, &center);
        auto* overlay = view.findChild<ToastOverlay*>();
        const double line = QFontMetricsF(KitFont::font(12, QFont::Medium)).lineSpacing();

        center.info("");
        QCOMPARE(overlay->capsule().size(), QSizeF(16 + 13 + 16, 11 + 13 + 11)); // the icon alone
        center.info("short");
        QTRY_COMPARE_WITH_TIMEOUT(overlay->capsule().height(), 22 + std::max(13.0, line), 20000);
        center.info(QString("word ").repeated(80));
        QTRY_COMPARE_WITH_TIMEOUT(overlay->capsule().height(), 22 + 2 * line, 20000); // two lines at most
        QVERIFY(overlay->capsule().width() <= 480);
    }

    void gallery()
    {
        struct Case {
            const char* name;
            ToastCenter::Kind kind;
            QString message;
        };
        const QList<Case> cases{
            {"toast-success", ToastCenter::Kind::success, "Filed on orders.v2"},
            {"toast-error", ToastCenter::Kind::error, "The broker refused the write: not enough replicas."},
            {"toast-info", ToastCenter::Kind::info, "Reading from the newest messages"},
            {"toast-long", ToastCenter::Kind::info,
             QString("A long toast keeps to two lines and ends with an ellipsis ").repeated(4)},
            {"toast-empty", ToastCenter::Kind::success, ""},
        };
        for (const Case& c : cases) {
            ToastCenter center([](ms, std::function<void()>) { return std::make_unique<QObject>(); });
            QWidget view;
            view.resize(420, 160);
            toasts(&view, &center);
            view.setAttribute(Qt::WA_DontShowOnScreen);
            view.show();
            center.show(c.message, c.kind);
            auto* overlay = view.findChild<ToastOverlay*>();
            QTRY_COMPARE_WITH_TIMEOUT(overlay->presence(), 1.0, 20000);
            const QImage shot = GalleryShot::save(&view, c.name, view.size());
            // The capsule's fill stands out from the panel behind it.
            const QPoint inside = (overlay->capsule().translated(overlay->pos()).topLeft() + QPointF(20, 4)).toPoint();
            QVERIFY(shot.pixelColor(inside) != QColor(24, 22, 32));
        }
    }
};

QTEST_MAIN(TestToast)
#include "tst_Toast.moc"
