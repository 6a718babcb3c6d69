#include "Tessaron/casework/TopicNotes.h"

#include "Tessaron/kit/LanguageChange.h"
#include "Tessaron/casework/CaseworkStyle.h"
#include "Tessaron/casework/NotesLogic.h"
#include "Tessaron/kit/Eyebrow.h"
#include "Tessaron/kit/ScreenTitle.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/KitFont.h"
#include "VelkinUI/SymbolView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaron {

using namespace CaseworkStyle;

namespace {

// One disagreeing message as a link that selects it.
CaseLink* messageLink(BrokerSession* session, const Message& message, int exhibit, const std::optional<QString>& hint)
{
    auto* link = new CaseLink();
    link->setObjectName(QStringLiteral("messageLink"));
    link->setAccessibleName(NotesLogic::keyText(message) + QLatin1Char(' ') + NotesLogic::placeText(message));
    QHBoxLayout* row = link->row();
    auto* number =
        label(QString::number(exhibit), KitFont::font(9, QFont::Black, FontDesign::monospaced), warningOrange());
    number->setFixedWidth(18);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(number);
    auto* key = new ElidedLabel(NotesLogic::keyText(message),
                                KitFont::font(11, QFont::DemiBold, FontDesign::monospaced), withOpacity(ink(), 0.85));
    row->addWidget(key, 0);
    row->addWidget(
        label(NotesLogic::placeText(message), KitFont::font(9.5, QFont::Normal, FontDesign::monospaced), muted()));
    row->addStretch(1);
    if (hint)
        row->addWidget(label(*hint, KitFont::font(9, QFont::DemiBold, FontDesign::rounded), warningOrange()));
    auto* arrow = new SymbolView(QStringLiteral("arrow.right"), 9, withOpacity(warningOrange(), 0.5));
    row->addWidget(arrow);
    link->seal();
    link->onHover([key, arrow](bool hovering) {
        key->setColor(withOpacity(ink(), hovering ? 1.0 : 0.85));
        arrow->setColor(withOpacity(warningOrange(), hovering ? 1.0 : 0.5));
    });
    const QString id = message.id();
    QPointer<BrokerSession> target(session);
    QObject::connect(link, &QAbstractButton::clicked, link, [target, id] {
        if (target)
            target->setSelectedMessage(id);
    });
    return link;
}

} // namespace

TopicNotes::TopicNotes(AppState* app, BrokerSession* session, QWidget* parent)
    : CaseworkPage(parent)
    , m_app(app)
    , m_session(session)
{
    // A Tab stop of its own, so the keyboard can scroll it: it says what it is when reached.
    setAccessibleName(loc("Case notes"));
    setObjectName(QStringLiteral("topicNotes"));
    for (auto signal : {&BrokerSession::shapeVerdictChanged, &BrokerSession::messagesChanged,
                        &BrokerSession::selectedTopicChanged, &BrokerSession::topicsChanged})
        connect(session, signal, this, &TopicNotes::refresh);
    refresh();
    LanguageChange::onChange(this, [this] { refresh(); });
}

bool TopicNotes::event(QEvent* event)
{
    // Sent on being shown again, whether or not the window is on screen yet.
    if (event->type() == QEvent::ShowToParent && m_stale)
        refresh();
    return CaseworkPage::event(event);
}

void TopicNotes::refresh()
{
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        m_stale = true;
        return;
    }
    m_stale = false;
    QVBoxLayout* column = fresh(14, QMargins(18, 18, 18, 18));
    if (!m_session)
        return;
    const BrokerSession& session = *m_session;
    const ShapeVerdict& verdict = session.shapeVerdict();
    const QList<Message>& messages = session.messages();
    const std::optional<Topic> topic = session.currentTopic();

    auto* heading = new QVBoxLayout();
    heading->setSpacing(9);
    heading->addWidget(new Eyebrow(loc("CASE NOTES")));
    heading->addWidget(new ScreenTitle(topic ? topic->name : QString(), NotesLogic::verdictWord(verdict), 22));
    auto* ruling = label(NotesLogic::shapeVerdictSentence(verdict, messages, session.broker()), KitFont::font(12.5),
                         withOpacity(ink(), 0.85), true);
    ruling->setObjectName(QStringLiteral("ruling"));
    heading->addWidget(ruling);
    column->addLayout(heading);

    if (verdict.tag() == ShapeVerdict::Case::drift) {
        auto* card = new CaseCard(loc("THE ONES THAT DISAGREE"), warningOrange());
        card->setObjectName(QStringLiteral("disagreeCard"));
        const QList<Message> outliers = NotesLogic::outliers(verdict, messages);
        for (qsizetype i = 0; i < outliers.size(); ++i)
            card->addWidget(messageLink(m_session, outliers[i], NotesLogic::exhibitNumber(outliers[i], messages),
                                        i == 0 ? std::optional<QString>(loc("Start here")) : std::nullopt));
        if (const auto more = NotesLogic::outliersMoreLine(verdict)) {
            auto* line = label(*more, KitFont::font(10.5), muted(), true);
            line->setObjectName(QStringLiteral("moreLine"));
            card->addWidget(line);
        }
        column->addWidget(card);
    }

    const NotesLogic::KeyCard keys = NotesLogic::keyCard(messages, topic ? topic->partitions : QList<Partition>(),
                                                         session.broker().kind == BrokerKind::rabbitmq);
    auto* sending = new CaseCard(loc("WHO'S SENDING"), toneColor(keys.tone));
    sending->setObjectName(QStringLiteral("sendingCard"));
    if (keys.sentence) {
        sending->addWidget(label(*keys.sentence, KitFont::font(11.5), muted(), true));
    } else {
        for (const NotesLogic::KeyCard::Row& entry : keys.rows) {
            auto* row = new QHBoxLayout();
            row->setSpacing(8);
            row->addWidget(new ElidedLabel(entry.key, KitFont::font(11, QFont::Normal, FontDesign::monospaced),
                                           withOpacity(ink(), 0.85)));
            row->addStretch(1);
            row->addWidget(label(entry.seen, KitFont::font(9.5, QFont::Normal, FontDesign::monospaced),
                                 withOpacity(muted(), 0.8)));
            auto* percent = label(entry.percent, KitFont::font(10.5, QFont::DemiBold, FontDesign::monospaced),
                                  entry.hot ? warningOrange() : withOpacity(ink(), 0.75));
            percent->setMinimumWidth(44);
            percent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row->addWidget(percent);
            sending->body()->addLayout(row);
        }
        auto* crowding = label(keys.crowding, KitFont::font(11), keys.hot ? withOpacity(ink(), 0.8) : muted(), true);
        crowding->setObjectName(QStringLiteral("crowding"));
        sending->addWidget(crowding);
        sending->addWidget(label(keys.footnote, KitFont::font(10), withOpacity(muted(), 0.85), true));
    }
    column->addWidget(sending);

    auto* hint = new QHBoxLayout();
    hint->setSpacing(8);
    hint->setContentsMargins(0, 2, 0, 0);
    hint->addWidget(new SymbolView(QStringLiteral("arrow.left"), 10, neutral()));
    hint->addWidget(label(loc("Pick a row. I'll open the file."), KitFont::font(11.5), muted(), true), 1);
    column->addLayout(hint);
}

} // namespace tessaron
