#include "Tessaron/actions/ResetOffsetsSheet.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/Slap.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/PlainButtonStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

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
    : QDialog(parent)
    , m_group(std::move(group))
    , m_topic(std::move(topic))
    , m_session(session)
{
    setFixedSize(ActionPage::pageWidth, ActionPage::pageHeight);
    setWindowTitle(L10n::t("Move the record"));
    m_page = new ActionPage(L10n::t("Move the record"), ResetLogic::subtitle(m_group),
                            ActionPage::Weight::consequential, this);
    QVBoxLayout* content = m_page->content();
    const QColor tint = accent();

    content->addWidget(new FormHeading(L10n::t("Resume from"), 1, tint, m_page));
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    m_target = new QLineEdit(QStringLiteral("0"), m_page);
    styleField(m_target, true);
    m_target->setFixedWidth(120);
    m_target->setAccessibleName(L10n::t("Resume from"));
    row->addWidget(m_target);
    m_beginning = new KitButton(L10n::t("The beginning"),
                                std::make_unique<PlainButtonStyle>(KitFont::font(11, QFont::Medium), tint), m_page);
    m_beginning->setFocusPolicy(Qt::StrongFocus);
    row->addWidget(m_beginning);
    row->addStretch(1);
    content->addLayout(row);

    m_scope = label(QString(), KitFont::font(10.5), white(0.45), m_page, true);
    content->addWidget(m_scope);
    m_negative = symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(), warningOrange(), 10.5, m_page);
    content->addWidget(m_negative);
    m_pastEnd = symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(), warningOrange(), 10.5, m_page);
    content->addWidget(m_pastEnd);
    m_beforeStart =
        symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(), warningOrange(), 10.5, m_page);
    content->addWidget(m_beforeStart);

    if (ResetLogic::groupIsEmpty(m_group)) {
        m_state = symbolLabel(QStringLiteral("checkmark.seal.fill"), ResetLogic::groupStateLine(m_group),
                              allClearGreen(), 10.5, m_page);
    } else {
        m_state = new QWidget(m_page);
        auto* stateRow = new QHBoxLayout(m_state);
        stateRow->setContentsMargins(0, 0, 0, 0);
        stateRow->setSpacing(7);
        m_slap = new Slap(12, 0, warningOrange(), m_state);
        stateRow->addWidget(m_slap, 0, Qt::AlignTop);
        auto* words = label(ResetLogic::groupStateLine(m_group), KitFont::font(10.5), warningOrange(), m_state, true);
        words->setObjectName(QStringLiteral("text"));
        stateRow->addWidget(words, 1);
    }
    content->addWidget(m_state);

    content->addWidget(new FormHeading(L10n::t("Why"), 2, tint, m_page));
    m_reason = new QLineEdit(m_page);
    styleField(m_reason, false);
    m_reason->setPlaceholderText(L10n::t("Replaying after the consumer fix"));
    m_reason->setAccessibleName(L10n::t("Why"));
    content->addWidget(m_reason);

    QHBoxLayout* footer = m_page->footer();
    footer->addWidget(symbolLabel(QStringLiteral("exclamationmark.triangle.fill"),
                                  L10n::t("This makes a real consumer group reprocess."),
                                  withOpacity(warningOrange(), 0.9), 10.5, m_page),
                      1, Qt::AlignVCenter);
    m_cancel = dismissButton(L10n::t("Cancel"), m_page);
    footer->addWidget(m_cancel);
    m_move = new WorkingButton(L10n::t("Move it"), L10n::t("Moving…"), m_page);
    footer->addWidget(m_move);

    connect(m_target, &QLineEdit::textChanged, this, &ResetOffsetsSheet::refresh);
    connect(m_reason, &QLineEdit::textChanged, this, &ResetOffsetsSheet::refresh);
    connect(m_beginning, &QAbstractButton::clicked, this, [this] { m_target->setText(QStringLiteral("0")); });
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_move, &QAbstractButton::clicked, this, &ResetOffsetsSheet::move);
    if (session) {
        // Without a topic of its own the sheet follows the workspace's.
        connect(session, &BrokerSession::topicsChanged, this, &ResetOffsetsSheet::refresh);
        connect(session, &BrokerSession::selectedTopicChanged, this, &ResetOffsetsSheet::refresh);
    }
    setTabOrder(m_target, m_beginning);
    setTabOrder(m_beginning, m_reason);
    setTabOrder(m_reason, m_cancel);
    setTabOrder(m_cancel, m_move);
    m_target->setFocus();
    refresh();
}

std::optional<Topic> ResetOffsetsSheet::effectiveTopic() const
{
    return ResetLogic::effectiveTopic(m_topic, m_session ? m_session->currentTopic() : std::nullopt);
}

bool ResetOffsetsSheet::canMove() const
{
    return ResetLogic::canMove(m_target->text(), effectiveTopic(), m_reason->text(), m_working);
}

QString ResetOffsetsSheet::pastEndText() const { return textOf(m_pastEnd); }
QString ResetOffsetsSheet::beforeStartText() const { return textOf(m_beforeStart); }
QString ResetOffsetsSheet::negativeText() const { return textOf(m_negative); }
QString ResetOffsetsSheet::groupStateText() const { return textOf(m_state); }

void ResetOffsetsSheet::refresh()
{
    const std::optional<Topic> topic = effectiveTopic();
    const QString target = m_target->text();
    m_scope->setText(ResetLogic::scopeLine(topic));
    setWarning(m_negative, ResetLogic::negativeRefusal(target));
    setWarning(m_pastEnd, ResetLogic::pastEndWarning(ResetLogic::pastEnd(topic, target)));
    setWarning(m_beforeStart, ResetLogic::beforeStartWarning(ResetLogic::beforeStart(topic, target)));
    m_move->setEnabled(canMove());
}

void ResetOffsetsSheet::move()
{
    const std::optional<Topic> topic = effectiveTopic();
    const std::optional<int64_t> target = ResetLogic::parseTarget(m_target->text());
    if (!canMove() || !m_session || !topic || !target)
        return;
    startDetached(moveTask(m_group.id, *topic, *target, m_reason->text()));
}

QCoro::Task<> ResetOffsetsSheet::moveTask(QString group, Topic topic, int64_t target, QString reason)
{
    QPointer<ResetOffsetsSheet> self(this);
    m_working = true;
    m_outcome.reset();
    showOutcome();
    m_move->setWorking(true);
    refresh();
    QPointer<BrokerSession> session = m_session;
    auto task = session->resetOffsets(group, topic, target, reason);
    const AppOutcome outcome = co_await std::move(task);
    // Closed meanwhile: the move went on, and nobody is left to show it.
    if (!self)
        co_return;
    m_outcome = outcome;
    m_working = false;
    ++m_strikes;
    if (m_slap)
        m_slap->setCount(m_strikes);
    m_move->setWorking(false);
    showOutcome();
    refresh();
}

void ResetOffsetsSheet::showOutcome()
{
    if (!m_outcome) {
        delete m_outcomeBlock;
        m_outcomeBlock = nullptr;
        return;
    }
    if (m_outcomeBlock) {
        m_outcomeBlock->setOutcome(*m_outcome, m_strikes);
    } else {
        m_outcomeBlock = new OutcomeBlock(*m_outcome, m_strikes, m_page);
        m_page->content()->addWidget(m_outcomeBlock);
    }
    m_page->reveal(m_outcomeBlock);
}

} // namespace tessaron
