#include "Tessaron/actions/ActionPage.h"

#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/kit/TessaronBackdrop.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/LogoMark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tessaron {

using namespace ActionStyle;

namespace {

// A 1-point line in white at `opacity`.
QWidget* hairline(double opacity, QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, white(opacity));
    line->setPalette(p);
    return line;
}

} // namespace

QColor ActionPage::tint(Weight weight) { return weight == Weight::routine ? accent() : warningOrange(); }

ActionPage::ActionPage(const QString& title, const QString& subtitle, Weight weight, QWidget* parent)
    : QWidget(parent)
    , m_weight(weight)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ink());
    p.setColor(QPalette::Text, ink());
    p.setColor(QPalette::Highlight, accent());
    setPalette(p);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Header.
    auto* header = new QWidget(this);
    auto* headerColumn = new QVBoxLayout(header);
    headerColumn->setContentsMargins(28, 18, 28, 16);
    headerColumn->setSpacing(14);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(new LogoMark(26, header));
    // The product's wordmark is a name, not a text to translate.
    row->addWidget(
        label(QStringLiteral("tessaron"), KitFont::font(15, QFont::Bold, FontDesign::rounded), ink(), header));
    m_subtitle = ElidedLabel::filling(subtitle, KitFont::font(9, QFont::Medium, FontDesign::monospaced), muted(),
                                      Qt::ElideMiddle, header);
    m_subtitle->setAlignment(Qt::AlignRight);
    row->addWidget(m_subtitle, 1);
    headerColumn->addLayout(row);
    m_title = new ScreenTitle(title, QString(), 27, header);
    // The title has no accented second part: its empty line takes no room.
    m_title->accentLine()->hide();
    headerColumn->addWidget(m_title);
    column->addWidget(header);
    column->addWidget(hairline(0.08, this));

    // Body.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setObjectName(QStringLiteral("actionScroll"));
    // The controls inside take the focus, each scrolled into view; the area itself is no stop.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    SheetFit::keepFocusInView(m_scroll);
    TessaronPalette::seeThrough(m_scroll);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto* body = new QWidget;
    body->setAutoFillBackground(false);
    auto* bodyColumn = new QVBoxLayout(body);
    bodyColumn->setContentsMargins(28, 22, 28, 20);
    bodyColumn->setSpacing(0);
    m_content = new QVBoxLayout;
    m_content->setContentsMargins(0, 0, 0, 0);
    m_content->setSpacing(14);
    bodyColumn->addLayout(m_content);
    // Short content keeps to the top instead of spreading over the page.
    bodyColumn->addStretch(1);
    m_scroll->setWidget(body);
    // The body grows after a widget is added to it, a turn of the event loop later: a revealed
    // widget is brought into view again once the scroll range knows the new height.
    connect(m_scroll->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { followRevealed(); });
    // The scroll area fills its widget's background; the backdrop should show through.
    body->setAutoFillBackground(false);
    column->addWidget(m_scroll, 1);

    // Footer band.
    auto* band = new QWidget(this);
    band->setAutoFillBackground(true);
    QPalette bp = band->palette();
    bp.setColor(QPalette::Window, withOpacity(windowDark(), 0.9));
    band->setPalette(bp);
    auto* bandColumn = new QVBoxLayout(band);
    bandColumn->setContentsMargins(0, 0, 0, 0);
    bandColumn->setSpacing(0);
    auto* rule = new QHBoxLayout;
    rule->setContentsMargins(28, 14, 28, 0);
    rule->setSpacing(8);
    rule->addWidget(hairline(0.10, band), 1, Qt::AlignVCenter);
    QLabel* signedWord = label(L10n::t("SIGNED"), KitFont::font(7.5, QFont::Black, FontDesign::monospaced, 1.2),
                               withOpacity(muted(), 0.8), band);
    rule->addWidget(signedWord);
    LanguageChange::onChange(signedWord, [signedWord] { signedWord->setText(L10n::t("SIGNED")); });
    rule->addWidget(hairline(0.10, band), 1, Qt::AlignVCenter);
    bandColumn->addLayout(rule);
    m_footer = new QHBoxLayout;
    m_footer->setContentsMargins(28, 14, 28, 18);
    m_footer->setSpacing(10);
    bandColumn->addLayout(m_footer);
    column->addWidget(band);
}

void ActionPage::setTitle(const QString& title) { m_title->firstLine()->setText(title); }

void ActionPage::setSubtitle(const QString& subtitle) { m_subtitle->setText(subtitle); }

QString ActionPage::subtitle() const { return m_subtitle->text(); }

void ActionPage::fill(QWidget* sheet)
{
    auto* box = new QVBoxLayout(sheet);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(this);
    SheetFit::follow(sheet, QSize(pageWidth, pageHeight));
}

void ActionPage::reveal(QWidget* widget)
{
    if (m_revealed && m_revealed != widget)
        m_revealed->removeEventFilter(this);
    m_revealed = widget;
    if (!widget)
        return;
    widget->installEventFilter(this);
    // A widget just added has no place yet: let every pending layout run first, so the body has
    // its new height and the widget its place before the scroll is measured.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    m_scroll->ensureWidgetVisible(widget, 0, 20);
}

bool ActionPage::inView(const QWidget* widget) const
{
    if (!widget || !widget->isVisible())
        return false;
    const QRect area(widget->mapTo(m_scroll->viewport(), QPoint(0, 0)), widget->size());
    return m_scroll->viewport()->rect().contains(area);
}

bool ActionPage::eventFilter(QObject* watched, QEvent* event)
{
    // The revealed widget moved or grew with the body's layout (a stamp, a wrapped sentence, a
    // warning above it). Scrolling moves the body, not the widget.
    if (watched == m_revealed && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        followRevealed();
    return QWidget::eventFilter(watched, event);
}

void ActionPage::followRevealed()
{
    if (!m_revealed)
        return;
    const QWidget* focus = m_revealed->window()->focusWidget();
    if (focus && (focus == m_revealed || m_revealed->isAncestorOf(focus)))
        m_scroll->ensureWidgetVisible(m_revealed, 0, 20);
}

void ActionPage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TessaronBackdrop::paintBackdrop(painter, rect(), tint(m_weight), false);
}

} // namespace tessaron
