#include "Tessaron/actions/WritingSheet.h"

#include "Tessaron/actions/ActionButtons.h"
#include "Tessaron/actions/ActionPage.h"
#include "Tessaron/actions/ActionStyle.h"
#include "Tessaron/actions/OutcomeBlock.h"
#include "Tessaron/kit/FormHeading.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaron {

using namespace ActionStyle;

WritingSheet::WritingSheet(const QString& title, const QString& subtitle, BrokerSession* session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    setFixedSize(ActionPage::pageWidth, ActionPage::pageHeight);
    setWindowTitle(title);
    // A write changes what others read: every writing sheet is drawn as grave.
    m_page = new ActionPage(title, subtitle, ActionPage::Weight::consequential, this);
}

BrokerSession* WritingSheet::session() const { return m_session; }

void WritingSheet::addReason(int step, const QString& placeholder, const QString& note)
{
    QVBoxLayout* content = m_page->content();
    content->addWidget(new FormHeading(L10n::t("Why"), step, accent(), m_page));
    m_reason = new QLineEdit(m_page);
    styleField(m_reason, false);
    m_reason->setPlaceholderText(placeholder);
    m_reason->setAccessibleName(L10n::t("Why"));
    if (note.isEmpty()) {
        content->addWidget(m_reason);
    } else {
        auto* why = new QVBoxLayout;
        why->setSpacing(4);
        why->addWidget(m_reason);
        why->addWidget(label(note, KitFont::font(10), white(0.4), m_page, true));
        content->addLayout(why);
    }
    connect(m_reason, &QLineEdit::textChanged, this, &WritingSheet::refresh);
}

void WritingSheet::addFooter(const QString& warning, const QString& idle, const QString& working)
{
    QHBoxLayout* footer = m_page->footer();
    footer->addWidget(symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), warning,
                                  withOpacity(warningOrange(), 0.9), 10.5, m_page),
                      1, Qt::AlignVCenter);
    m_cancel = dismissButton(L10n::t("Cancel"), m_page);
    footer->addWidget(m_cancel);
    m_act = new WorkingButton(idle, working, m_page);
    footer->addWidget(m_act);
    connect(m_cancel, &QAbstractButton::clicked, this, &QDialog::reject);
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
