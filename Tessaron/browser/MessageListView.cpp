#include "Tessaron/browser/MessageListView.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/FocusRing.h"
#include "Tessaron/browser/CapsuleButtonStyle.h"
#include "Tessaron/kit/EmptyPane.h"
#include "Tessaron/kit/SheetFit.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/browser/ExhibitView.h"
#include "Tessaron/browser/MessageListModel.h"
#include "Tessaron/browser/MessageRowDelegate.h"
#include "Tessaron/browser/QueueReadTerms.h"
#include "Tessaron/browser/ReadConsentPane.h"
#include "Tessaron/browser/RowList.h"
#include "Tessaron/browser/TopicHeader.h"
#include "Tessaron/casework/BrokerBriefing.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/TessaronWorking.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/l10n/MomentStyles.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinUI/KitButton.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStringList>
#include <QVBoxLayout>

namespace tessaron {

using namespace BrowserStyle;

namespace {
// Room the rows and the exhibit keep whatever the window: together with the sidebar at its
// narrowest they fit the smallest window.
constexpr int listMinimumWidth = 210;
// A few rows under the header: at the default window size the header and the rows fit without
// the pane scrolling.
constexpr int bodyMinimumHeight = 200;

// The body's pages are many and only one shows: the stack claims no height for its width, so the
// column never squeezes the header to make room for a page that is not shown.
class BodyStack : public QStackedWidget {
public:
    bool hasHeightForWidth() const override { return false; }
};

// What the pane scrolls: the header at the height its width gives it, and the body at least at
// its minimum. The column's own minimum would count every wrapping text at its narrowest and make
// the pane scroll when everything fits. A page that cannot scroll itself and needs more than the
// minimum (the read consent) is given its whole height, and only once.
class PaneContent : public QWidget {
public:
    explicit PaneContent(QStackedWidget* body)
        : m_body(body)
    { }

    int heightForWidth(int width) const override
    {
        QLayout* column = layout();
        const QMargins margins = column->contentsMargins();
        const int inner = width - margins.left() - margins.right();
        int height = margins.top() + margins.bottom();
        for (int i = 0; i < column->count(); ++i) {
            QLayoutItem* item = column->itemAt(i);
            if (item->widget() == m_body || item->isEmpty())
                continue;
            height += item->hasHeightForWidth() ? item->heightForWidth(inner) : item->sizeHint().height();
        }
        QWidget* page = m_body->currentWidget();
        const int need = page && page->hasHeightForWidth() ? page->heightForWidth(inner) : 0;
        return height + std::max(m_body->minimumHeight(), need);
    }
    QSize minimumSizeHint() const override { return {layout()->totalMinimumSize().width(), 0}; }

private:
    QStackedWidget* m_body;
};

// The rows' width beside the exhibit: what a narrow window gives them, and their share of a wide
// one, where previews would otherwise be cut beside case notes that span the rest. Once the reader
// drags the handle the width is theirs.
class ListShare : public QObject {
public:
    static constexpr int narrowWidth = 380;
    static constexpr double share = 0.4;

    explicit ListShare(QSplitter* columns)
        : QObject(columns)
        , m_columns(columns)
    {
        columns->installEventFilter(this);
        connect(columns, &QSplitter::splitterMoved, this, [this] { m_dragged = true; });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize && !m_dragged && m_columns->count() == 2) {
            const int room = m_columns->width() - m_columns->handleWidth();
            const int rows = std::max(narrowWidth, int(room * share));
            m_columns->setSizes({rows, std::max(0, room - rows)});
        }
        return false;
    }

private:
    QSplitter* m_columns;
    bool m_dragged = false;
};

// The list takes no selection from the mouse (the session's selection is the one the exhibit
// follows), but mirrors it in its selection model: assistive technology reads the selected row as
// selected, and moving the current row moves its focus with the arrow keys.
void markSelected(QListView* list, const MessageListModel* model, const std::optional<QString>& selected)
{
    const int row = selected ? model->rowOf(*selected) : -1;
    QItemSelectionModel* selection = list->selectionModel();
    if (row < 0) {
        selection->clearSelection();
        return;
    }
    selection->setCurrentIndex(model->index(row), QItemSelectionModel::ClearAndSelect);
}

} // namespace

MessageListView::MessageListView(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
{
    // A short window cannot hold the header's charts and a usable list at once: the pane then
    // scrolls as a whole instead of squeezing either.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_pane = new QScrollArea;
    m_pane->setFrameShape(QFrame::NoFrame);
    m_pane->setWidgetResizable(true);
    m_pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pane->setAutoFillBackground(false);
    m_pane->viewport()->setAutoFillBackground(false);
    // No Tab stop of its own (it would be a nameless stop before the header's controls); the
    // control that takes the focus is scrolled into view instead.
    m_pane->setFocusPolicy(Qt::NoFocus);
    SheetFit::keepFocusInView(m_pane);
    outer->addWidget(m_pane);
    m_stack = new BodyStack;
    auto* inner = new PaneContent(m_stack);
    auto* column = new QVBoxLayout(inner);
    column->setContentsMargins(0, 11, 11, 11);
    column->setSpacing(0);
    m_header = new TopicHeader(app, session);
    column->addWidget(m_header);
    // The body takes what the header leaves; the pane scrolls only when that is under its minimum
    // (its pages' own preferred heights would make the pane scroll at every size).
    m_stack->setMinimumHeight(bodyMinimumHeight);
    m_stack->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    column->addWidget(m_stack, 1);
    // The scroll area fills what it takes with the window's colour: the pane's flat ground.
    m_pane->setWidget(inner);

    m_consent = new ReadConsentPane(session);
    m_stack->addWidget(m_consent);
    m_working = new TessaronWorking(4);
    m_stack->addWidget(m_working);

    // The two columns: the rows with their footer, and the exhibit.
    m_columns = new QSplitter(Qt::Horizontal);
    m_columns->setChildrenCollapsible(false);
    m_columns->setHandleWidth(6);
    auto* left = new QWidget;
    left->setMinimumWidth(listMinimumWidth);
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->setContentsMargins(10, 10, 0, 0);
    leftColumn->setSpacing(0);
    m_model = new MessageListModel(this);
    m_list = new RowList;
    m_list->setModel(m_model);
    m_list->setItemDelegate(new MessageRowDelegate(m_model, m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setMouseTracking(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    // The current row follows the session's selection (markSelected) without scrolling to it: a
    // new read or verdict must not pull the list away from where the reader scrolled.
    m_list->setAutoScroll(false);
    m_list->setAutoFillBackground(false);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAccessibleName(loc("Messages"));
    new FocusRing(m_list, FocusRing::Shown::byKeyboard, m_list->viewport());
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
    m_columns->setSizes({ListShare::narrowWidth, 520});
    new ListShare(m_columns);
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
          &BrokerSession::messagesChanged, &BrokerSession::queueReadCostChanged, &BrokerSession::positionChanged,
          &BrokerSession::timeAnswerChanged, &BrokerSession::reachedEndChanged, &BrokerSession::lostConnectionChanged})
        connect(session, signal, this, &MessageListView::refreshBody);
    // While "Read further" runs, a change of the messages is its page merged in (or, if the
    // list shown is not among them, a read that superseded it: mergeRows tells).
    connect(session, &BrokerSession::messagesChanged, this, [this] { refreshRows(m_furtherInFlight > 0); });
    connect(session, &BrokerSession::messageSearchChanged, this, [this] { refreshRows(); });
    connect(session, &BrokerSession::shapeVerdictChanged, this, &MessageListView::refreshOutliers);
    connect(session, &BrokerSession::selectedMessageChanged, this, [this] {
        if (!m_session)
            return;
        m_model->setSelected(m_session->selectedMessage());
        markSelected(m_list, m_model, m_session->selectedMessage());
    });
    for (auto signal :
         {&BrokerSession::reachedEndChanged, &BrokerSession::unreadPartitionsChanged, &BrokerSession::messagesChanged,
          &BrokerSession::isLoadingMessagesChanged, &BrokerSession::connectionChanged})
        connect(session, signal, this, &MessageListView::refreshFooter);
    refreshRows();
    refreshBody();
    refreshFooter();
}

std::pair<QString, QString> MessageListView::emptyTexts(const Topic& topic, const BrokerSession::Position& position,
                                                        const BrokerSession::PartitionOffsets& timeAnswer, bool refused)
{
    if (refused)
        return {loc("Not yours to read"),
                loc("The broker lets this user see this topic but not read it: its ACLs grant no Read here.")};
    // The watermarks say whether the topic holds anything; a read that found nothing from its
    // start says only that nothing is there from that start.
    const int64_t retained = topic.retained();
    if (retained <= 0)
        return {loc("Nothing retained"),
                loc("Either nothing was ever produced here, or retention aged it out. "
                    "Tessaron can't tell which — and won't pretend to.")};
    const QString count = L10n::interfaceLocale().toString(qint64(retained));
    if (position.which() == BrokerSession::Position::time && !timeAnswer.isEmpty()) {
        // Only a lookup that answered "none" for every partition says the messages are older.
        const bool noneAfter = std::all_of(topic.partitions.begin(), topic.partitions.end(),
                                           [&](const Partition& p) { return timeAnswer.value(p.id, 0) == -1; });
        if (noneAfter)
            return {loc("Nothing from that moment on"),
                    retained == 1 ? loc("This topic retains 1 message, and it is from before that moment. Pick an "
                                        "earlier moment, or read the latest.")
                                  : L10n::t("This topic retains %@ messages, all from before it. Pick an earlier "
                                            "moment, or read the latest.",
                                            count)};
        // The lookup pointed somewhere and the read found nothing there: tell both, claim neither.
        return {
            loc("Nothing read from that moment on"),
            L10n::t(
                "Asked for the first message at or after %@, the broker answered %@, yet nothing came back from there.",
                MomentStyles::shortened(position.moment(), L10n::interfaceLocale()), answerText(topic, timeAnswer))};
    }
    return {loc("Nothing read from there"),
            retained == 1
                ? loc("This topic retains 1 message, but it did not come back from where this read started.")
                : L10n::t("This topic retains %@ messages, but none came back from where this read started.", count)};
}

QString MessageListView::answerText(const Topic& topic, const BrokerSession::PartitionOffsets& timeAnswer)
{
    constexpr qsizetype shown = 4;
    QStringList parts;
    for (qsizetype i = 0; i < std::min(shown, topic.partitions.size()); ++i) {
        const int32_t id = topic.partitions[i].id;
        const auto it = timeAnswer.constFind(id);
        if (it == timeAnswer.constEnd())
            parts << L10n::t("nothing for p%d", id);
        else if (*it < 0)
            parts << L10n::t("none in p%d", id);
        else
            parts << L10n::t("p%d at offset %@", id, L10n::interfaceLocale().toString(qint64(*it)));
    }
    if (const qsizetype rest = topic.partitions.size() - shown; rest == 1)
        parts << loc("1 more partition");
    else if (rest > 1)
        parts << L10n::t("%d more partitions", rest);
    return parts.join(QStringLiteral(", "));
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
    const QWidget* shownBefore = m_stack->currentWidget();
    m_body = chooseBody(topic.has_value(), held, m_session->isLoadingMessages(), !m_session->messages().isEmpty());

    m_header->setVisible(topic.has_value());
    if (topic)
        m_header->setTopic(*topic);
    switch (m_body) {
    case BrowserBody::consent:
        m_stack->setCurrentWidget(m_consent);
        break;
    case BrowserBody::working:
        // Each wait starts its captions from the first.
        if (m_stack->currentWidget() != m_working)
            m_working->restart();
        m_stack->setCurrentWidget(m_working);
        break;
    case BrowserBody::columns:
        m_stack->setCurrentWidget(m_columns);
        break;
    case BrowserBody::nothingRetained: {
        // Under the lost-connection banner an empty list is a read the broker never answered, not
        // a verdict on what the topic holds.
        const auto [title, detail] = m_session->lostConnection()
            ? std::pair<QString, QString>(loc("The read was cut off"),
                                          loc("The broker stopped answering before this read came back, so nothing "
                                              "of it is shown. Try again once it answers."))
            : emptyTexts(*topic, m_session->position(), m_session->timeAnswer(), m_session->readRefused());
        m_empty->setTexts(title, detail);
        m_stack->setCurrentWidget(m_empty);
        break;
    }
    case BrowserBody::briefing:
        m_stack->setCurrentWidget(m_briefing);
        break;
    }
    // The pane's height depends on the page shown (and nothing here changes it otherwise: every
    // page of a read comes through here).
    if (m_stack->currentWidget() != shownBefore)
        m_pane->widget()->updateGeometry();
}

namespace {
QSet<QString> outliersOf(const BrokerSession& session)
{
    if (const std::optional<ShapeVerdict::Drift> drift = session.shapeVerdict().driftDetail())
        return QSet<QString>(drift->outlierIDs.cbegin(), drift->outlierIDs.cend());
    return {};
}
} // namespace

void MessageListView::refreshRows(bool further)
{
    if (!m_session)
        return;
    const QList<Message> shown = m_session->searchResults();
    if (further) {
        // The rows in view stay in view: a page merged above them moves them down by its rows (the
        // model's insertions carry the top row's index along).
        const QPersistentModelIndex top = m_list->indexAt(QPoint(0, 0));
        const int before = top.isValid() ? top.row() : -1;
        const int scrolled = m_list->verticalScrollBar()->value();
        // Without a search the rows are the held messages: the session says where the page went.
        const std::optional<BrokerSession::InsertedRuns>& runs = m_session->insertedRuns();
        if (runs && m_session->messageSearch().isEmpty())
            m_model->insertRuns(shown, *runs, m_session->selectedMessage());
        else
            m_model->mergeRows(shown, m_session->selectedMessage());
        const int after = top.isValid() ? top.row() : -1;
        if (after > before && before >= 0) {
            m_list->doItemsLayout();
            const int rowHeight = m_list->visualRect(m_model->index(after)).height();
            m_list->verticalScrollBar()->setValue(scrolled + (after - before) * rowHeight);
        }
    } else {
        m_model->setRows(shown, outliersOf(*m_session), m_session->selectedMessage());
    }
    markSelected(m_list, m_model, m_session->selectedMessage());
    // With no row to reach (a search that matched nothing) the list is no Tab stop.
    m_list->setFocusPolicy(shown.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    const QString& term = m_session->messageSearch();
    m_header->setSearchCounts(term.isEmpty() ? std::nullopt : std::optional<qsizetype>(shown.size()),
                              m_session->messages().size());
}

void MessageListView::refreshOutliers()
{
    if (!m_session)
        return;
    const std::optional<ShapeVerdict::Drift> drift = m_session->shapeVerdict().driftDetail();
    m_model->followOutliers(drift ? drift->outlierIDs : QList<QString>{});
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
    const bool reading = m_session->isLoadingMessages() || m_furtherInFlight > 0;
    m_readFurther->setEnabled(!reading);
    showReadingInButton(reading);
    const qint64 read = m_session->messages().size();
    // A partition that could not be read is named: "Read further" asks it again.
    QStringList unread;
    for (int32_t partition : m_session->unreadPartitions())
        unread << QStringLiteral("p%1").arg(partition);
    if (!unread.isEmpty())
        m_count->setText(L10n::t("%d read · %@ wouldn't read", read, unread.join(QStringLiteral(", "))));
    else
        m_count->setText(reachedEnd ? L10n::t("%d read · the end of every partition", read)
                                    : L10n::t("%d read · there is more", read));
}

void MessageListView::showReadingInButton(bool reading)
{
    if (reading == (m_readFurther->content() != nullptr))
        return;
    if (!reading) {
        m_readFurther->setContent(nullptr);
        m_readFurther->updateGeometry();
        return;
    }
    // While it reads, a small spinner takes the arrow's place in front of the same words.
    const QFont font = m_readFurther->buttonStyle()->font(m_readFurther->font());
    const QColor ink =
        m_readFurther->buttonStyle()->labelColor(m_readFurther->state()).value_or(TessaronPalette::ink());
    auto* content = new QWidget;
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    auto* spinner = new Spinner(QFontMetricsF(font).height() * 0.8, ink, SpinnerLook::arc);
    spinner->setObjectName(QStringLiteral("readingSpinner"));
    row->addWidget(spinner, 0, Qt::AlignVCenter);
    auto* words = new QLabel(m_readFurther->text());
    words->setFont(font);
    QPalette palette = words->palette();
    palette.setColor(QPalette::WindowText, ink);
    words->setPalette(palette);
    row->addWidget(words, 0, Qt::AlignVCenter);
    m_readFurther->setContent(content);
}

void MessageListView::selectRow(const QModelIndex& index)
{
    if (!m_session || !index.isValid())
        return;
    m_session->setSelectedMessage(m_model->messageAt(index.row()).id());
}

bool MessageListView::eventFilter(QObject* watched, QEvent* event)
{
    // Tabbed onto with no row current, the first row is, so the ring shows where the arrows start.
    if (watched == m_list && event->type() == QEvent::FocusIn && !m_list->currentIndex().isValid()
        && m_model->rowCount() > 0) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason)
            m_list->selectionModel()->setCurrentIndex(m_model->index(0), QItemSelectionModel::NoUpdate);
    }
    // Arrow and Page keys move the session's selection, the one the exhibit follows. The list
    // scrolls by itself to nothing (see setAutoScroll), so each move brings its row into view.
    if (watched == m_list && event->type() == QEvent::KeyPress && m_session) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int rows = m_model->rowCount();
        if ((key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End
             || key == Qt::Key_PageUp || key == Qt::Key_PageDown)
            && rows > 0) {
            const std::optional<QString>& selected = m_session->selectedMessage();
            const int at = selected ? m_model->rowOf(*selected) : -1;
            int next = 0;
            if (key == Qt::Key_Down)
                next = at < 0 ? 0 : std::min(rows - 1, at + 1);
            else if (key == Qt::Key_Up)
                next = at < 0 ? 0 : std::max(0, at - 1);
            else if (key == Qt::Key_End)
                next = rows - 1;
            else if ((key == Qt::Key_PageDown || key == Qt::Key_PageUp) && at >= 0)
                next = static_cast<RowList*>(m_list)->pageFrom(m_model->index(at), key == Qt::Key_PageDown).row();
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
    auto task = session->read(BrokerSession::Position::atOffset(0), Prefs::messageLimit(), true);
    // After the read is on its way: drawing the button's spinner need not hold it up.
    refreshFooter();
    co_await std::move(task);
    if (!self)
        co_return;
    --m_furtherInFlight;
    refreshFooter();
}

} // namespace tessaron
