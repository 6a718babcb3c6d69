#include "Tessaron/actions/WritingSheet.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaron {

using namespace ActionStyle;

WritingSheet::WritingSheet(const QString& title, const QString& subtitle, bool moves, BrokerSession* session,
                           QWidget* parent)
    : QDialog(parent)
    , m_session(session)
    , m_moves(moves)
{
    setWindowTitle(title);
    // A write changes what others read: every writing sheet is drawn as grave.
    m_page = new ActionPage(title, subtitle, ActionPage::Weight::consequential, this);
    m_page->fill(this);
    // Whatever is typed, chosen or running stays; only the texts change.
    LanguageChange::onChange(this, [this] { retranslate(); });
}

BrokerSession* WritingSheet::session() const { return m_session; }

void WritingSheet::addReason(int step, bool withNote)
{
    QVBoxLayout* content = m_page->content();
    m_why = new FormHeading(QString(), step, accent(), m_page);
    content->addWidget(m_why);
    m_reason = new QLineEdit(m_page);
    styleField(m_reason, false);
    if (!withNote) {
        content->addWidget(m_reason);
    } else {
        auto* why = new QVBoxLayout;
        why->setSpacing(4);
        why->addWidget(m_reason);
        m_note = label(QString(), KitFont::font(10), white(0.4), m_page, true);
        why->addWidget(m_note);
        content->addLayout(why);
    }
    connect(m_reason, &QLineEdit::textChanged, this, &WritingSheet::refresh);
}

void WritingSheet::addFooter()
{
    QHBoxLayout* footer = m_page->footer();
    QWidget* warning = symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), QString(),
                                   withOpacity(warningOrange(), 0.9), 10.5, m_page);
    m_warning = warning->findChild<QLabel*>(QStringLiteral("text"));
    footer->addWidget(warning, 1, Qt::AlignVCenter);
    m_cancel = dismissButton(QString(), m_page);
    footer->addWidget(m_cancel);
    m_act = new WorkingButton(QString(), QString(), m_page);
    footer->addWidget(m_act);
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

void WritingSheet::retranslate()
{
    if (m_why) {
        m_why->setText(L10n::t("Why"));
        m_reason->setAccessibleName(L10n::t("Why"));
    }
    if (m_cancel)
        m_cancel->setText(L10n::t("Cancel"));
    // The outcome's sentence stays as the broker's session wrote it.
}

void WritingSheet::setTitles(const QString& title, const QString& subtitle)
{
    setWindowTitle(title);
    m_page->setTitle(title);
    m_page->setSubtitle(subtitle);
}

void WritingSheet::setReasonTexts(const QString& placeholder, const QString& note)
{
    m_reason->setPlaceholderText(placeholder);
    if (m_note)
        m_note->setText(note);
}

void WritingSheet::setFooterTexts(const QString& warning, const QString& idle, const QString& working)
{
    m_warning->setText(warning);
    m_act->setTexts(idle, working);
}

void WritingSheet::write(Send send)
{
    if (!m_session)
        return;
    startDetached(writeTask(std::move(send)));
}

QCoro::Task<> WritingSheet::writeTask(Send send)
{
    QPointer<WritingSheet> self(this);
    m_working = true;
    m_outcome.reset();
    showOutcome();
    m_act->setWorking(true);
    refresh();
    auto task = send(*m_session);
    const AppOutcome outcome = co_await std::move(task);
    // Closed meanwhile: the write went on, and nobody is left to show it.
    if (!self)
        co_return;
    conclude(outcome);
}

void WritingSheet::conclude(const AppOutcome& outcome)
{
    m_outcome = outcome;
    m_working = false;
    ++m_strikes;
    struck(m_strikes);
    m_act->setWorking(false);
    showOutcome();
    refresh();
}

void WritingSheet::showOutcome()
{
    if (!m_outcome) {
        m_page->reveal(nullptr);
        delete m_outcomeBlock;
        m_outcomeBlock = nullptr;
        return;
    }
    if (m_outcomeBlock) {
        m_outcomeBlock->setOutcome(*m_outcome, m_strikes);
    } else {
        m_outcomeBlock = new OutcomeBlock(*m_outcome, m_strikes,
                                          m_moves ? OutcomeBlock::Act::move : OutcomeBlock::Act::file, m_page);
        m_page->content()->addWidget(m_outcomeBlock);
    }
    // The acting button is ready again at once; the result is where the eye and the keyboard go,
    // so that nobody files a second time for want of seeing the first.
    m_outcomeBlock->sentence()->setFocus(Qt::OtherFocusReason);
    m_page->reveal(m_outcomeBlock);
}

} // namespace tessaron
