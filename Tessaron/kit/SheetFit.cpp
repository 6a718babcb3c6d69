#include "Tessaron/kit/SheetFit.h"

#include <QApplication>
#include <QScrollArea>

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace tessaron::SheetFit {

namespace {

// Watches the sheet (shown, re-parented) and the window under it (resized) and fits the sheet.
class Follower : public QObject {
public:
    Follower(QWidget* sheet, QSize ideal)
        : QObject(sheet)
        , m_sheet(sheet)
        , m_ideal(ideal)
    {
        sheet->installEventFilter(this);
        watchHost();
        fit();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_sheet) {
            if (event->type() == QEvent::ParentChange) {
                watchHost();
                fit();
            } else if (event->type() == QEvent::Show) {
                fit();
            }
        } else if (watched == m_host && event->type() == QEvent::Resize) {
            fit();
        }
        return false;
    }

private:
    QWidget* host() const { return m_sheet->parentWidget() ? m_sheet->parentWidget()->window() : nullptr; }

    void watchHost()
    {
        QWidget* next = host();
        if (next == m_host)
            return;
        if (m_host)
            m_host->removeEventFilter(this);
        m_host = next;
        if (m_host)
            m_host->installEventFilter(this);
    }

    void fit()
    {
        const QSize size = fitted(m_ideal, m_host);
        if (m_sheet->size() != size || m_sheet->minimumSize() != size || m_sheet->maximumSize() != size)
            m_sheet->setFixedSize(size);
        // A sheet on screen stays centred over its window as that window changes size.
        if (m_host && m_sheet->isWindow() && m_sheet->isVisible()) {
            const QRect over = m_host->frameGeometry();
            m_sheet->move(over.center() - QPoint(size.width() / 2, size.height() / 2));
        }
    }

    QWidget* m_sheet;
    QSize m_ideal;
    QPointer<QWidget> m_host;
};

} // namespace

QSize fitted(QSize ideal, const QWidget* host)
{
    if (!host)
        return ideal;
    const QSize room = (host->size() - QSize(2 * margin, 2 * margin)).expandedTo(smallest.boundedTo(ideal));
    return ideal.boundedTo(room);
}

void follow(QWidget* sheet, QSize ideal) { new Follower(sheet, ideal); }

void keepFocusInView(QScrollArea* area)
{
    QObject::connect(qApp, &QApplication::focusChanged, area, [area](QWidget*, QWidget* now) {
        if (!now || !area->widget() || !area->widget()->isAncestorOf(now))
            return;
        // The whole control, not only its text cursor (which is all ensureWidgetVisible asks for
        // a text field): its bottom first, then its top, which wins when it cannot all be shown.
        const QPoint at = now->mapTo(area->widget(), QPoint(0, 0));
        area->ensureVisible(at.x(), at.y() + now->height(), 8, 8);
        area->ensureVisible(at.x(), at.y(), 8, 8);
    });
}

} // namespace tessaron::SheetFit
