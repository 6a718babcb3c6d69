#include "Tessaron/workspace/TopicListView.h"
#include "Tessaron/kit/PlainText.h"

#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "Tessaron/workspace/SidebarChips.h"
#include "Tessaron/workspace/SidebarControls.h"
#include "Tessaron/workspace/SidebarModel.h"
#include "Tessaron/workspace/SidebarRows.h"
#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/TessaronWorking.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/LiquidGlassBackground.h"
#include "VelkinUI/LogoMark.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace tessaron {

using namespace TessaronPalette;

namespace {

using PlainText::label;

class Dot : public QWidget {
public:
    explicit Dot(QWidget* parent)
        : QWidget(parent)
    {
        setFixedSize(6, 6);
    }
    void setColor(const QColor& color)
    {
        m_color = color;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(m_color);
        p.drawEllipse(QRectF(rect()));
    }

private:
    QColor m_color = white(0.3);
};

} // namespace

TopicListView::TopicListView(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
    , m_model(new SidebarModel(session, this))
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(11, 11, 7, 11);
    m_card = new QWidget(this);
    outer->addWidget(m_card);
    auto* column = new QVBoxLayout(m_card);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildHeader());
    column->addWidget(buildScopeRow());
    column->addWidget(buildListHeading());
    auto* searchRow = new QWidget(m_card);
    auto* searchLayout = new QHBoxLayout(searchRow);
    searchLayout->setContentsMargins(12, 0, 12, 8);
    m_search = new SearchField(QString(), searchRow);
    searchLayout->addWidget(m_search);
    column->addWidget(searchRow);
    column->addWidget(buildBody(), 1);
    column->addWidget(buildFooter());

    connect(m_search, &SearchField::textEdited, this, [this](const QString& text) {
        if (m_session)
            m_session->setSearch(text);
    });
    connect(m_model, &SidebarModel::contentChanged, this, &TopicListView::refreshBody);
    connect(session, &BrokerSession::isLoadingTopicsChanged, this, &TopicListView::refreshHeader);
    for (auto signal : {&BrokerSession::connectionChanged, &BrokerSession::isConnectingChanged,
                        &BrokerSession::topicsListedChanged, &BrokerSession::lostConnectionChanged})
        connect(session, signal, this, &TopicListView::refreshHeader);
    connect(session, &BrokerSession::connectionChanged, this, &TopicListView::refreshChips);
    connect(session, &BrokerSession::connectionChanged, this, &TopicListView::refreshTexts);
    connect(session, &BrokerSession::isConnectingChanged, this, &TopicListView::refreshScope);
    connect(session, &BrokerSession::topicsChanged, this, &TopicListView::refreshScope);
    connect(session, &BrokerSession::nameSpaceChanged, this, &TopicListView::refreshScope);
    connect(session, &BrokerSession::topicsChanged, this, &TopicListView::refreshChips);
    connect(session, &BrokerSession::selectedTopicChanged, this, &TopicListView::refreshChips);
    connect(session, &BrokerSession::searchChanged, this, [this] {
        if (m_session)
            m_search->setText(m_session->search());
    });
    if (app)
        connect(app, &AppState::aiAvailableChanged, this, &TopicListView::refreshChips);

    m_search->setText(session->search());
    refreshHeader();
    refreshScope();
    refreshChips();
    refreshTexts();
    refreshBody();
    // The keyboard starts in the list: arrows move through the rows, Return selects.
    m_list->setFocus();
}

QWidget* TopicListView::buildHeader()
{
    auto* block = new QWidget(m_card);
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(14, 16, 14, 12);
    column->setSpacing(12);

    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(new LogoMark(42, block), 0, Qt::AlignTop);
    auto* names = new QVBoxLayout;
    names->setSpacing(3);
    names->addWidget(ElidedLabel::filling(m_session->broker().name, KitFont::font(18, QFont::Bold, FontDesign::rounded),
                                          TessaronPalette::plainWhite(), Qt::ElideMiddle, block));
    auto* kindRow = new QHBoxLayout;
    kindRow->setSpacing(5);
    auto* dot = new Dot(block);
    m_dot = dot;
    kindRow->addWidget(dot, 0, Qt::AlignVCenter);
    m_kind = label(m_session->broker().kind.label(), KitFont::font(11, QFont::Medium), white(0.5), block);
    kindRow->addWidget(m_kind);
    kindRow->addStretch(1);
    names->addLayout(kindRow);
    names->addStretch(1);
    top->addLayout(names, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(5);
    m_refresh = new SidebarIconButton(QStringLiteral("arrow.clockwise"), L10n::t("Refresh Topics"), accent(), block);
    m_more = new SidebarIconButton(QStringLiteral("ellipsis"), L10n::t("More"), accent(), block);
    buttons->addWidget(m_refresh);
    buttons->addWidget(m_more);
    top->addLayout(buttons);
    top->setAlignment(buttons, Qt::AlignTop);
    column->addLayout(top);
    connect(m_refresh, &QAbstractButton::clicked, this, &TopicListView::startRefresh);
    connect(m_more, &QAbstractButton::clicked, this, [this] { togglePopover(Popover::brokerMenu); });

    auto* chips = new QHBoxLayout;
    chips->setSpacing(7);
    m_ask = new ActionChip(L10n::t("Ask"), QStringLiteral("sparkles"), accent(), false, block);
    m_file = new ActionChip(L10n::t("File…"), QStringLiteral("plus"), accent(), true, block);
    chips->addWidget(m_ask);
    chips->addWidget(m_file);
    chips->addStretch(1);
    column->addLayout(chips);
    connect(m_ask, &QAbstractButton::clicked, this, [this] {
        if (m_app)
            m_app->setAction(AppState::Action::makeAsk());
    });
    connect(m_file, &QAbstractButton::clicked, this, [this] {
        if (m_app && m_session)
            m_app->setAction(AppState::Action::makeProduce(m_session->currentMessage()));
    });
    return block;
}

QWidget* TopicListView::buildScopeRow()
{
    // The pills keep their ideal size: when both do not fit beside each other the folder pill
    // goes to a line of its own instead of both being cut.
    auto* rowWidget = new QWidget(m_card);
    m_scopeRow = rowWidget;
    auto* lines = new QVBoxLayout(rowWidget);
    lines->setContentsMargins(14, 0, 14, 10);
    lines->setSpacing(6);
    m_scopeFirst = new QHBoxLayout;
    m_scopeFirst->setSpacing(4);
    m_scopeSecond = new QHBoxLayout;
    m_scopeSecond->setSpacing(4);
    lines->addLayout(m_scopeFirst);
    lines->addLayout(m_scopeSecond);
    m_brokerPill = new ScopePill(QStringLiteral("shippingbox.fill"), accent(), L10n::t("Broker"),
                                 m_session->broker().bootstrap, rowWidget);
    m_brokerPill->setValue(m_session->broker().name);
    m_scopeFirst->addWidget(m_brokerPill);
    m_chevron = new SymbolView(QStringLiteral("chevron.compact.right"), 9, white(0.25), rowWidget);
    m_scopeFirst->addWidget(m_chevron);
    m_folderPill = new ScopePill(QStringLiteral("folder.fill"), accent(), L10n::t("Namespace"),
                                 L10n::t("The first segment of a topic name"), rowWidget);
    m_scopeFirst->addWidget(m_folderPill);
    m_scopeFirst->addStretch(1);
    m_scopeFirst->addSpacing(2);
    m_scopeHelp =
        new SidebarIconButton(QStringLiteral("questionmark"), L10n::t("Where am I looking?"), accent(), rowWidget);
    m_scopeFirst->addWidget(m_scopeHelp);
    m_scopeSecond->addStretch(1);
    rowWidget->installEventFilter(this);
    connect(m_brokerPill, &QAbstractButton::clicked, this, [this] { togglePopover(Popover::brokerPicker); });
    connect(m_folderPill, &QAbstractButton::clicked, this, [this] { togglePopover(Popover::namespacePicker); });
    connect(m_scopeHelp, &QAbstractButton::clicked, this, [this] { togglePopover(Popover::scopeHelp); });
    return rowWidget;
}

QWidget* TopicListView::buildListHeading()
{
    auto* rowWidget = new QWidget(m_card);
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(14, 0, 14, 8);
    row->setSpacing(7);
    row->addWidget(new SymbolView(QStringLiteral("tray.full"), 11, accent(), rowWidget));
    m_heading = label(QString(), KitFont::font(12, QFont::DemiBold), white(0.85), rowWidget);
    row->addWidget(m_heading);
    m_count = label(QString(), KitFont::font(12, QFont::Medium, FontDesign::monospaced), white(0.45), rowWidget);
    row->addWidget(m_count);
    row->addStretch(1);
    m_listOptions = new SidebarIconButton(QStringLiteral("ellipsis"), L10n::t("List options"), accent(), rowWidget);
    row->addWidget(m_listOptions);
    connect(m_listOptions, &QAbstractButton::clicked, this, [this] { togglePopover(Popover::listMenu); });
    return rowWidget;
}

QWidget* TopicListView::buildBody()
{
    auto* body = new QWidget(m_card);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_working = new TessaronWorking(4, body);
    column->addWidget(m_working, 1);

    m_notice = new QWidget(body);
    auto* notice = new QVBoxLayout(m_notice);
    notice->setContentsMargins(20, 0, 20, 0);
    notice->setSpacing(9);
    notice->addStretch(1);
    m_noticeIcon = new SymbolView(QStringLiteral("tray"), 18, white(0.22), m_notice);
    notice->addWidget(m_noticeIcon, 0, Qt::AlignHCenter);
    m_noticeText = label(QString(), KitFont::font(11, QFont::Normal, FontDesign::rounded), white(0.4), m_notice);
    m_noticeText->setAlignment(Qt::AlignCenter);
    m_noticeText->setWordWrap(true);
    notice->addWidget(m_noticeText);
    notice->addStretch(1);
    column->addWidget(m_notice, 1);

    m_list = new SidebarListView(m_model, body);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(m_list, 1);
    return body;
}

QWidget* TopicListView::buildFooter()
{
    auto* footer = new QWidget(m_card);
    auto* column = new QVBoxLayout(footer);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* line = new QWidget(footer);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette lp = line->palette();
    lp.setColor(QPalette::Window, white(0.07));
    line->setPalette(lp);
    column->addWidget(line);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(13, 8, 13, 8);
    row->setSpacing(7);
    const bool plain = m_session->broker().security == BrokerSecurity::plaintext;
    m_lock = new SymbolView(plain ? QStringLiteral("lock.open") : QStringLiteral("lock.fill"), 8.5,
                            plain ? white(0.3) : jade(), footer);
    row->addWidget(m_lock);
    m_badge = label(m_session->broker().security.badge(), KitFont::font(8, QFont::Black, FontDesign::monospaced),
                    white(0.35), footer);
    row->addWidget(m_badge);
    row->addStretch(1);
    m_retained = label(QString(), KitFont::font(9, QFont::Medium, FontDesign::monospaced), white(0.35), footer);
    row->addWidget(m_retained);
    column->addLayout(row);
    return footer;
}

void TopicListView::paintEvent(QPaintEvent*)
{
    // The glass and its grain are drawn once per size: every keystroke repaints the list over it.
    const QRect card = m_card->geometry();
    const qreal ratio = devicePixelRatioF();
    if (m_glass.size() != card.size() * ratio || m_glass.devicePixelRatio() != ratio) {
        m_glass = QPixmap(card.size() * ratio);
        m_glass.setDevicePixelRatio(ratio);
        m_glass.fill(Qt::transparent);
        QPainter g(&m_glass);
        g.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(QPointF(0, 0), QSizeF(card.size())).adjusted(0.5, 0.5, -0.5, -0.5);
        LiquidGlassBackground::paintGlass(g, area, 16);
        g.setPen(QPen(white(0.08), 1));
        g.setBrush(Qt::NoBrush);
        g.drawRoundedRect(area, 16, 16);
    }
    QPainter p(this);
    p.drawPixmap(card.topLeft(), m_glass);
}

void TopicListView::startRefresh()
{
    if (m_session)
        startDetached(m_session->loadTopics());
}

void TopicListView::refreshHeader()
{
    if (!m_session)
        return;
    const bool loading = m_session->isLoadingTopics();
    m_refresh->setBusy(loading);
    m_refresh->setEnabled(!loading);
    // A listing that failed or a lost connection is not connected.
    static_cast<Dot*>(m_dot)->setColor(m_session->isConnected()                                    ? jade()
                                           : m_session->connection() && !m_session->isConnecting() ? amber()
                                                                                                   : white(0.3));
}

void TopicListView::refreshScope()
{
    if (!m_session)
        return;
    m_brokerPill->setBusy(m_session->isConnecting());
    const bool folders = !TopicFilter::namespaces(m_session->topics()).isEmpty();
    m_chevron->setVisible(folders);
    m_folderPill->setVisible(folders);
    m_folderPill->setValue(m_session->nameSpace().value_or(L10n::t("Everything")));
    arrangeScope();
}

bool TopicListView::scopeWrapped() const { return m_scopeSecond->indexOf(m_folderPill) >= 0; }

void TopicListView::arrangeScope()
{
    if (!m_scopeRow)
        return;
    const QMargins margins = m_scopeRow->layout()->contentsMargins();
    const int room = m_scopeRow->width() - margins.left() - margins.right();
    const int spacing = m_scopeFirst->spacing();
    int needed = m_brokerPill->sizeHint().width() + 2 + spacing + m_scopeHelp->sizeHint().width();
    if (m_folderPill->isVisibleTo(m_scopeRow))
        needed += 2 * spacing + m_chevron->sizeHint().width() + m_folderPill->sizeHint().width();
    const bool wrap = m_folderPill->isVisibleTo(m_scopeRow) && needed > room;
    if (wrap == scopeWrapped())
        return;
    if (wrap) {
        m_scopeFirst->removeWidget(m_chevron);
        m_scopeFirst->removeWidget(m_folderPill);
        m_scopeSecond->insertWidget(0, m_chevron);
        m_scopeSecond->insertWidget(1, m_folderPill);
    } else {
        m_scopeSecond->removeWidget(m_chevron);
        m_scopeSecond->removeWidget(m_folderPill);
        m_scopeFirst->insertWidget(1, m_chevron);
        m_scopeFirst->insertWidget(2, m_folderPill);
    }
}

bool TopicListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scopeRow && event->type() == QEvent::Resize)
        arrangeScope();
    return QWidget::eventFilter(watched, event);
}

void TopicListView::refreshChips()
{
    if (!m_session)
        return;
    m_ask->setVisible(Sidebar::offersAsk(m_app && m_app->aiAvailable(), m_session->currentTopic().has_value()));
    m_file->setEnabled(Sidebar::fileEnabled(m_session->connection().has_value()));
}

void TopicListView::refreshTexts()
{
    const bool queues = m_model->speaksOfQueues();
    m_heading->setText(queues ? L10n::t("Queues") : L10n::t("Topics"));
    m_search->setPlaceholder(queues ? L10n::t("Search queues") : L10n::t("Search topics"));
}

void TopicListView::refreshBody()
{
    if (!m_session)
        return;
    const Sidebar::Body body = m_model->body();
    // The captions start over each time the mascot comes back, not on every change meanwhile.
    if (body == Sidebar::Body::loading && !m_working->isVisibleTo(this))
        m_working->restart();
    m_working->setVisible(body == Sidebar::Body::loading);
    m_notice->setVisible(body == Sidebar::Body::empty);
    const bool searching = !m_session->search().isEmpty();
    m_noticeIcon->setName(searching ? QStringLiteral("magnifyingglass") : QStringLiteral("tray"));
    m_noticeText->setText(Sidebar::emptyNotice(m_session->search(), m_session->topicsListed(),
                                               m_model->speaksOfQueues(), m_session->listingsFiltered()));
    const bool listed = body == Sidebar::Body::list;
    const bool facts = body == Sidebar::Body::empty && m_model->rowCount() > 0;
    m_list->setVisible(listed || facts);
    if (listed) {
        m_list->setMinimumHeight(0);
        m_list->setMaximumHeight(QWIDGETSIZE_MAX);
    } else if (facts) {
        const int h = m_list->contentHeight() + 12;
        m_list->setFixedHeight(h);
    }
    m_count->setText(QString::number(m_model->visibleCount()));
    m_retained->setText(L10n::t("%d retained", m_model->retainedTotal()));
    refreshTexts();
}

QString TopicListView::noticeText() const { return m_notice->isVisibleTo(this) ? m_noticeText->text() : QString(); }
QString TopicListView::listHeading() const { return m_heading->text(); }
QString TopicListView::countText() const { return m_count->text(); }
QString TopicListView::retainedText() const { return m_retained->text(); }

} // namespace tessaron
