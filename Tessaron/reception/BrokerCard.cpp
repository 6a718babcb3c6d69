#include "Tessaron/reception/BrokerCard.h"
#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/kit/SecuritySentence.h"
#include "Tessaron/kit/PlainText.h"
#include "VelkinUI/PaintedText.h"

#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/reception/ReceptionWidgets.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/l10n/L10n.h"
#include "Tessaron/kit/ViewMotion.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"
#include "VelkinUI/SymbolView.h"
#include "VelkinUI/Symbols.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace tessaron {

using namespace TessaronPalette;

namespace {

// The kind's symbol on a tinted rounded square.
class KindIcon : public QWidget {
public:
    KindIcon(const QString& symbol, QWidget* parent)
        : QWidget(parent)
        , m_symbol(symbol)
    {
        setFixedSize(32, 32);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath square;
        square.addRoundedRect(QRectF(rect()), 10, 10);
        painter.fillPath(square, withOpacity(accent(), 0.13));
        Symbols::paint(painter, m_symbol, Symbols::boxForSize(QRectF(rect()).center(), 13), accent());
    }

private:
    QString m_symbol;
};

// The security mode's badge: tracked heavy monospaced capitals on a faint rounded backing.
class SecurityBadge : public QWidget {
public:
    SecurityBadge(const QString& text, const QColor& color, QWidget* parent)
        : QWidget(parent)
        , m_text(text)
        , m_color(color)
    {
        setFont(KitFont::font(8, QFont::Black, FontDesign::monospaced, 0.6));
        setAccessibleName(text);
        setFixedSize(sizeHint());
    }
    QSize sizeHint() const override
    {
        const QFontMetricsF m(font());
        return QSize(int(std::ceil(m.horizontalAdvance(m_text) + 12)), int(std::ceil(m.height() + 6)));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath backing;
        backing.addRoundedRect(QRectF(rect()), 5, 5);
        painter.fillPath(backing, quietFill());
        painter.setPen(m_color);
        PaintedText::draw(painter, rect(), Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
    QColor m_color;
};

KitButton* symbolButton(const QString& symbol, const QColor& color, QWidget* parent)
{
    auto* button = new KitButton(QString(), std::make_unique<PlainButtonStyle>(KitFont::font(11), color), parent);
    button->setLeadingSymbol(symbol);
    return button;
}

} // namespace

BrokerCard::BrokerCard(AppState* app, const Broker& broker, bool isSelected, QWidget* parent)
    : PanelSurface(isSelected ? accent() : plainWhite(), parent)
    , m_app(app)
    , m_broker(broker)
    , m_selected(isSelected)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(broker.name);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(11);

    auto* header = new QHBoxLayout();
    header->setSpacing(9);
    const bool rabbit = broker.kind == BrokerKind::rabbitmq;
    header->addWidget(new KindIcon(rabbit ? QStringLiteral("hare.fill") : QStringLiteral("shippingbox.fill"), this));
    auto* names = new QVBoxLayout();
    names->setSpacing(1);
    auto* name = ElidedLabel::filling(broker.name, KitFont::font(14, QFont::Bold), ink(), Qt::ElideRight, this);
    names->addWidget(name);
    names->addWidget(reception::label(broker.kind.label(), KitFont::font(10, QFont::Medium), muted(), this));
    header->addLayout(names, 1);

    m_edit = symbolButton(QStringLiteral("slider.horizontal.3"), muted(), this);
    m_edit->setToolTip(L10n::t("Edit this broker"));
    m_edit->setAccessibleName(L10n::t("Edit this broker"));
    connect(m_edit, &QAbstractButton::clicked, this, &BrokerCard::editBroker);
    header->addWidget(m_edit);

    m_star = symbolButton(broker.isFavorite ? QStringLiteral("star.fill") : QStringLiteral("star"),
                          broker.isFavorite ? accent() : muted(), this);
    const QString starHelp =
        broker.isFavorite ? L10n::t("A regular. Comes up first.") : L10n::t("Make it a regular — it comes up first.");
    m_star->setToolTip(PlainText::toolTip(starHelp));
    m_star->setAccessibleName(starHelp);
    connect(m_star, &QAbstractButton::clicked, this, &BrokerCard::toggleFavorite);
    header->addWidget(m_star);

    m_badge = new SecurityBadge(broker.security.badge(),
                                broker.security == BrokerSecurity::plaintext ? muted() : jade(), this);
    header->addWidget(m_badge);
    column->addLayout(header);

    auto* address = ElidedLabel::filling(broker.bootstrap, KitFont::font(11, QFont::Normal, FontDesign::monospaced),
                                         muted(), Qt::ElideMiddle, this);
    column->addWidget(address);

    QFont sentenceFont = KitFont::font(10.5);
    sentenceFont.setItalic(true);
    auto* sentence =
        ElidedLabel::filling(securitySentence(broker), sentenceFont, withOpacity(muted(), 0.85), Qt::ElideRight, this);
    column->addWidget(sentence);

    m_open = new KitButton(QString(), std::make_unique<PrimaryButtonStyle>(), this);
    m_open->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_open, &QAbstractButton::clicked, this, &BrokerCard::openBroker);
    column->addWidget(m_open);

    if (m_app)
        connect(m_app, &AppState::sessionsChanged, this, &BrokerCard::watchSession);
    watchSession();
    refreshHeader();
}

BrokerSession* BrokerCard::openSession() const
{
    if (!m_app)
        return nullptr;
    for (BrokerSession* session : m_app->sessions()) {
        if (session->id() == m_broker.id)
            return session;
    }
    return nullptr;
}

BrokerCard::OpenState BrokerCard::openState() const
{
    const BrokerSession* session = openSession();
    if (!session)
        return OpenState::open;
    return session->isConnecting() ? OpenState::sniffing : OpenState::alreadyOpen;
}

void BrokerCard::watchSession()
{
    BrokerSession* session = openSession();
    if (session != m_watched) {
        disconnect(m_watch);
        m_watched = session;
        if (session)
            m_watch = connect(session, &BrokerSession::isConnectingChanged, this, &BrokerCard::refreshOpenButton);
    }
    refreshOpenButton();
}

void BrokerCard::refreshOpenButton()
{
    const OpenState state = openState();
    if (m_shownState == state)
        return;
    m_shownState = state;
    auto* content = new QWidget();
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(7);
    row->addStretch(1);
    const QColor ground = canvas();
    QString text;
    switch (state) {
    case OpenState::open:
        row->addWidget(new SymbolView(QStringLiteral("pawprint.fill"), 12, ground, content));
        text = L10n::t("Open");
        break;
    case OpenState::sniffing:
        row->addWidget(new Spinner(12, ground, SpinnerLook::spokes, content));
        text = L10n::t("Sniffing…");
        break;
    case OpenState::alreadyOpen:
        row->addWidget(new SymbolView(QStringLiteral("checkmark"), 12, ground, content));
        text = L10n::t("Already open");
        break;
    }
    row->addWidget(reception::label(text, KitFont::font(12, QFont::Bold, FontDesign::rounded), ground, content));
    row->addStretch(1);
    m_open->setContent(content);
    m_open->setAccessibleName(text);
    m_open->setEnabled(state != OpenState::sniffing);
    m_open->setBusy(state == OpenState::sniffing);
}

void BrokerCard::refreshHeader()
{
    m_edit->setVisible(m_hovering);
    m_star->setVisible(m_hovering || m_broker.isFavorite);
    m_badge->setVisible(!m_hovering && !m_broker.isFavorite);
}

void BrokerCard::setHovering(bool hovering)
{
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    refreshHeader();
}

void BrokerCard::enterEvent(QEnterEvent* event)
{
    PanelSurface::enterEvent(event);
    setHovering(true);
}

void BrokerCard::leaveEvent(QEvent* event)
{
    PanelSurface::leaveEvent(event);
    setHovering(false);
}

QMenu* BrokerCard::makeContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QAction* favourite =
        menu->addAction(m_broker.isFavorite ? L10n::t("No longer a regular") : L10n::t("Make it a regular"));
    connect(favourite, &QAction::triggered, this, &BrokerCard::toggleFavorite);
    QAction* edit = menu->addAction(L10n::t("Edit this broker"));
    connect(edit, &QAction::triggered, this, &BrokerCard::editBroker);
    return menu;
}

void BrokerCard::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = makeContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void BrokerCard::openBroker()
{
    if (m_app)
        m_app->open(m_broker);
}

void BrokerCard::editBroker()
{
    if (m_app)
        m_app->setEditing(m_broker);
}

void BrokerCard::toggleFavorite()
{
    if (m_app)
        m_app->toggleFavorite(m_broker.id);
}

AddBrokerCard::AddBrokerCard(std::function<void()> action, QWidget* parent)
    : QAbstractButton(parent)
    , m_action(std::move(action))
    , m_hover(new AnimatedValue(0.0, this))
{
    connect(m_hover, &AnimatedValue::valueChanged, this, qOverload<>(&QWidget::update));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(L10n::t("Add a broker"));
    new FocusRing(this);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
}

QSize AddBrokerCard::sizeHint() const { return QSize(290, 142); }
QSize AddBrokerCard::minimumSizeHint() const { return QSize(120, 142); }

void AddBrokerCard::setHovering(bool hovering)
{
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1.0 : 0.0, decorativeMotion(this, Motion::easeOut(0.15)));
}

void AddBrokerCard::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void AddBrokerCard::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void AddBrokerCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double hover = m_hover->value();
    QPen dash(addCardOutline(hover), 1.0);
    dash.setDashPattern({5, 5});
    painter.setPen(dash);
    painter.drawRoundedRect(r, 16, 16);
    if (FocusRing::shownOn(this))
        FocusRing::draw(painter, QRectF(rect()), 16);

    const QFont titleFont = KitFont::font(12, QFont::DemiBold);
    const QFont noteFont = KitFont::font(10);
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF noteMetrics(noteFont);
    const double block = 32 + 8 + titleMetrics.height() + 8 + noteMetrics.height();
    double y = (height() - block) / 2.0;
    const double cx = width() / 2.0;

    const QRectF plusBox(cx - 16, y, 32, 32);
    QPainterPath backing;
    backing.addRoundedRect(plusBox, 10, 10);
    painter.fillPath(backing, quietFill());
    Symbols::paint(painter, QStringLiteral("plus"), Symbols::boxForSize(plusBox.center(), 15),
                   withOpacity(ink(), 0.5 + 0.3 * hover));
    y += 32 + 8;
    painter.setFont(titleFont);
    painter.setPen(withOpacity(ink(), 0.7));
    PaintedText::draw(painter, QRectF(16, y, width() - 32, titleMetrics.height()), Qt::AlignCenter,
                      L10n::t("Add a broker"));
    y += titleMetrics.height() + 8;
    painter.setFont(noteFont);
    painter.setPen(muted());
    const QString note = noteMetrics.elidedText(L10n::t("Password goes to your keyring, never to a file."),
                                                Qt::ElideRight, width() - 32);
    PaintedText::draw(painter, QRectF(16, y, width() - 32, noteMetrics.height()), Qt::AlignCenter, note);
}

} // namespace tessaron
