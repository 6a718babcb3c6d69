#include "Tessaron/browser/TopicHeader.h"

#include "Tessaron/browser/BindingStrip.h"
#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/browser/Capsule.h"
#include "Tessaron/kit/ElidedLabel.h"
#include "Tessaron/browser/GroupLagStrip.h"
#include "Tessaron/browser/MessageSearchField.h"
#include "Tessaron/browser/PositionPicker.h"
#include "Tessaron/casework/SkewChart.h"
#include "Tessaron/casework/VerdictBar.h"
#include "Tessaron/kit/LawyeredStamp.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/kit/TopicQuip.h"
#include "Tessaron/state/AppState.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/analysis/PartitionSkew.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/InterfaceLocale.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/PlainButtonStyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace tessaron {

using namespace BrowserStyle;

namespace {

QColor muted() { return white(0.45); }

// The value-and-label tile of the header's counts.
QWidget* stat(const QString& value, const QString& word, const QColor& tint)
{
    auto* tile = new Capsule(white(0.05), QMargins(8, 4, 8, 4), 4);
    tile->row()->addWidget(label(value, KitFont::font(11, QFont::Bold, FontDesign::monospaced), tint));
    tile->row()->addWidget(label(word, KitFont::font(10), muted()));
    return tile;
}

} // namespace

TopicHeader::TopicHeader(AppState* app, BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_app(app)
    , m_session(session)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 14, 16, 12);
    column->setSpacing(9);

    m_titleRow = new QHBoxLayout;
    m_titleRow->setSpacing(9);
    m_title = new ElidedLabel(QString(), KitFont::font(16, QFont::Bold, FontDesign::rounded), TessaronPalette::ink());
    m_titleRow->addWidget(m_title, 0);
    m_titleRow->addStretch(1);
    m_titleRow->addSpacing(6);
    m_pin = new KitButton(QString(), std::make_unique<PlainButtonStyle>(KitFont::font(11), muted()));
    m_pin->setLeadingSymbol(QStringLiteral("pin"));
    connect(m_pin, &KitButton::clicked, this, [this] {
        if (m_session && m_topic)
            m_session->togglePin(m_topic->name);
    });
    m_titleRow->addWidget(m_pin);
    m_reread = new KitButton(QString(), std::make_unique<PlainButtonStyle>(KitFont::font(11), muted()));
    m_reread->setLeadingSymbol(QStringLiteral("arrow.clockwise"));
    m_reread->setToolTip(loc("Reread Messages"));
    m_reread->setAccessibleName(loc("Reread Messages"));
    connect(m_reread, &KitButton::clicked, this, &TopicHeader::reread);
    m_titleRow->addWidget(m_reread);
    column->addLayout(m_titleRow);

    m_remark = new ElidedLabel(QString(), KitFont::font(11), muted(), Qt::ElideRight);
    column->addWidget(m_remark);

    m_tileRow = new QHBoxLayout;
    m_tileRow->setSpacing(7);
    m_lags = new GroupLagStrip(session);
    m_tileRow->addWidget(m_lags);
    m_tileRow->addStretch(1);
    column->addLayout(m_tileRow);

    m_bindings = new BindingStrip(session);
    column->addWidget(m_bindings);

    auto* readRow = new QHBoxLayout;
    readRow->setSpacing(8);
    m_picker = new PositionPicker(session);
    readRow->addWidget(m_picker);
    m_search = new MessageSearchField(session);
    readRow->addWidget(m_search, 1);
    column->addLayout(readRow);

    m_skew = new SkewChart(SkewVerdict::nothingToCompare(), this);
    column->addWidget(m_skew);
    m_verdict = new VerdictBar(session->shapeVerdict(), session->gavelStrikes(), this);
    column->addWidget(m_verdict);

    connect(session, &BrokerSession::pinnedChanged, this, &TopicHeader::refresh);
    connect(session, &BrokerSession::connectionChanged, this, &TopicHeader::refresh);
    connect(session, &BrokerSession::bindingsChanged, this, &TopicHeader::refresh);
    connect(session, &BrokerSession::queueConsumersChanged, this, &TopicHeader::refreshTiles);
    auto verdict = [this] {
        if (m_session)
            m_verdict->setVerdict(m_session->shapeVerdict(), m_session->gavelStrikes());
    };
    connect(session, &BrokerSession::shapeVerdictChanged, this, verdict);
    connect(session, &BrokerSession::gavelStrikesChanged, this, verdict);
    verdict();
}

void TopicHeader::setTopic(const Topic& topic)
{
    // The list refreshes its body on every change of a read (each page of "Read further"): the
    // same topic rebuilds nothing.
    if (m_topic && *m_topic == topic)
        return;
    const bool renamed = !m_topic || m_topic->name != topic.name;
    m_topic = topic;
    m_title->setText(topic.name);
    if (renamed) {
        delete m_deadLetter;
        m_deadLetter = nullptr;
        if (topic.looksLikeDeadLetter()) {
            m_deadLetter = new LawyeredStamp(QStringLiteral("DEAD LETTER"), warningOrange());
            m_titleRow->insertWidget(1, m_deadLetter);
        }
    }
    m_lags->setTopic(topic.name);
    // The verdict is worked out from the topic as listed, every time the header shows it.
    m_skew->setVerdict(PartitionSkew::verdict(topic));
    refreshTiles();
    refresh();
}

QString TopicHeader::remark() const { return m_remark->text(); }

void TopicHeader::refresh()
{
    if (!m_session || !m_topic)
        return;
    const bool pinned = m_session->pinned().contains(m_topic->name);
    m_pin->setButtonStyle(std::make_unique<PlainButtonStyle>(KitFont::font(11), pinned ? mint() : muted()));
    m_pin->setLeadingSymbol(pinned ? QStringLiteral("pin.fill") : QStringLiteral("pin"));
    m_pin->setToolTip(pinned ? loc("Unpin") : loc("Pin to the top"));
    m_pin->setAccessibleName(m_pin->toolTip());
    m_remark->setText(topicQuip(m_session->broker().kind, *m_topic));

    const std::optional<BrokerSession::Connection>& connection = m_session->connection();
    const bool kafka = connection && connection->kind() == BrokerSession::Connection::kafka;
    const bool rabbit = connection && connection->kind() == BrokerSession::Connection::rabbit;
    m_picker->setVisible(kafka);
    m_bindings->setVisible(rabbit || !m_session->bindings().isEmpty());
}

void TopicHeader::refreshTiles()
{
    if (!m_session || !m_topic)
        return;
    for (QWidget* tile : std::as_const(m_tiles))
        delete tile;
    m_tiles.clear();
    m_tileTexts.clear();
    const Topic& topic = *m_topic;
    auto add = [this](const QString& value, const QString& word, const QColor& tint) {
        QWidget* tile = stat(value, word, tint);
        m_tileRow->insertWidget(int(m_tiles.size()), tile);
        m_tiles << tile;
        m_tileTexts << value + QLatin1Char(' ') + word;
    };
    const QColor accent = Brand::accent();
    const qsizetype partitions = topic.partitions.size();
    if (partitions > 0)
        add(QString::number(partitions), partitions == 1 ? loc("partition") : loc("partitions"), accent);
    const int64_t retained = topic.retained();
    QString retainedWord;
    if (topic.declaredDepth)
        retainedWord = retained == 1 ? loc("message") : loc("messages");
    else
        retainedWord = retained == 1 ? loc("retained message") : loc("retained");
    add(L10n::interfaceLocale().toString(qint64(retained)), retainedWord, accent);
    // Counted in the depth, but out of a read's reach until they come back: said beside the count,
    // or a read shows fewer than it and no reason.
    if (topic.unacknowledged && *topic.unacknowledged > 0) {
        add(L10n::interfaceLocale().toString(qint64(*topic.unacknowledged)),
            *topic.unacknowledged == 1 ? loc("held by a consumer, unacknowledged — a read can't see it")
                                       : loc("held by consumers, unacknowledged — a read can't see them"),
            neutral());
    }
    if (topic.hasUnderReplicated())
        add(QStringLiteral("\u26A0\uFE0E"), loc("under-replicated"), warningOrange());
    const QHash<QString, int64_t>& consumers = m_session->queueConsumers();
    if (consumers.contains(topic.name)) {
        const int64_t count = consumers.value(topic.name);
        add(QString::number(count), count == 1 ? loc("consumer") : loc("consumers"),
            count == 0 && retained > 0 ? warningOrange() : allClearGreen());
    }
}

QStringList TopicHeader::tileTexts() const { return m_tileTexts; }

void TopicHeader::setSearchCounts(std::optional<qsizetype> matches, qsizetype total)
{
    m_search->setCounts(matches, total);
}

void TopicHeader::reread()
{
    if (!m_session)
        return;
    startDetached(m_session->read(BrokerSession::Position::atTail(), Prefs::messageLimit(), false));
}

} // namespace tessaron
