#include "Tessaron/browser/MessageListView.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/browser/CapsuleButtonStyle.h"
#include "Tessaron/browser/EmptyPane.h"
#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/MessageListModel.h"
#include "Tessaron/browser/MessageRowDelegate.h"
#include "Tessaron/browser/QueueReadTerms.h"
#include "Tessaron/browser/ReadConsentPane.h"
#include "Tessaron/browser/TopicHeader.h"
#include "Tessaron/browser/WorkingIndicator.h"
#include "Tessaron/casework/BrokerBriefing.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinUI/KitButton.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessaron {

using namespace BrowserStyle;

MessageListView::MessageListView(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 11, 11, 11);
    column->setSpacing(0);
    m_header = new TopicHeader(app, session);
    column->addWidget(m_header);
    m_stack = new QStackedWidget;
    column->addWidget(m_stack, 1);

    m_consent = new ReadConsentPane(session);
    m_stack->addWidget(m_consent);
    m_working = makeWorkingIndicator();
    m_stack->addWidget(m_working);

    // The two columns: the rows with their footer, and the exhibit.
    m_columns = new QSplitter(Qt::Horizontal);
    m_columns->setChildrenCollapsible(false);
    m_columns->setHandleWidth(6);
    auto* left = new QWidget;
    left->setMinimumWidth(280);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(10, 10, 0, 0);
    leftColumn->setSpacing(0);
    m_model = new MessageListModel(this);
    m_list = new QListView;
    m_list->setModel(m_model);
    m_list->setItemDelegate(new MessageRowDelegate(m_model, m_list));
    m_list->setUniformItemSizes(true);
    m_list->setSpacing(0);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setAutoFillBackground(false);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAccessibleName(loc("Messages"));
    leftColumn->addWidget(m_list, 1);

    m_footer = new QWidget;
    auto* footer = new QVBoxLayout(m_footer);
    footer->setContentsMargins(0, 7, 10, 12);
    footer->setSpacing(7);
    const QColor tint = neutral();
    m_readFurther = new KitButton(
        loc("Read further"),
        std::make_unique<CapsuleButtonStyle>(KitFont::font(11.5, QFont::DemiBold, FontDesign::rounded),
                                             TessaronPalette::ink(), tint, 0.13, 0.35, QMarginsF(14, 7, 14, 7)));
    m_readFurther->setLeadingSymbol(QStringLiteral("arrow.down"));
    m_readFurther->setSymbolSpacing(6);
    connect(m_readFurther, &KitButton::clicked, this, &MessageListView::readFurther);
    footer->addWidget(m_readFurther, 0, Qt::AlignHCenter);
    m_count = label(QString(), KitFont::font(9.5), white(0.35));
    footer->addWidget(m_count, 0, Qt::AlignHCenter);
    leftColumn->addWidget(m_footer);
    m_columns->addWidget(left);

    m_exhibit = new ExhibitView(app, session);
    m_columns->addWidget(m_exhibit);
    m_columns->setStretchFactor(0, 0);
    m_columns->setStretchFactor(1, 1);
    m_columns->setSizes({380, 520});
    m_stack->addWidget(m_columns);

    m_empty = new EmptyPane(loc("Nothing retained"),
                            loc("Either nothing was ever produced here, or retention aged it out. Tessaron can't tell "
                                "which — and won't pretend to."));
    m_stack->addWidget(m_empty);
    m_briefing = new BrokerBriefing(app, session);
    m_stack->addWidget(m_briefing);

    connect(m_list, &QListView::clicked, this, &MessageListView::selectRow);
    m_list->installEventFilter(this);

    for (auto signal :
         {&BrokerSession::selectedTopicChanged, &BrokerSession::topicsChanged, &BrokerSession::connectionChanged,
          &BrokerSession::acceptedRabbitReadCostChanged, &BrokerSession::isLoadingMessagesChanged,
          &BrokerSession::messagesChanged, &BrokerSession::queueReadCostChanged})
        connect(session, signal, this, &MessageListView::refreshBody);
    connect(session, &BrokerSession::messagesChanged, this, &MessageListView::refreshRows);
    connect(session, &BrokerSession::messageSearchChanged, this, &MessageListView::refreshRows);
    connect(session, &BrokerSession::shapeVerdictChanged, this, &MessageListView::refreshRows);
    connect(session, &BrokerSession::selectedMessageChanged, this, [this] {
        if (m_session)
            m_model->setSelected(m_session->selectedMessage());
    });
    for (auto signal : {&BrokerSession::reachedEndChanged, &BrokerSession::messagesChanged,
                        &BrokerSession::isLoadingMessagesChanged, &BrokerSession::connectionChanged})
        connect(session, signal, this, &MessageListView::refreshFooter);
    refreshRows();
    refreshBody();
    refreshFooter();
}

void MessageListView::refreshBody()
{
    if (!m_session)
        return;
    const std::optional<Topic> topic = m_session->currentTopic();
    const std::optional<BrokerSession::Connection>& connection = m_session->connection();
    const bool rabbit = connection && connection->kind() == BrokerSession::Connection::rabbit;
    QueueReadTerms terms;
    if (topic && rabbit)
        terms = QueueReadTerms::of(*m_session, topic->name);
    m_consent->setTerms(terms);
    const bool held = m_session->needsReadConsent() || terms.refusal.has_value();
    m_body = chooseBody(topic.has_value(), held, m_session->isLoadingMessages(), !m_session->messages().isEmpty());

    m_header->setVisible(topic.has_value());
    if (topic)
        m_header->setTopic(*topic);
    switch (m_body) {
    case BrowserBody::consent:
        m_stack->setCurrentWidget(m_consent);
        break;
    case BrowserBody::working:
        m_stack->setCurrentWidget(m_working);
        break;
    case BrowserBody::columns:
        m_stack->setCurrentWidget(m_columns);
        break;
    case BrowserBody::nothingRetained:
        m_stack->setCurrentWidget(m_empty);
        break;
    case BrowserBody::briefing:
        m_stack->setCurrentWidget(m_briefing);
        break;
    }
}

void MessageListView::refreshRows()
{
    if (!m_session)
        return;
    QSet<QString> outliers;
    if (const std::optional<ShapeVerdict::Drift> drift = m_session->shapeVerdict().driftDetail())
        outliers = QSet<QString>(drift->outlierIDs.cbegin(), drift->outlierIDs.cend());
    const QList<Message> shown = m_session->searchResults();
    m_model->setRows(shown, outliers, m_session->selectedMessage());
    const QString& term = m_session->messageSearch();
    m_header->setSearchCounts(term.isEmpty() ? std::nullopt : std::optional<qsizetype>(shown.size()),
                              m_session->messages().size());
}

void MessageListView::refreshFooter()
{
    if (!m_session)
        return;
    const std::optional<BrokerSession::Connection>& connection = m_session->connection();
    const bool kafka = connection && connection->kind() == BrokerSession::Connection::kafka;
    m_footer->setVisible(kafka);
    const bool reachedEnd = m_session->reachedEnd();
    m_readFurther->setVisible(!reachedEnd);
    m_readFurther->setEnabled(!m_session->isLoadingMessages() && m_furtherInFlight == 0);
    const qint64 read = m_session->messages().size();
    m_count->setText(reachedEnd ? L10n::t("%d read · the end of every partition", read)
                                : L10n::t("%d read · there is more", read));
}

void MessageListView::selectRow(const QModelIndex& index)
{
    if (!m_session || !index.isValid())
        return;
    m_session->setSelectedMessage(m_model->messageAt(index.row()).id());
}

bool MessageListView::eventFilter(QObject* watched, QEvent* event)
{
    // Arrow keys move the session's selection, the one the exhibit follows.
    if (watched == m_list && event->type() == QEvent::KeyPress && m_session) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int rows = m_model->rowCount();
        if ((key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End) && rows > 0) {
            const std::optional<QString>& selected = m_session->selectedMessage();
            const int at = selected ? m_model->rowOf(*selected) : -1;
            int next = 0;
            if (key == Qt::Key_Down)
                next = at < 0 ? 0 : std::min(rows - 1, at + 1);
            else if (key == Qt::Key_Up)
                next = at < 0 ? 0 : std::max(0, at - 1);
            else if (key == Qt::Key_End)
                next = rows - 1;
            const QModelIndex index = m_model->index(next);
            selectRow(index);
            m_list->scrollTo(index);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MessageListView::readFurther()
{
    if (!m_session || m_session->isLoadingMessages() || m_furtherInFlight > 0)
        return;
    startDetached(runReadFurther());
}

QCoro::Task<> MessageListView::runReadFurther()
{
    QPointer<MessageListView> self(this);
    QPointer<BrokerSession> session = m_session;
    ++m_furtherInFlight;
    refreshFooter();
    auto task = session->read(BrokerSession::Position::atOffset(0), Prefs::messageLimit(), true);
    co_await std::move(task);
    if (!self)
        co_return;
    --m_furtherInFlight;
    refreshFooter();
}

} // namespace tessaron
