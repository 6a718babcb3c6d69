#include "Tessaron/browser/ReadConsentPane.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/Gavel.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/PrimaryButtonStyle.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

namespace {

QWidget* reason(const QString& symbol, const QColor& tint, const QString& sentence)
{
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    auto* icon = new SymbolView(symbol, 10, tint);
    icon->setContentsMargins(0, 2, 0, 0);
    line->addWidget(icon, 0, Qt::AlignTop);
    auto* text = BrowserStyle::label(sentence, KitFont::font(11.5), BrowserStyle::white(0.7));
    text->setWordWrap(true);
    line->addWidget(text, 1);
    return row;
}

// A fixed-width block of wrapping text, centred; an alignment flag would make the layout ignore
// the height its wrapped lines need.
QHBoxLayout* centred(QWidget* block)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(block);
    row->addStretch(1);
    return row;
}

} // namespace

ReadConsentPane::ReadConsentPane(BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    using namespace BrowserStyle;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(26, 26, 26, 26);
    column->setSpacing(14);
    column->addStretch(1);
    column->addWidget(new Gavel(26, 0, warningOrange()), 0, Qt::AlignHCenter);

    // The consent: its title, the reasons, the button and the footnote.
    m_consent = new QWidget;
    auto* consent = new QVBoxLayout(m_consent);
    consent->setContentsMargins(0, 0, 0, 0);
    consent->setSpacing(14);
    auto* title = label(loc("Reading this queue will mark it."), KitFont::font(14, QFont::Bold, FontDesign::rounded),
                        TessaronPalette::ink());
    consent->addWidget(title, 0, Qt::AlignHCenter);
    auto* reasons = new QWidget;
    reasons->setFixedWidth(440);
    auto* list = new QVBoxLayout(reasons);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(8);
    list->addWidget(reason("checkmark.circle.fill", allClearGreen(),
                           loc("Nothing is lost. Every message goes straight back, and the queue depth does not "
                               "change.")));
    list->addWidget(reason("exclamationmark.triangle.fill", warningOrange(),
                           loc("But RabbitMQ marks each one as redelivered, permanently. A consumer that reads that "
                               "flag as \"this is a retry\" will see every message Tessaron looked at as one.")));
    m_deliveryCount = reason("exclamationmark.triangle.fill", warningOrange(),
                             loc("This is a quorum queue: every look also adds one to each message's delivery count, "
                                 "which stays with the message."));
    list->addWidget(m_deliveryCount);
    list->addWidget(reason("info.circle.fill", white(0.4),
                           loc("Kafka has no such cost — this is the difference between a log and a queue, not "
                               "something Tessaron can work around.")));
    consent->addLayout(centred(reasons));
    m_read = new KitButton(loc("Read it anyway"), std::make_unique<PrimaryButtonStyle>());
    connect(m_read, &KitButton::clicked, this, &ReadConsentPane::readAnyway);
    consent->addWidget(m_read, 0, Qt::AlignHCenter);
    consent->addWidget(label(loc("Asked once per open broker."), KitFont::font(10), white(0.35)), 0, Qt::AlignHCenter);
    column->addWidget(m_consent);

    // The refusal: the client's own sentence, nothing to accept.
    m_refusal = new QWidget;
    auto* refusal = new QVBoxLayout(m_refusal);
    refusal->setContentsMargins(0, 0, 0, 0);
    refusal->setSpacing(14);
    refusal->addWidget(label(loc("Tessaron won't read this queue."),
                             KitFont::font(14, QFont::Bold, FontDesign::rounded), TessaronPalette::ink()),
                       0, Qt::AlignHCenter);
    auto* because = new QWidget;
    because->setFixedWidth(440);
    auto* becauseLine = new QHBoxLayout(because);
    becauseLine->setContentsMargins(0, 0, 0, 0);
    becauseLine->setSpacing(8);
    auto* icon = new SymbolView("exclamationmark.triangle.fill", 10, warningOrange());
    icon->setContentsMargins(0, 2, 0, 0);
    becauseLine->addWidget(icon, 0, Qt::AlignTop);
    m_refusalText = label(QString(), KitFont::font(11.5), white(0.7));
    m_refusalText->setWordWrap(true);
    m_refusalText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    becauseLine->addWidget(m_refusalText, 1);
    refusal->addLayout(centred(because));
    column->addWidget(m_refusal);
    column->addStretch(1);

    setTerms({});
}

void ReadConsentPane::setTerms(const QueueReadTerms& terms)
{
    m_terms = terms;
    m_refusal->setVisible(terms.refusal.has_value());
    m_consent->setVisible(!terms.refusal.has_value());
    m_refusalText->setText(terms.refusal.value_or(QString()));
    m_deliveryCount->setVisible(terms.raisesDeliveryCount);
}

void ReadConsentPane::readAnyway()
{
    if (!m_session || m_terms.refusal)
        return;
    m_session->setAcceptedRabbitReadCost(true);
    startDetached(m_session->readLatest());
}

} // namespace tessaron
