#pragma once

#include "TessaronCore/model/Topic.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QHBoxLayout;
class QLabel;

namespace tessaron {

class AppState;
class BindingStrip;
class BrokerSession;
class ElidedLabel;
class GroupLagStrip;
class KitButton;
class MessageSearchField;
class PositionPicker;
class SkewChart;
class VerdictBar;

// The block above one topic or queue: its name, the dead-letter stamp, pin and reread, the
// mascot's remark, the count tiles with the group lags, the bindings of a queue, the read row
// (position picker on Kafka, search), the skew chart and the verdict bar.
class TopicHeader : public QWidget {
    Q_OBJECT
public:
    TopicHeader(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    void setTopic(const Topic& topic);
    const std::optional<Topic>& topic() const { return m_topic; }
    void setSearchCounts(std::optional<qsizetype> matches, qsizetype total);

    // The tiles as "value label" texts, for tests.
    QStringList tileTexts() const;
    KitButton* pinButton() const { return m_pin; }
    KitButton* rereadButton() const { return m_reread; }
    GroupLagStrip* lagStrip() const { return m_lags; }
    BindingStrip* bindingStrip() const { return m_bindings; }
    PositionPicker* positionPicker() const { return m_picker; }
    MessageSearchField* searchField() const { return m_search; }
    QString remark() const;

private:
    void refresh();
    void refreshTiles();
    void reread();

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    std::optional<Topic> m_topic;
    ElidedLabel* m_title;
    QWidget* m_deadLetter = nullptr;
    QHBoxLayout* m_titleRow;
    KitButton* m_pin;
    KitButton* m_reread;
    ElidedLabel* m_remark;
    QHBoxLayout* m_tileRow;
    QList<QWidget*> m_tiles;
    QStringList m_tileTexts;
    GroupLagStrip* m_lags;
    BindingStrip* m_bindings;
    PositionPicker* m_picker;
    MessageSearchField* m_search;
    SkewChart* m_skew;
    VerdictBar* m_verdict;
};

} // namespace tessaron
