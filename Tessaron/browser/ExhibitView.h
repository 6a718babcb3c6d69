#pragma once

#include "TessaronCore/model/Message.h"

#include <QPointer>
#include <QSet>
#include <QWidget>

#include <optional>

class QLayout;
class QLocale;
class QScrollArea;
class QStackedLayout;

namespace tessaron {

class LawyeredStamp;

class AppState;
class BrokerSession;
class PayloadDocument;
class PayloadKind;

// The right-hand column of the browser: the selected message as a numbered exhibit (its facts,
// the drift note when it disagrees with the majority, its headers, its payload in the form its
// kind calls for, "Copy" and "File a corrected copy"), or the topic's case notes while no message
// is selected.
class ExhibitView : public QWidget {
    Q_OBJECT
public:
    ExhibitView(AppState* app, BrokerSession* session, QWidget* parent = nullptr);

    // The exhibit shown, if any, with its number among every message read.
    std::optional<int> exhibitNumber() const { return m_number; }
    const std::optional<QString>& shownMessage() const { return m_shown; }
    bool showsNotes() const;
    // The payload document of the exhibit, when its kind has one.
    PayloadDocument* document() const { return m_document; }
    // The suspect field paths handed to the document.
    const QSet<QString>& suspects() const { return m_suspects; }

    // Puts the payload on the clipboard: text exactly as read, other bytes as hex; a tombstone
    // offers nothing and leaves the clipboard alone.
    void copyPayload();
    void fileCorrectedCopy();
    static std::optional<QString> copiedText(const Message& message);

    // The time fact: the moment in local time, as the locale's abbreviated date and standard time.
    static QString timestampText(const QDateTime& moment, const QLocale& locale);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitDocument();
    void refresh();
    QWidget* build(const Message& message, int number, bool outlier, qsizetype outlierCount);
    // The exhibit's parts, top to bottom: the heading, the annotations (headers), the record in the form
    // its kind calls for, and the actions.
    QLayout* buildHeading(const Message& message, const PayloadKind& kind, int number, bool outlier,
                          qsizetype outlierCount);
    QLayout* buildAnnotations(const Message& message);
    QLayout* buildRecord(const Message& message, const PayloadKind& kind);
    QLayout* buildActions(const Message& message);

    QPointer<AppState> m_app;
    QPointer<BrokerSession> m_session;
    QStackedLayout* m_stack;
    QWidget* m_notes;
    QScrollArea* m_scroll;
    PayloadDocument* m_document = nullptr;
    std::optional<QString> m_shown;
    std::optional<int> m_number;
    QSet<QString> m_suspects;
    // What the shown exhibit was built from, so unrelated changes do not rebuild it.
    QString m_builtKey;
    QPointer<LawyeredStamp> m_stamp;
    // Where the exhibit stood among the held messages, and how many there were then.
    qsizetype m_heldAt = -1;
    qsizetype m_heldCount = 0;
};

} // namespace tessaron
