#include "Tessaron/workspace/SidebarModel.h"

#include "Tessaron/state/BrokerSession.h"
#include "TessaronCore/l10n/L10n.h"
#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/prefs/Prefs.h"
#include "VelkinInfra/prefs/UserDefaults.h"

#include <QSet>

namespace tessaron {

using Sidebar::Entry;

SidebarModel::SidebarModel(BrokerSession* session, QObject* parent)
    : QAbstractListModel(parent)
    , m_session(session)
{
    for (auto signal :
         {&BrokerSession::topicsChanged, &BrokerSession::groupsChanged, &BrokerSession::searchChanged,
          &BrokerSession::nameSpaceChanged, &BrokerSession::pinnedChanged, &BrokerSession::unobservableChanged,
          &BrokerSession::topicsListedChanged, &BrokerSession::isLoadingTopicsChanged,
          &BrokerSession::isConnectingChanged, &BrokerSession::connectionChanged})
        connect(session, signal, this, &SidebarModel::rebuild);
    connect(session, &BrokerSession::selectedTopicChanged, this, &SidebarModel::selectionChanged);
    connect(session, &BrokerSession::selectedGroupChanged, this, &SidebarModel::selectionChanged);
    // The session reads the show-internal preference when asked; a change of it changes the rows.
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == Prefs::showInternalTopics)
            rebuild();
    });
    rebuild();
}

bool SidebarModel::speaksOfQueues() const
{
    return m_session && m_session->connection() && m_session->connection()->kind() == BrokerSession::Connection::rabbit;
}

void SidebarModel::rebuild()
{
    if (!m_session)
        return;
    // The sections hold every visible topic once (a pinned name once, however often it is pinned),
    // so the count and the total come from them without filtering the topics a second time.
    TopicFilter::Sections sections = m_session->topicSections();
    qsizetype count = 0;
    qint64 total = 0;
    auto add = [&](const Topic& topic) {
        ++count;
        total = Saturating::add(total, topic.retained());
    };
    QSet<QString> pinnedSeen;
    for (const Topic& topic : sections.pinned) {
        if (!pinnedSeen.contains(topic.name)) {
            pinnedSeen.insert(topic.name);
            add(topic);
        }
    }
    for (const Topic& topic : sections.deadLetters)
        add(topic);
    for (const Topic& topic : sections.ordinary)
        add(topic);
    m_visibleCount = count;
    m_retainedTotal = total;
    m_body = Sidebar::body(m_session->isConnecting(), m_session->isLoadingTopics(), !m_session->topics().isEmpty(),
                           count > 0);
    beginResetModel();
    m_content = Sidebar::content(std::move(sections), Sidebar::filteredGroups(m_session->groups(), m_session->search()),
                                 m_session->unobservable(), m_body == Sidebar::Body::list);
    endResetModel();
    emit contentChanged();
}

void SidebarModel::selectionChanged()
{
    if (!m_content.entries.isEmpty())
        emit dataChanged(index(0), index(int(m_content.entries.size()) - 1), {Qt::DisplayRole});
}

int SidebarModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_content.entries.size());
}

int SidebarModel::rowOfKey(const QString& key) const
{
    for (int row = 0; row < m_content.entries.size(); ++row) {
        if (m_content.key(m_content.entries.at(row)) == key)
            return row;
    }
    return -1;
}

bool SidebarModel::isSelected(const Entry& entry) const
{
    if (!m_session)
        return false;
    if (entry.kind == Entry::topic) {
        const auto& selected = m_session->selectedTopic();
        return selected && *selected == m_content.topicAt(entry).name;
    }
    if (entry.kind == Entry::group) {
        const auto& selected = m_session->selectedGroup();
        return selected && *selected == m_content.groups.at(entry.index).id;
    }
    return false;
}

bool SidebarModel::isPinned(const QString& name) const { return m_session && m_session->pinned().contains(name); }

QString SidebarModel::headingText(Entry::Section section) const
{
    switch (section) {
    case Entry::pinned:
        return L10n::t("Pinned");
    case Entry::deadLetters:
        return L10n::t("Dead letters");
    case Entry::topics:
        return speaksOfQueues() ? L10n::t("Queues") : L10n::t("Topics");
    case Entry::groups:
        return L10n::t("Consumer groups");
    case Entry::cantSee:
        return L10n::t("Can't see");
    }
    return {};
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= m_content.entries.size())
        return Qt::NoItemFlags;
    const Entry::Kind kind = m_content.entries.at(index.row()).kind;
    return kind == Entry::heading || kind == Entry::fact ? Qt::NoItemFlags : Qt::ItemIsEnabled;
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_content.entries.size())
        return {};
    const Entry& e = m_content.entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        switch (e.kind) {
        case Entry::heading:
            return headingText(e.section);
        case Entry::topic:
            return m_content.topicAt(e).name;
        case Entry::missingPin:
            return m_content.sections.missingPins.at(e.index);
        case Entry::group:
            return m_content.groups.at(e.index).id;
        case Entry::fact:
            return m_content.facts.at(e.index).subject;
        }
        break;
    case KeyRole:
        return m_content.key(e);
    case KindRole:
        return int(e.kind);
    case SectionRole:
        return int(e.section);
    default:
        break;
    }
    return {};
}

} // namespace tessaron
