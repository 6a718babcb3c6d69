#include "Tessaron/reception/ReceptionView.h"

#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/TessaronChartCard.h"
#include "Tessaron/kit/TessaronMascot.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/kit/PanelSurface.h"
#include "Tessaron/reception/BrokerCard.h"
#include "Tessaron/reception/Odometer.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/ViewMotion.h"
#include "Tessaron/reception/ReceptionGreeting.h"
#include "Tessaron/reception/ReceptionWidgets.h"
#include "Tessaron/reception/SpeechBubble.h"
#include "Tessaron/reception/WaitingRoom.h"
#include "Tessaron/state/AppState.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AnimatedValue.h"
#include "VelkinUI/Animation.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/ButtonStyle.h"
#include "VelkinUI/EffectSlot.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/SymbolView.h"

#include <QEvent>
#include <QGridLayout>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

namespace tessaron {

using namespace TessaronPalette;

namespace {

// The header's side margins and the gap between its text and the mascot's column.
constexpr int headerMargin = 30;
constexpr int headerGap = 16;

// The back button's look: its label on a faint rounded backing.
class BackStyle : public ButtonStyle {
public:
    QMarginsF insets() const override { return QMarginsF(11, 6, 11, 6); }
    QFont font(const QFont&) const override { return KitFont::font(12, QFont::Medium); }
    std::optional<QColor> labelColor(const ButtonState&) const override { return ink(); }
    void paintBackground(QPainter& painter, const QRectF& rect, const ButtonState& state) const override
    {
        QPainterPath shape;
        shape.addRoundedRect(rect, 8, 8);
        painter.fillPath(shape, state.hovered ? quietFillHovered() : quietFill());
    }
    double opacity(const ButtonState& state) const override { return state.pressed ? 0.7 : 1.0; }
};

// The boop target: a faint disc, a dashed ring and the mascot in a 170-point square.
class BoopFace : public QWidget {
public:
    explicit BoopFace(TessaronMascot*& mascot)
    {
        setFixedSize(170, 170);
        mascot = new TessaronMascot(128, 0, this);
        mascot->setFixedSize(128, 128);
        mascot->move(21, 21);
    }
    QSize sizeHint() const override { return QSize(170, 170); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF c = QRectF(rect()).center();
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(accent(), 0.10));
        painter.drawEllipse(c, 75, 75);
        QPen ring(withOpacity(accent(), 0.28), 1.0);
        ring.setDashPattern({3, 7});
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, 84, 84);
    }
};

// Wrapped text held to a measure. A vertical layout asks an item's height at the whole width it
// offers, not at the item's maximum width, so a held label must answer for the width it will
// really have: the header would otherwise be sized for fewer lines than the pitch wraps to, and
// the title above it squeezed.
class MeasuredText : public QLabel {
public:
    MeasuredText(const QString& text, int measure, QWidget* parent)
        : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setText(text);
        setFont(KitFont::font(12.5));
        setWordWrap(true);
        setMaximumWidth(measure);
        reception::setTextColor(this, muted());
    }
    int heightForWidth(int width) const override { return QLabel::heightForWidth(std::min(width, maximumWidth())); }
};

// A header chip: a symbol and a short text on a faint rounded backing.
class Chip : public QWidget {
public:
    Chip(const QString& symbol, const QColor& symbolColor, QLabel*& text, QWidget* parent)
        : QWidget(parent)
    {
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(9, 5, 9, 5);
        row->setSpacing(5);
        row->addWidget(new SymbolView(symbol, 9, withOpacity(symbolColor, 0.8), this));
        text = reception::label(QString(), KitFont::font(10.5, QFont::Medium), muted(), this);
        row->addWidget(text);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), 8, 8);
        painter.fillPath(shape, quietFill());
    }
};

// Slides a card from where it stood to its new place in the grid; at rest it carries no effect.
class Glide : public QObject {
public:
    Glide(QWidget* card, QPoint from, const Motion& motion)
        : QObject(card)
        , m_slot(card)
        , m_from(from)
        , m_left(new AnimatedValue(1.0, this))
    {
        connect(m_left, &AnimatedValue::valueChanged, this, [this](double v) { place(v); });
        connect(m_left, &AnimatedValue::finished, this, [this] {
            place(0.0);
            deleteLater();
        });
        card->raise();
        place(1.0);
        m_left->animateTo(0.0, motion);
    }

private:
    void place(double left) { m_slot.apply(Transforms::translate(m_from.x() * left, m_from.y() * left), 1.0); }

    EffectSlot m_slot;
    QPoint m_from;
    AnimatedValue* m_left;
};

} // namespace

ReceptionView::ReceptionView(AppState* app, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_clock([] { return QDateTime::currentDateTime(); })
    , m_chartIndex(TessaronChart::dayOfYear())
    , m_scroll(new QScrollArea(this))
    , m_bubbleEntrance(new AnimatedValue(1.0, this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->viewport()->installEventFilter(this);
    m_scroll->setObjectName(QStringLiteral("receptionScroll"));
    // Without scroll bars the keyboard scrolls it, so it is a Tab stop: one that says where it is.
    m_scroll->setAccessibleName(loc("Reception"));
    seeThrough(m_scroll);
    outer->addWidget(m_scroll);

    // The column is at most 1180 points wide and centred.
    auto* canvas = new QWidget();
    canvas->setAutoFillBackground(false);
    auto* centring = new QHBoxLayout(canvas);
    centring->setContentsMargins(0, 0, 0, 0);
    auto* page = new QWidget(canvas);
    page->setMaximumWidth(maximumContentWidth);
    centring->addWidget(page, 1);
    m_scroll->setWidget(canvas);

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(pageMargin, 30, pageMargin, 28);
    column->setSpacing(18);

    // Back to the workspace, while brokers are open; Escape does the same.
    m_back = new KitButton(L10n::t("Back to the open brokers"), std::make_unique<BackStyle>(), page);
    m_back->setLeadingSymbol(QStringLiteral("chevron.left"));
    m_back->setSymbolSpacing(6);
    connect(m_back, &QAbstractButton::clicked, this, [this] {
        if (m_app)
            m_app->setShowingPicker(false);
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_back);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, m_back, &QAbstractButton::click);
    column->addWidget(m_back, 0, Qt::AlignLeft);

    // The header panel.
    auto* header = new PanelSurface(accent(), page);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(headerMargin, 26, headerMargin, 26);
    auto* left = new QVBoxLayout();
    left->setSpacing(14);
    auto* eyebrowRow = new QHBoxLayout();
    eyebrowRow->setSpacing(7);
    m_gavel = new Gavel(11, 0, Brand::accent(), header);
    eyebrowRow->addWidget(m_gavel);
    eyebrowRow->addWidget(new Eyebrow(L10n::t("TESSARON MQ · RECEPTION"), header));
    eyebrowRow->addStretch(1);
    left->addLayout(eyebrowRow);
    left->addWidget(new ScreenTitle(L10n::t("Your queues."), L10n::t("Lawyered."), 46, header));
    left->addWidget(new MeasuredText(L10n::t("I'm Tessaron. I read your queues, I never touch them, and I will draw "
                                             "you a chart whether you asked for one or not."),
                                     460, header));
    // Side by side, or under each other where a language's longer words leave no room beside the
    // mascot (layoutChips).
    m_chips = new QBoxLayout(QBoxLayout::LeftToRight);
    m_chips->setSpacing(8);
    m_chips->addWidget(new Chip(QStringLiteral("tray.full.fill"), plainWhite(), m_brokersChip, header), 0,
                       Qt::AlignLeft);
    QLabel* readsOnly = nullptr;
    m_chips->addWidget(new Chip(QStringLiteral("hand.raised.fill"), jade(), readsOnly, header), 0, Qt::AlignLeft);
    readsOnly->setText(L10n::t("Reads only — never joins, never commits"));
    m_chips->addStretch(1);
    left->addLayout(m_chips);
    headerRow->addLayout(left, 1);
    headerRow->addSpacing(headerGap);

    auto* right = new QVBoxLayout();
    right->setSpacing(10);
    m_boopButton = new KitButton(QString(), std::make_unique<ButtonStyle>(), header);
    m_boopButton->setContent(new BoopFace(m_mascot));
    m_boopButton->setToolTip(L10n::t("Give Tessaron a boop"));
    m_boopButton->setAccessibleName(L10n::t("Give Tessaron a boop"));
    // The mascot covers the button's own ring.
    FocusRing::overlay(m_boopButton, m_boopButton, 16);
    connect(m_boopButton, &QAbstractButton::clicked, this, &ReceptionView::boop);
    right->addWidget(m_boopButton, 0, Qt::AlignHCenter);
    m_bubbleHolder = new QWidget(header);
    auto* bubbleBox = new QVBoxLayout(m_bubbleHolder);
    bubbleBox->setContentsMargins(0, 0, 0, 0);
    right->addWidget(m_bubbleHolder, 0, Qt::AlignHCenter | Qt::AlignTop);
    right->addStretch(1);
    headerRow->addLayout(right);
    column->addWidget(header);

    // The chart and the mileage.
    auto* charts = new QHBoxLayout();
    charts->setSpacing(14);
    m_chartCard = new TessaronChartCard(
        shownChart(), std::nullopt, [this] { nextChart(); }, page);
    charts->addWidget(m_chartCard, 1);
    auto* odometer = new Odometer(UserDefaults::standard(), page);
    odometer->setFixedWidth(236);
    charts->addWidget(odometer);
    column->addLayout(charts);

    m_docketBox = new QVBoxLayout();
    m_docketBox->setSpacing(0);
    column->addLayout(m_docketBox);

    column->addSpacing(6);
    column->addWidget(reception::label(L10n::t("Native Linux · local-first · no telemetry"),
                                       KitFont::font(10, QFont::Medium), withOpacity(muted(), 0.6), page));
    column->addStretch(1);

    connect(m_bubbleEntrance, &AnimatedValue::valueChanged, this, [this](double v) {
        if (!m_bubble)
            return;
        // Grows from 85 % anchored at its top edge, fading in; only the fade under reduced motion.
        const double s = motionReduced() ? 1.0 : 0.85 + 0.15 * v;
        const QTransform grow = Transforms::scaleAbout(s, s, QPointF(m_bubble->width() / 2.0, 0));
        m_bubbleEffect->apply(grow, std::clamp(v, 0.0, 1.0));
        // The bubble it replaces leaves the same way backwards, over it.
        if (m_leavingBubble) {
            const double left = std::clamp(v, 0.0, 1.0);
            const double shrink = motionReduced() ? 1.0 : 1.0 - 0.15 * left;
            m_leavingEffect->apply(Transforms::scaleAbout(shrink, shrink, QPointF(m_leavingBubble->width() / 2.0, 0)),
                                   1.0 - left);
        }
    });
    connect(m_bubbleEntrance, &AnimatedValue::finished, this, [this] { dropLeavingBubble(); });

    if (m_app) {
        connect(m_app, &AppState::brokersChanged, this, &ReceptionView::rebuildDocket);
        connect(m_app, &AppState::selectedChanged, this, &ReceptionView::rebuildDocket);
        connect(m_app, &AppState::sessionsChanged, this, &ReceptionView::refreshChrome);
    }
    rebuildDocket();
    refreshChrome();
    refreshBubble(false);
}

ReceptionView::~ReceptionView() = default;

int ReceptionView::columnCount(int width)
{
    return std::max(1, (width + gridSpacing) / (minimumColumnWidth + gridSpacing));
}

void ReceptionView::setClock(std::function<QDateTime()> clock)
{
    m_clock = clock ? std::move(clock) : [] { return QDateTime::currentDateTime(); };
    refreshBubble(false);
}

TessaronChart ReceptionView::shownChart() const { return TessaronChart::pick(m_chartIndex, m_boops); }

QString ReceptionView::bubbleText() const { return ReceptionGreeting::boopReaction(m_boops, m_clock()); }

QString ReceptionView::brokersChipText() const
{
    const qsizetype count = m_app ? m_app->brokers().size() : 0;
    return count == 1 ? L10n::t("One broker on file") : L10n::t("%d brokers on file", count);
}

QAbstractButton* ReceptionView::backButton() const { return m_back; }

void ReceptionView::boop()
{
    ++m_boops;
    applyBoops(true);
}

void ReceptionView::nextChart()
{
    m_boops = 0;
    ++m_chartIndex;
    applyBoops(true);
}

void ReceptionView::applyBoops(bool animated)
{
    m_mascot->setBoops(m_boops);
    m_gavel->setStrikes(m_boops);
    m_chartCard->setChart(shownChart());
    refreshBubble(animated);
}

void ReceptionView::addBroker()
{
    if (!m_app)
        return;
    Broker broker;
    broker.id = QUuid::createUuid();
    broker.kind = BrokerKind::kafka;
    broker.security = BrokerSecurity::plaintext;
    broker.saslMechanism = QStringLiteral("PLAIN");
    m_app->setEditing(broker);
}

void ReceptionView::refreshBubble(bool animated)
{
    // Each reaction is a new bubble that replaces the last one.
    dropLeavingBubble();
    const bool moving = animated && isVisible();
    if (moving && m_bubble) {
        // The old bubble, as drawn now, stays behind as a picture while it leaves.
        auto* picture = new QLabel(m_bubbleHolder);
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        picture->setPixmap(m_bubble->grab());
        picture->setGeometry(m_bubble->geometry());
        m_leavingBubble = picture;
        m_leavingBubble->show();
        m_leavingEffect = std::make_unique<EffectSlot>(m_leavingBubble);
    }
    delete m_bubble;
    m_bubbleEffect.reset();
    m_bubble = new SpeechBubble(bubbleText(), m_bubbleHolder);
    m_bubbleHolder->layout()->addWidget(m_bubble);
    m_bubbleEffect = std::make_unique<EffectSlot>(m_bubble);
    if (m_leavingBubble)
        m_leavingBubble->raise();
    if (moving) {
        m_bubbleEntrance->setImmediately(0.0);
        m_bubbleEntrance->animateTo(
            1.0, motionReduced() ? Motion::easeOut(0.2) : Motion::withSpring(Animation::velkin::snappy()));
    } else {
        m_bubbleEntrance->setImmediately(1.0);
    }
}

void ReceptionView::dropLeavingBubble()
{
    m_leavingEffect.reset();
    delete m_leavingBubble;
}

void ReceptionView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The greeting follows the clock whenever the reception comes back into view.
    if (m_boops == 0 && m_bubble && m_bubble->text() != bubbleText())
        refreshBubble(false);
}

void ReceptionView::refreshChrome()
{
    m_back->setVisible(m_app && !m_app->sessions().isEmpty());
    m_brokersChip->setText(brokersChipText());
    layoutChips();
}

void ReceptionView::rebuildDocket()
{
    m_brokersChip->setText(brokersChipText());
    layoutChips();
    // Where each card stood, so that a reorder of the same brokers (a favourite changed) can glide.
    QHash<QUuid, QPoint> stoodAt;
    QList<QPoint> places;
    for (const BrokerCard* card : std::as_const(m_cards)) {
        stoodAt.insert(card->broker().id, card->pos());
        places.append(card->pos());
    }
    if (m_docket) {
        m_docket->hide();
        m_docket->deleteLater();
    }
    m_docket = new QWidget();
    m_cards.clear();
    m_addCard = nullptr;
    m_waitingRoom = nullptr;
    m_gridHost = nullptr;
    m_grid = nullptr;
    auto* box = new QVBoxLayout(m_docket);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);

    const QList<Broker> brokers = m_app ? m_app->brokersFavoritesFirst() : QList<Broker>();
    if (brokers.isEmpty()) {
        m_waitingRoom = new WaitingRoom([this] { addBroker(); }, m_docket);
        box->addWidget(m_waitingRoom);
    } else {
        box->addSpacing(4);
        box->addWidget(reception::label(L10n::t("Today's docket"), KitFont::font(19, QFont::Bold), ink(), m_docket));
        box->addSpacing(4);
        box->addWidget(
            reception::label(L10n::t("Pick a broker. I'll get the leash."), KitFont::font(11), muted(), m_docket));
        box->addSpacing(18);
        m_gridHost = new QWidget(m_docket);
        m_grid = new QGridLayout(m_gridHost);
        m_grid->setContentsMargins(0, 0, 0, 0);
        m_grid->setHorizontalSpacing(gridSpacing);
        m_grid->setVerticalSpacing(gridSpacing);
        const std::optional<QUuid> selected = m_app->selected();
        for (const Broker& broker : brokers)
            m_cards.append(new BrokerCard(m_app, broker, selected == broker.id, m_gridHost));
        m_addCard = new AddBrokerCard([this] { addBroker(); }, m_gridHost);
        box->addWidget(m_gridHost);
        m_columns = 0;
        layoutGrid();
        glideCards(stoodAt, places);
    }
    m_docketBox->addWidget(m_docket);
}

void ReceptionView::glideCards(const QHash<QUuid, QPoint>& stoodAt, const QList<QPoint>& places)
{
    // Only a reorder of the same cards in the same grid: the places are then the same places.
    if (places.size() != m_cards.size() || !isVisible())
        return;
    const Motion motion = decorativeMotion(this, Motion::easeInOut(0.2));
    if (motion.isNone())
        return;
    for (qsizetype i = 0; i < m_cards.size(); ++i) {
        const auto before = stoodAt.constFind(m_cards[i]->broker().id);
        if (before == stoodAt.cend())
            return;
    }
    for (qsizetype i = 0; i < m_cards.size(); ++i) {
        const QPoint from = stoodAt.value(m_cards[i]->broker().id) - places[i];
        if (!from.isNull())
            new Glide(m_cards[i], from, motion);
    }
}

void ReceptionView::layoutChips()
{
    // The room of the header's text column, from the window's as the grid's is.
    const int mascot = std::max(m_boopButton->sizeHint().width(), m_bubble ? m_bubble->sizeHint().width() : 0);
    const int room = std::min(m_scroll->viewport()->width(), maximumContentWidth) - 2 * pageMargin - 2 * headerMargin
        - headerGap - mascot;
    int wanted = -m_chips->spacing();
    for (int i = 0; i < m_chips->count(); ++i) {
        if (QWidget* chip = m_chips->itemAt(i)->widget())
            wanted += chip->sizeHint().width() + m_chips->spacing();
    }
    const auto direction = wanted <= room ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (m_chips->direction() != direction)
        m_chips->setDirection(direction);
}

void ReceptionView::layoutGrid()
{
    if (!m_grid)
        return;
    // From the room the window gives, not from the grid's own width, which the columns in place
    // would hold open.
    const int room = std::min(m_scroll->viewport()->width(), maximumContentWidth) - 2 * pageMargin;
    const int columns = columnCount(std::max(0, room));
    if (columns == m_columns)
        return;
    m_columns = columns;
    while (m_grid->count() > 0)
        m_grid->takeAt(0);
    for (int c = 0; c < m_grid->columnCount(); ++c)
        m_grid->setColumnStretch(c, 0);
    QList<QWidget*> items(m_cards.begin(), m_cards.end());
    items.append(m_addCard);
    for (qsizetype i = 0; i < items.size(); ++i)
        m_grid->addWidget(items[i], int(i / columns), int(i % columns), Qt::AlignTop);
    for (int c = 0; c < columns; ++c)
        m_grid->setColumnStretch(c, 1);
    // Another column count is another height: the column around the docket has to hear of it.
    m_grid->invalidate();
    m_gridHost->updateGeometry();
}

bool ReceptionView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) {
        layoutChips();
        layoutGrid();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tessaron
