#include "ScreenShooter.h"

#include "UnnamedButtons.h"
#include "VelkinUI/KeyframePlayer.h"

#include <QApplication>
#include <QDialog>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QWidget>

#include <algorithm>

namespace tessaron {

// Both wait between passes rather than spin: the audits run side by side and share the cores.
void waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    QApplication::processEvents();
}

void restFor(int ms) { QTest::qWait(ms); }

void settleLayout(QWidget* root, int timeoutMs)
{
    auto geometry = [root] {
        QList<QRect> all{root->geometry()};
        for (const QWidget* child : root->findChildren<QWidget*>())
            all << child->geometry();
        return all;
    };
    QDeadlineTimer deadline(timeoutMs);
    QList<QRect> last = geometry();
    for (int still = 0; still < 3 && !deadline.hasExpired();) {
        QApplication::processEvents();
        // What those events posted (a layout after an answer changed a text) runs before measuring.
        QApplication::sendPostedEvents();
        QThread::msleep(5);
        QList<QRect> now = geometry();
        still = now == last ? still + 1 : 0;
        last = std::move(now);
    }
}

void flushEvents()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void showBriefingChart(QWidget* root)
{
    root->show();
    waitUntil([root] {
        auto* chart = root->findChild<QWidget*>(QStringLiteral("retainedChart"));
        return chart && chart->isVisible() && !chart->graphicsEffect();
    });
}

ScreenShooter::ScreenShooter(QString folder)
    : m_folder(std::move(folder))
{
    QDir().mkpath(m_folder);
}

ScreenShooter::ScreenShooter(QSize window, QString label)
    : m_window(window)
    , m_label(std::move(label))
{ }

namespace {

// TESSARON_FACE_PLANT=rich plants a fault to prove the audit finds it: every label showing text
// from the fakes' markup is switched to rich text while the audit runs (and nothing else may lay
// it out meanwhile), so the audit must report each, and load nothing it names.
QList<std::pair<QLabel*, Qt::TextFormat>> plantRichText(QWidget* widget)
{
    QList<std::pair<QLabel*, Qt::TextFormat>> planted;
    if (qgetenv("TESSARON_FACE_PLANT") != "rich")
        return planted;
    const QStringList& hostile = testing::FaceAudit::hostileTexts();
    for (QLabel* label : widget->findChildren<QLabel*>()) {
        if (std::any_of(hostile.begin(), hostile.end(),
                        [label](const QString& t) { return label->text().contains(t); })) {
            planted.append({label, label->textFormat()});
            label->setTextFormat(Qt::AutoText);
        }
    }
    return planted;
}

} // namespace

void ScreenShooter::audit(const QString& where, QWidget* widget, QWidget* outcome)
{
    // A sheet never outgrows the window it sits over; a window-sized screen is the window.
    const QSize size = widget->size();
    // A frame without a layout holds the screen at its full size: the screen follows the frame.
    QList<std::pair<QWidget*, QRect>> filling;
    if (!widget->layout()) {
        for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow() && child->geometry() == widget->rect())
                filling.append({child, child->geometry()});
        }
    }
    if (qobject_cast<QDialog*>(widget))
        widget->resize(size.boundedTo(*m_window));
    else if (size.width() >= 700)
        widget->resize(*m_window);
    for (const auto& [child, geometry] : filling)
        child->setGeometry(widget->rect());
    if (widget->layout())
        widget->layout()->activate();
    QApplication::processEvents();
    QApplication::processEvents();
    // A screen that reflows (columns, wrapped lines) settles over a few posted layouts: wait until
    // nothing in it has moved for a few passes.
    if (widget->size() != size)
        settleLayout(widget);
    // An answer that landed in the last pass (a search done while we waited) has changed a text whose
    // layout request is still queued: every layout is brought up to date before anything is measured.
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    for (QWidget* inner : widget->findChildren<QWidget*>())
        if (inner->layout())
            inner->layout()->activate();
    testing::FaceAudit audit;
    const auto planted = plantRichText(widget);
    for (const int scale : {1, 2})
        m_violations << audit.audit(widget, QStringLiteral("%1 %2 @%3x").arg(where, m_label).arg(scale), scale);
    for (const auto& [label, format] : planted)
        label->setTextFormat(format);
    if (outcome)
        m_violations << testing::FaceAudit::outcomeInView(widget, outcome, where + QLatin1Char(' ') + m_label);
    auditFocus(where, widget);
    ++m_audited;
    widget->resize(size);
    for (const auto& [child, geometry] : filling)
        child->setGeometry(geometry);
}

void ScreenShooter::auditFocus(const QString& where, QWidget* widget)
{
    QWidget* window = widget->window();
    // A tooltip or a menu takes no Tab stop: nothing to go round.
    const QList<QWidget*> inside = window->findChildren<QWidget*>();
    if (std::none_of(inside.begin(), inside.end(), [](const QWidget* w) {
            return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled();
        }))
        return;
    const QPointer<QWidget> had = window->focusWidget();
    const bool keyboard = window->testAttribute(Qt::WA_KeyboardFocusChange);
    window->activateWindow();
    waitUntil([window] { return window->isActiveWindow(); }, 1000);
    if (!window->isActiveWindow()) {
        m_violations << testing::FaceViolation{where + QLatin1Char(' ') + m_label, QStringLiteral("focus"),
                                               QStringLiteral("(window)"),
                                               QStringLiteral("the window could not be made active to Tab through")};
        return;
    }
    m_violations << testing::FaceAudit::focusRings(window, where + QLatin1Char(' ') + m_label);
    if (QWidget* now = window->focusWidget())
        now->clearFocus();
    if (had)
        had->setFocus(Qt::OtherFocusReason);
    window->setAttribute(Qt::WA_KeyboardFocusChange, keyboard);
    flushEvents();
}

bool ScreenShooter::shoot(const QString& screen, const QString& state, QWidget* widget, QWidget* outcome)
{
    if (!widget->isVisible())
        widget->show();
    widget->ensurePolished();
    if (widget->layout())
        widget->layout()->activate();
    // Twice: a layout pass can post further resize and paint events.
    QApplication::processEvents();
    QApplication::processEvents();

    // A decoration still playing (a stamp slammed down) is measured and pictured where it comes to
    // rest: on a loaded machine the state is reached before its keyframes end.
    waitUntil(
        [widget] {
            const QList<KeyframePlayer*> players = widget->findChildren<KeyframePlayer*>();
            return std::none_of(players.begin(), players.end(), [](const KeyframePlayer* p) { return p->isRunning(); });
        },
        3000);

    // TESSARON_FACE_STATES=WORD audits only the states whose name holds it.
    if (const QString only = qEnvironmentVariable("TESSARON_FACE_STATES"); m_window && !state.contains(only))
        return true;
    // In every language and window size the audit runs in, as in the pictures.
    for (const QString& button : unnamedButtons(widget))
        m_unnamed << screen + QLatin1Char('-') + state + (m_window ? QLatin1Char(' ') + m_label : QString())
                + QStringLiteral(": ") + button;
    if (m_window) {
        audit(screen + QLatin1Char('-') + state, widget, outcome);
        return true;
    }

    const QString base = m_folder + QLatin1Char('/') + screen + QLatin1Char('-') + state;
    bool ok = true;
    for (const int scale : {1, 2}) {
        QImage image(widget->size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            widget->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        }
        const QString path = base + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
        if (image.save(path)) {
            m_written << path;
        } else {
            m_failures << path;
            ok = false;
        }
    }
    return ok;
}

} // namespace tessaron
