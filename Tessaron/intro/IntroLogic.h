#pragma once

#include "Tessaron/state/AppState.h"
#include "TessaronCore/analysis/ShapeVerdict.h"
#include "TessaronCore/model/Broker.h"
#include "TessaronCore/model/Message.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessaron::intro {

// The running version recorded when the introduction ends; "0.4.0" when the application has none.
QString runningVersion();

// The caption under the mascot's badge for a boop count and a count of balls shown.
QString caption(int boops, int distractions);

// The demonstration case: four fictional orders, one of which carries its total as a string.
const QStringList& demoTotals();
const QList<Message>& demoMessages();
const ShapeVerdict& demoVerdict();
// Whether the real shape analysis names the message at `index` as an outlier.
bool isCulprit(int index);
inline constexpr int helpIndex = 2;

// The case page's state: a wrong pick only moves the selection, the culprit solves once.
struct CaseState {
    std::optional<int> selected;
    bool solved = false;
    int strikes = 0;
    // Returns true when this pick solved the case.
    bool pick(int index);
};

// The ground rules' peek demonstration.
struct PeekDemo {
    bool rabbit = false;
    int reads = 0;
    void choose(bool rabbitMQ)
    {
        rabbit = rabbitMQ;
        reads = 0;
    }
    void peek() { ++reads; }
    QString before() const { return rabbit ? QStringLiteral("false") : QStringLiteral("128"); }
    QString after() const { return rabbit && reads > 0 ? QStringLiteral("true") : before(); }
    bool changed() const { return after() != before(); }
};

// The summary rows of the last chapter.
QString caseRow(bool solved);
QString brokerRow(const std::optional<Broker>& saved);
QString backupRow(const QString& provider);

// The broker chapter's fields and the broker they stand for.
struct ConnectionDraft {
    QString name;
    QString address;
    BrokerKind kind = BrokerKind::kafka;
    QString username = QStringLiteral("guest");
    QString password;

    Broker broker() const; // a fresh identifier on every call
    std::optional<QString> secret() const;
    bool canTest() const;
    // Whether an answer obtained for `candidate` with `secret` still belongs to these fields.
    bool matches(const Broker& candidate, const std::optional<QString>& secret) const;
};

} // namespace tessaron::intro
