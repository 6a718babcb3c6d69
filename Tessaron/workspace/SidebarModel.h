#pragma once

#include "Tessaron/workspace/SidebarLogic.h"

#include <QAbstractListModel>
#include <QPointer>

namespace tessaron {

class BrokerSession;

// The sidebar's list as a model: one row per heading, topic, missing pin, group or fact, mapped
// from what the session publishes. It keeps no topics or selection of its own beyond the rows it
// is drawing now: every change the session announces rebuilds them, and "selected" and "pinned"
// are read from the session when a row is drawn.
class SidebarModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { KeyRole = Qt::UserRole + 1, KindRole, SectionRole };

    explicit SidebarModel(BrokerSession* session, QObject* parent = nullptr);

    BrokerSession* session() const { return m_session; }
    const Sidebar::Content& content() const { return m_content; }
    const Sidebar::Entry& entry(int row) const { return m_content.entries.at(row); }
    Sidebar::Body body() const { return m_body; }
    // Speaks of queues: the connection is RabbitMQ.
    bool speaksOfQueues() const;
    qsizetype visibleCount() const { return m_visibleCount; }
    qint64 retainedTotal() const { return m_retainedTotal; }
    int rowOfKey(const QString& key) const;

    bool isSelected(const Sidebar::Entry& entry) const;
    bool isPinned(const QString& name) const;
    QString headingText(Sidebar::Entry::Section section) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Headings and facts are not rows one can select, so the keyboard passes over them.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Maps the session's state afresh.
    void rebuild();

signals:
    // After every rebuild: the body, the counts or the rows may differ.
    void contentChanged();

private:
    void selectionChanged();

    QPointer<BrokerSession> m_session;
    Sidebar::Content m_content;
    Sidebar::Body m_body = Sidebar::Body::empty;
    qsizetype m_visibleCount = 0;
    qint64 m_retainedTotal = 0;
};

} // namespace tessaron
