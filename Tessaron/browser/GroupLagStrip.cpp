#include "Tessaron/browser/GroupLagStrip.h"
#include "Tessaron/kit/FocusRing.h"

#include "Tessaron/browser/BrowserStyle.h"
#include "Tessaron/kit/Spinner.h"
#include "Tessaron/kit/TessaronPalette.h"
#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/async/Detached.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinUI/SymbolView.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include "Tessaron/kit/FlowRow.h"
#include <QLabel>
#include <QPainter>

namespace tessaron {

using namespace BrowserStyle;

namespace {

// A group's chip: its name, its lag (or a spinner while waiting), and the empty-group symbol.
class LagChip : public QAbstractButton {
public:
    LagChip(const ConsumerGroup& group, QWidget* parent)
        : QAbstractButton(parent)
    {
        setCursor(Qt::PointingHandCursor);
        new FocusRing(this);
        setToolTip(loc("Open the group"));
        setAccessibleName(group.id);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(8, 4, 8, 4);
        row->setSpacing(5);
        auto* name = label(group.id, KitFont::font(10, QFont::DemiBold, FontDesign::rounded), TessaronPalette::ink());
        row->addWidget(name);
        m_lag = label(QString(), KitFont::font(10, QFont::Bold, FontDesign::monospaced), white(0.4));
        row->addWidget(m_lag);
        m_spinner = new Spinner(8, TessaronPalette::white(0.6), SpinnerLook::ring);
        row->addWidget(m_spinner);
        if (group.hasNoMembers())
            row->addWidget(new SymbolView(QStringLiteral("person.slash"), 8, white(0.4)));
        for (QWidget* child : findChildren<QWidget*>())
            child->setAttribute(Qt::WA_TransparentForMouseEvents);
        setLag(std::nullopt, false);
    }

    // `measured` false: still waiting.
    void setLag(std::optional<int64_t> lag, bool measured)
    {
        m_spinner->setVisible(!measured);
        m_lag->setVisible(measured);
        if (!measured)
            return;
        if (lag) {
            m_lag->setText(L10n::t("lag %d", qint64(*lag)));
            m_lag->setFont(KitFont::font(10, QFont::Bold, FontDesign::monospaced));
            setTextColor(m_lag, *lag < 1 ? allClearGreen() : warningOrange());
        } else {
            m_lag->setText(loc("Can't see"));
            m_lag->setFont(KitFont::font(10));
            setTextColor(m_lag, white(0.4));
        }
    }
    QString lagText() const { return m_lag->isVisible() ? m_lag->text() : QString(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect());
        painter.setPen(Qt::NoPen);
        painter.setBrush(white(underMouse() ? 0.09 : 0.05));
        painter.drawRoundedRect(r, r.height() / 2, r.height() / 2);
        if (FocusRing::shownOn(this))
            FocusRing::draw(painter, r, r.height() / 2);
    }
    QSize sizeHint() const override { return layout()->sizeHint(); }

private:
    QLabel* m_lag;
    Spinner* m_spinner;
};

} // namespace

GroupLagStrip::GroupLagStrip(BrokerSession* session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_row(new FlowRow(this, 7, 6))
{
    // One line where there is room; on a narrow pane the chips wrap instead of running past it.
    QSizePolicy policy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(session, &BrokerSession::groupsChanged, this, &GroupLagStrip::restart);
    // Every fresh read of the topic and every listing measures afresh, unless a run is under way
    // (a new topic's, begun just before its read) or began meanwhile (a changed group list): the
    // figures are never older than what the page shows.
    connect(session, &BrokerSession::pagesReadChanged, this, [this] {
        if (m_session && m_session->selectedTopic() == m_topic && m_session->pagesRead() == 0 && !m_running)
            restart();
    });
    connect(session, &BrokerSession::isLoadingTopicsChanged, this, [this] {
        if (!m_session)
            return;
        if (m_session->isLoadingTopics())
            m_listingAt = m_generation;
        else if (m_listingAt == m_generation && !m_running)
            restart();
    });
}

void GroupLagStrip::setTopic(const QString& topic)
{
    if (topic == m_topic && !m_chips.isEmpty())
        return;
    m_topic = topic;
    restart();
}

QStringList GroupLagStrip::chipIDs() const { return m_order; }

QWidget* GroupLagStrip::chip(const QString& group) const { return m_chips.value(group); }

void GroupLagStrip::restart()
{
    ++m_generation;
    m_lags.clear();
    m_pending.clear();
    rebuild();
    if (!m_session || m_topic.isEmpty())
        return;
    m_pending = m_order;
    if (!m_running && !m_pending.isEmpty()) {
        startDetached(run());
    }
}

void GroupLagStrip::rebuild()
{
    for (QWidget* old : std::as_const(m_chips)) {
        old->hide();
        old->deleteLater();
    }
    m_chips.clear();
    m_order.clear();
    if (!m_session || m_topic.isEmpty())
        return;
    for (const ConsumerGroup& group : m_session->groups()) {
        // Another kind of group (share, streams) holds no consumer positions to measure.
        if (m_chips.contains(group.id) || !group.isConsumerGroup())
            continue;
        auto* chip = new LagChip(group, this);
        const QString id = group.id;
        connect(chip, &QAbstractButton::clicked, this, [this, id] {
            if (m_session)
                m_session->setSelectedGroup(id);
        });
        m_row->addWidget(chip);
        m_chips.insert(id, chip);
        m_order << id;
    }
}

void GroupLagStrip::showLag(const QString& group)
{
    if (auto* chip = static_cast<LagChip*>(m_chips.value(group)))
        chip->setLag(m_lags.value(group), m_lags.contains(group));
}

QCoro::Task<> GroupLagStrip::run()
{
    QPointer<GroupLagStrip> self(this);
    m_running = true;
    // One measurement at a time: a restart swaps the pending list under this loop, which then
    // goes on with the new list and drops whatever was measured for the old one.
    while (self && m_session && !m_pending.isEmpty()) {
        const quint64 generation = m_generation;
        const QString group = m_pending.takeFirst();
        auto task = m_session->groupOffsets(group);
        const std::optional<int64_t> lag = co_await std::move(task);
        if (!self)
            co_return;
        if (generation != m_generation)
            continue;
        m_lags.insert(group, lag);
        showLag(group);
    }
    if (self)
        m_running = false;
}

} // namespace tessaron
