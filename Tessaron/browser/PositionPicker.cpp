#include "Tessaron/browser/PositionPicker.h"
#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/browser/RelativeTime.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/l10n/MomentStyles.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/Symbols.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

namespace tessaron {

using namespace BrowserStyle;

namespace {
// The picker shows hours and minutes only: what is read is the minute shown, from its start.
QDateTime startOfMinute(const QDateTime& moment)
{
    QDateTime start = moment;
    start.setTime(QTime(moment.time().hour(), moment.time().minute()));
    return start;
}
} // namespace

MomentPopover::MomentPopover(QWidget* parent)
    : PopoverFrame(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);
    column->addWidget(
        label(loc("Read from a moment"), KitFont::font(13, QFont::Bold, FontDesign::rounded), TessaronPalette::ink()));
    auto* why = label(loc("Kafka indexes by timestamp, so this is a real seek — the broker answers with the offset. It "
                          "is not a scan."),
                      KitFont::font(11), white(0.55));
    why->setWordWrap(true);
    why->setFixedWidth(290);
    column->addWidget(why);
    m_picker = new QDateTimeEdit;
    m_picker->setCalendarPopup(true);
    // Month names, order and clock as the interface's language writes them, not the system's.
    const QLocale locale = L10n::interfaceLocale();
    m_picker->setLocale(locale);
    m_picker->setDisplayFormat(MomentStyles::abbreviatedDateFormat(locale) + QStringLiteral("  ")
                               + MomentStyles::shortTimeFormat(locale));
    m_picker->setFont(KitFont::font(11));
    m_picker->setAccessibleName(loc("Read from a moment"));
    // The calendar that pops up from it: its month buttons named, the days of the months either
    // side legible (Qt draws them in the disabled text colour).
    QCalendarWidget* calendar = m_picker->calendarWidget();
    QPalette days = calendar->palette();
    days.setColor(QPalette::Disabled, QPalette::Text, TessaronPalette::legible(white(0.45)));
    calendar->setPalette(days);
    for (const auto& [name, title] : {std::pair{"qt_calendar_prevmonth", loc("Previous month")},
                                      std::pair{"qt_calendar_nextmonth", loc("Next month")}}) {
        if (auto* button = calendar->findChild<QAbstractButton*>(QString::fromLatin1(name))) {
            button->setAccessibleName(title);
            button->setToolTip(title);
        }
    }
    column->addWidget(m_picker, 0, Qt::AlignLeft);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    m_go = new KitButton(loc("Go there"), std::make_unique<PrimaryButtonStyle>());
    connect(m_go, &KitButton::clicked, this, &MomentPopover::go);
    row->addWidget(m_go);
    column->addLayout(row);
}

PositionPicker::PositionPicker(BrokerSession* session, QWidget* parent)
    : QAbstractButton(parent)
    , m_session(session)
    , m_chosen(startOfMinute(RelativeTime::now().toLocalTime()))
{
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    new FocusRing(this);
    const QColor tint = neutral();
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(9, 5, 9, 5);
    row->setSpacing(5);
    row->addWidget(new SymbolView(QStringLiteral("scope"), 9, tint));
    m_caption = label(QString(), KitFont::font(10.5, QFont::DemiBold, FontDesign::rounded), tint);
    row->addWidget(m_caption);
    row->addWidget(new SymbolView(QStringLiteral("chevron.down"), 6.5, tint));
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_menu = new QMenu(this);
    m_popover = new MomentPopover(this);
    connect(m_popover, &MomentPopover::go, this, &PositionPicker::goThere);
    connect(m_popover->picker(), &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& moment) {
        if (m_popover->isVisible())
            m_chosen = startOfMinute(moment);
    });
    connect(this, &QAbstractButton::clicked, this, &PositionPicker::openMenu);
    connect(session, &BrokerSession::positionChanged, this, &PositionPicker::refresh);
    refresh();
}

QString PositionPicker::caption() const { return m_caption->text(); }

void PositionPicker::refresh()
{
    if (!m_session)
        return;
    m_caption->setText(m_session->position().label());
    setAccessibleName(m_caption->text());
    updateGeometry();
}

QSize PositionPicker::sizeHint() const { return layout()->sizeHint(); }

void PositionPicker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor tint = neutral();
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setBrush(withOpacity(tint, 0.12));
    painter.setPen(QPen(withOpacity(tint, 0.3), 1));
    painter.drawRoundedRect(r, r.height() / 2, r.height() / 2);
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, QRectF(rect()), height() / 2.0);
}

void PositionPicker::openMenu()
{
    if (!m_session)
        return;
    m_menu->clear();
    const BrokerSession::Position::Case current = m_session->position().which();
    // The choices are checkable, so assistive technology reads the current one as checked; the
    // other one's blank icon keeps the style from drawing an empty check box beside it.
    const QIcon symbol = Symbols::icon(QStringLiteral("checkmark"), 12, TessaronPalette::ink());
    const QSize side(m_menu->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_menu),
                     m_menu->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, m_menu));
    QIcon check;
    for (const qreal ratio : {1.0, 2.0}) {
        QPixmap blank(side * ratio);
        blank.setDevicePixelRatio(ratio);
        blank.fill(Qt::transparent);
        check.addPixmap(blank, QIcon::Normal, QIcon::Off);
        check.addPixmap(symbol.pixmap(side, ratio), QIcon::Normal, QIcon::On);
    }
    const auto choice = [&](const QString& title, BrokerSession::Position::Case position) {
        QAction* action = m_menu->addAction(title, this, [this, position] { readFrom(position); });
        action->setCheckable(true);
        action->setChecked(current == position);
        action->setIcon(check);
    };
    choice(loc("The latest"), BrokerSession::Position::tail);
    choice(loc("The beginning"), BrokerSession::Position::beginning);
    m_menu->addSeparator();
    m_menu->addAction(loc("At a moment in time…"), this, &PositionPicker::openPopover);
    m_menu->popup(mapToGlobal(QPoint(0, height() + 2)));
}

void PositionPicker::openPopover()
{
    m_popover->picker()->setDateTime(m_chosen);
    m_popover->popUp(this);
    m_popover->picker()->setFocus();
}

void PositionPicker::readFrom(int position)
{
    if (!m_session)
        return;
    const BrokerSession::Position from = position == BrokerSession::Position::beginning
        ? BrokerSession::Position::atBeginning()
        : BrokerSession::Position::atTail();
    startDetached(m_session->read(from, Prefs::messageLimit(), false));
}

void PositionPicker::goThere()
{
    m_chosen = startOfMinute(m_popover->picker()->dateTime());
    m_popover->hide();
    if (!m_session)
        return;
    startDetached(m_session->read(BrokerSession::Position::atTime(m_chosen), Prefs::messageLimit(), false));
}

} // namespace tessaron
