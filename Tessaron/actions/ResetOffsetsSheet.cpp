#include "Tessaron/actions/ResetOffsetsSheet.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/actions/Slap.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/PlainButtonStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace tessaron {

using namespace ActionStyle;

namespace {

QString textOf(QWidget* holder)
{
    if (!holder->isVisibleTo(holder->parentWidget()))
        return {};
    auto* words = holder->findChild<QLabel*>(QStringLiteral("text"));
    return words ? words->text() : QString();
}

void setWarning(QWidget* holder, const QString& text)
{
    holder->findChild<QLabel*>(QStringLiteral("text"))->setText(text);
    holder->setVisible(!text.isEmpty());
}

} // namespace

ResetOffsetsSheet::ResetOffsetsSheet(ConsumerGroup group, std::optional<Topic> topic, AppState*, BrokerSession* session,
                                     QWidget* parent)
    : WritingSheet(L10n::t("Move the record"), ResetLogic::subtitle(group), true, session, parent)
    , m_group(std::move(group))
    , m_topic(std::move(topic))
{
    ActionPage* sheetPage = page();
    QVBoxLayout* content = sheetPage->content();
    const QColor tint = accent();

    m_resumeHeading = new FormHeading(QString(), 1, tint, sheetPage);
    content->addWidget(m_resumeHeading);
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    m_target = new QLineEdit(sheetPage);
    styleField(m_target, true);
    row->addWidget(m_target);
    m_beginning =
        new KitButton(QString(), std::make_unique<PlainButtonStyle>(KitFont::font(11, QFont::Medium), tint), sheetPage);
    m_beginning->setFocusPolicy(Qt::StrongFocus);
    row->addWidget(m_beginning);
    row->addStretch(1);
    content->addLayout(row);

    m_scope = label(QString(), KitFont::font(10.5), white(0.45), sheetPage, true);
    content->addWidget(m_scope);
    m_negative =
        symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(), warningOrange(), 10.5, sheetPage);
    content->addWidget(m_negative);
    m_pastEnd =
        symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(), warningOrange(), 10.5, sheetPage);
    content->addWidget(m_pastEnd);
    m_beforeStart =
        symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(), warningOrange(), 10.5, sheetPage);
    content->addWidget(m_beforeStart);

    if (ResetLogic::groupIsEmpty(m_group)) {
        m_state = symbolLabel(QStringLiteral("checkmark.seal.fill"), QString(), allClearGreen(), 10.5, sheetPage);
    } else {
        m_state = new QWidget(sheetPage);
        auto* stateRow = new QHBoxLayout(m_state);
        stateRow->setContentsMargins(0, 0, 0, 0);
        stateRow->setSpacing(7);
        m_slap = new Slap(12, 0, warningOrange(), m_state);
        stateRow->addWidget(m_slap, 0, Qt::AlignTop);
        auto* words = label(QString(), KitFont::font(10.5), warningOrange(), m_state, true);
        words->setObjectName(QStringLiteral("text"));
        stateRow->addWidget(words, 1);
    }
    content->addWidget(m_state);

    addReason(2);
    addFooter();
    retranslate();

    connect(m_target, &QLineEdit::textChanged, this, [this](const QString& text) {
        // An empty field is what the sheet opens on and what its placeholder names: each partition's start.
        m_fromBeginning = text.isEmpty();
        refresh();
    });
    connect(m_beginning, &QAbstractButton::clicked, this, [this] {
        m_fromBeginning = true;
        m_target->clear();
        refresh();
    });
    connect(moveButton(), &QAbstractButton::clicked, this, &ResetOffsetsSheet::move);
    if (session) {
        // Without a topic of its own the sheet follows the workspace's.
        connect(session, &BrokerSession::topicsChanged, this, &ResetOffsetsSheet::refresh);
        connect(session, &BrokerSession::selectedTopicChanged, this, &ResetOffsetsSheet::refresh);
    }
    m_ends = new QTimer(this);
    m_ends->setInterval(endsInterval);
    connect(m_ends, &QTimer::timeout, this, &ResetOffsetsSheet::refreshEnds);
    setTabOrder(m_target, m_beginning);
    setTabOrder(m_beginning, reasonField());
    setTabOrder(reasonField(), cancelButton());
    setTabOrder(cancelButton(), moveButton());
    m_target->setFocus();
    refresh();
}

void ResetOffsetsSheet::retranslate()
{
    WritingSheet::retranslate();
    setTitles(L10n::t("Move the record"), ResetLogic::subtitle(m_group));
    m_resumeHeading->setText(L10n::t("Resume from"));
    m_target->setAccessibleName(L10n::t("Resume from"));
    // Said as what the field is for: without a description of its own a screen reader says the
    // placeholder there, which reads like the field's value.
    m_target->setAccessibleDescription(
        L10n::t("The offset each partition resumes from; left empty, each partition's start"));
    m_beginning->setText(L10n::t("The beginning"));
    m_target->setPlaceholderText(L10n::t("Each partition's start"));
    // Wide enough for the placeholder whole (the field's padding, frame and Qt's own margin).
    m_target->setFixedWidth(
        std::max(120, m_target->fontMetrics().horizontalAdvance(m_target->placeholderText()) + 2 * (9 + 1 + 2) + 4));
    m_state->findChild<QLabel*>(QStringLiteral("text"))->setText(ResetLogic::groupStateLine(m_group));
    setReasonTexts(L10n::t("Replaying after the consumer fix"));
    setFooterTexts(L10n::t("This makes a real consumer group reprocess."), L10n::t("Move it"), L10n::t("Moving…"));
    // The scope and the warnings are composed by refresh.
    refresh();
}

std::optional<Topic> ResetOffsetsSheet::effectiveTopic() const
{
    std::optional<Topic> given = m_topic;
    // The topic handed over when the sheet opened, with its partitions as the session last listed
    // them: the ends move while the sheet is open.
    if (given && session()) {
        for (const Topic& listed : session()->topics()) {
            if (listed.name == given->name) {
                given = listed;
                break;
            }
        }
    }
    return ResetLogic::effectiveTopic(given, session() ? session()->currentTopic() : std::nullopt);
}

void ResetOffsetsSheet::showEvent(QShowEvent* event)
{
    WritingSheet::showEvent(event);
    refreshEnds();
    m_ends->start();
}

void ResetOffsetsSheet::hideEvent(QHideEvent* event)
{
    m_ends->stop();
    WritingSheet::hideEvent(event);
}

void ResetOffsetsSheet::refreshEnds()
{
    BrokerSession* open = session();
    const std::optional<Topic> topic = effectiveTopic();
    if (!open || !open->connection() || open->isLoadingTopics() || !topic || m_askingEnds)
        return;
    // Only this topic's ends, not the whole listing; the session publishes them with the topics and
    // refresh follows topicsChanged.
    m_askingEnds = true;
    startDetached([](QPointer<ResetOffsetsSheet> sheet, QPointer<BrokerSession> open, QString name) -> QCoro::Task<> {
        co_await open->refreshCounts(name);
        if (sheet)
            sheet->m_askingEnds = false;
    }(this, open, topic->name));
}

bool ResetOffsetsSheet::canMove() const
{
    return ResetLogic::canMove(m_target->text(), effectiveTopic(), reasonField()->text(), isWorking(), m_fromBeginning);
}

QString ResetOffsetsSheet::pastEndText() const { return textOf(m_pastEnd); }
QString ResetOffsetsSheet::beforeStartText() const { return textOf(m_beforeStart); }
QString ResetOffsetsSheet::negativeText() const { return textOf(m_negative); }
QString ResetOffsetsSheet::groupStateText() const { return textOf(m_state); }

void ResetOffsetsSheet::refresh()
{
    const std::optional<Topic> topic = effectiveTopic();
    const QString target = m_target->text();
    m_scope->setText(ResetLogic::scopeLine(topic, m_fromBeginning));
    setWarning(m_negative, ResetLogic::negativeRefusal(target));
    setWarning(m_pastEnd, ResetLogic::pastEndWarning(ResetLogic::pastEnd(topic, target)));
    setWarning(m_beforeStart, ResetLogic::beforeStartWarning(ResetLogic::beforeStart(topic, target)));
    moveButton()->setEnabled(canMove());
}

void ResetOffsetsSheet::move()
{
    const std::optional<Topic> topic = effectiveTopic();
    // No target: each partition's own start, which the session reads when it moves.
    const std::optional<int64_t> target = m_fromBeginning ? std::nullopt : ResetLogic::parseTarget(m_target->text());
    if (!canMove() || !topic || (!m_fromBeginning && !target))
        return;
    write([group = m_group.id, chosen = *topic, offset = target, reason = reasonField()->text()](
              BrokerSession& session) { return session.resetOffsets(group, chosen, offset, reason); });
}

void ResetOffsetsSheet::struck(int strikes)
{
    if (m_slap)
        m_slap->setCount(strikes);
}

} // namespace tessaron
