#include "Tessaron/actions/AskSheet.h"
#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/actions/AnswerBlock.h"
#include "Tessaron/actions/FlowChips.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTextBlock>
#include <QVBoxLayout>

#include <cmath>

namespace tessaron {

using namespace ActionStyle;

QuestionEdit::QuestionEdit(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setFont(KitFont::font(12));
    setTabChangesFocus(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setObjectName(QStringLiteral("questionField"));
    setStyleSheet(
        QStringLiteral("QPlainTextEdit#questionField { background: %3; border: 1px solid %4; border-radius: 8px; "
                       "padding: 4px 5px; color: %1; }"
                       "QPlainTextEdit#questionField:focus { border: 1px solid %2; }")
            .arg(ink().name(), withOpacity(accent(), 0.7).name(QColor::HexArgb),
                 TessaronPalette::css(TessaronPalette::fieldFill()),
                 TessaronPalette::css(TessaronPalette::fieldEdge())));
    QPalette p = palette();
    p.setColor(QPalette::PlaceholderText, withOpacity(muted(), 0.7));
    setPalette(p);
    connect(document(), &QTextDocument::contentsChanged, this, &QuestionEdit::fit);
    fit();
}

void QuestionEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & Qt::ShiftModifier)
            insertPlainText(QStringLiteral("\n")); // a line feed, not the editor's line separator
        else
            emit submitted();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void QuestionEdit::fit()
{
    // Between two and four lines, as the wrapped text needs.
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    lines = std::clamp(lines, 2, 4);
    const int line = fontMetrics().lineSpacing();
    setFixedHeight(lines * line + 2 * int(document()->documentMargin()) + 10);
}

AskSheet::AskSheet(AppState* app, BrokerSession* session, QWidget* parent)
    : QDialog(parent)
    , m_app(app)
    , m_session(session)
{
    m_page = new ActionPage(QString(), QString(), ActionPage::Weight::routine, this);
    m_page->fill(this);
    QVBoxLayout* content = m_page->content();
    const QColor tint = accent();

    m_questionHeading = new FormHeading(QString(), 1, tint, m_page);
    content->addWidget(m_questionHeading);
    m_question = new QuestionEdit(m_page);
    content->addWidget(m_question);
    m_chips = new FlowChips(AskLogic::suggestions(), m_page);
    content->addWidget(m_chips);
    m_sendHeading = new FormHeading(QString(), 2, tint, m_page);
    content->addWidget(m_sendHeading);
    QWidget* notice = symbolLabel(QStringLiteral("lock.laptopcomputer"), QString(), white(0.5), 10.5, m_page);
    m_notice = notice->findChild<QLabel*>(QStringLiteral("text"));
    content->addWidget(notice);

    QHBoxLayout* footer = m_page->footer();
    footer->addStretch(1);
    m_close = dismissButton(QString(), m_page);
    footer->addWidget(m_close);
    m_ask = new WorkingButton(QString(), QString(), m_page);
    footer->addWidget(m_ask);

    connect(m_question, &QPlainTextEdit::textChanged, this, &AskSheet::refresh);
    connect(m_question, &QuestionEdit::submitted, this, &AskSheet::ask);
    connect(m_chips, &FlowChips::tapped, this, [this](const QString& item) {
        m_question->setPlainText(L10n::t(item));
        m_question->moveCursor(QTextCursor::End);
        m_question->setFocus();
    });
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_ask, &QAbstractButton::clicked, this, &AskSheet::ask);
    if (session) {
        connect(session, &BrokerSession::messagesChanged, this, &AskSheet::refresh);
        connect(session, &BrokerSession::groupsChanged, this, &AskSheet::refresh);
        connect(session, &BrokerSession::selectedTopicChanged, this, &AskSheet::refresh);
    }
    setTabOrder(m_question, m_chips->chips().value(0));
    m_question->setFocus();
    retranslate();
    // What is typed, the answer shown and a question under way stay; only the texts change.
    LanguageChange::onChange(this, [this] { retranslate(); });
    // The tool is the one the application state found; a search under way names it when it ends.
    if (app) {
        connect(app, &AppState::aiToolChanged, this, &AskSheet::followTool);
        connect(app, &AppState::aiDetectingChanged, this, &AskSheet::followTool);
        followTool();
    }
}

void AskSheet::retranslate()
{
    setWindowTitle(L10n::t("Ask your topic"));
    m_page->setTitle(L10n::t("Ask your topic"));
    m_questionHeading->setText(L10n::t("The question"));
    m_question->setPlaceholderText(L10n::t("What would you like to know?"));
    m_question->setAccessibleName(L10n::t("The question"));
    m_sendHeading->setText(L10n::t("What Tessaron will send"));
    m_close->setText(L10n::t("Close"));
    m_ask->setTexts(L10n::t("Ask"), L10n::t("Tessaron is reviewing the record…"));
    // The subtitle and the notice are composed by refresh.
    refresh();
}

void AskSheet::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        ask();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QString AskSheet::question() const { return m_question->toPlainText(); }

bool AskSheet::canAsk() const { return AskLogic::canAsk(question(), m_thinking); }

QString AskSheet::notice() const { return m_notice->text(); }

void AskSheet::setTool(const AskLogic::Tool& tool)
{
    m_tool = tool;
    refresh();
}

void AskSheet::followTool()
{
    if (!m_app)
        return;
    if (m_app->aiDetecting()) {
        setTool({AskLogic::Tool::lookingUp, {}});
        return;
    }
    const std::optional<AICLI> cli = AICLI::fromRawValue(m_app->aiTool());
    setTool(cli ? AskLogic::Tool{AskLogic::Tool::named, cli->displayName()} : AskLogic::Tool{AskLogic::Tool::none, {}});
}

void AskSheet::refresh()
{
    const std::optional<Topic> topic = m_session ? m_session->currentTopic() : std::nullopt;
    const qsizetype count = m_session ? m_session->messages().size() : 0;
    std::optional<qsizetype> groups = m_session ? m_session->groups().size() : 0;
    if (m_session && m_session->groupsUnseen() && m_session->groups().isEmpty())
        groups.reset();
    m_page->setSubtitle(AskLogic::subtitle(topic ? topic->name : QString(), count));
    m_notice->setText(AskLogic::sendNotice(count, groups, m_tool));
    m_ask->setEnabled(canAsk());
}

void AskSheet::ask()
{
    if (!canAsk() || !m_session)
        return;
    startDetached(askTask(question()));
}

QCoro::Task<> AskSheet::askTask(QString question)
{
    QPointer<AskSheet> self(this);
    m_thinking = true;
    m_outcome.reset();
    showAnswer();
    m_ask->setWorking(true);
    refresh();
    QPointer<BrokerSession> session = m_session;
    auto task = session->ask(question);
    const AppOutcome outcome = co_await std::move(task);
    // Closed meanwhile: the question ran to its end, and nobody is left to show the answer.
    if (!self)
        co_return;
    m_outcome = outcome;
    m_thinking = false;
    ++m_strikes;
    m_ask->setWorking(false);
    showAnswer();
    refresh();
}

void AskSheet::present(const std::optional<AppOutcome>& outcome, bool thinking, int strikes)
{
    m_outcome = outcome;
    m_thinking = thinking;
    m_strikes = strikes;
    m_ask->setWorking(thinking);
    showAnswer();
    refresh();
}

void AskSheet::showAnswer()
{
    delete m_answer;
    m_answer = nullptr;
    if (!m_outcome)
        return;
    m_answer = new AnswerBlock(*m_outcome, m_strikes, m_page);
    m_page->content()->addWidget(m_answer);
    // The answer is where the eye and the keyboard go; the question stays as typed above it.
    m_answer->text()->setFocusPolicy(Qt::StrongFocus);
    FocusRing::overlay(m_answer->text(), m_answer->text(), 4);
    m_answer->text()->setFocus(Qt::OtherFocusReason);
    m_page->reveal(m_answer);
}

} // namespace tessaron
