#pragma once

#include "Tessaron/state/AppOutcome.h"

#include <QColor>
#include <QWidget>

class QLabel;

namespace tessaron {

class SlamStamp;

// The result of a filing or a move: a stamp that slams in again whenever `strikes` changes ("FILED"
// in green, "REFUSED" in orange, "UNCONFIRMED" in violet when the broker's answer was lost), beside
// the outcome's sentence exactly as the session wrote it, selectable, on a panel tinted with the
// stamp's colour. An unconfirmed result leads with what may have happened and what to check
// before acting again: it is never shown as a refusal.
class OutcomeBlock : public QWidget {
    Q_OBJECT
public:
    // What the sheet did, for the words of an unconfirmed result.
    enum class Act { file, move };

    OutcomeBlock(const AppOutcome& outcome, int strikes, Act act = Act::file, QWidget* parent = nullptr);

    void setOutcome(const AppOutcome& outcome, int strikes);
    const AppOutcome& outcome() const { return m_outcome; }
    // The stamp's words stay in English.
    QString stampText() const;
    static QString stampText(AppOutcome::Case which);
    static QColor stampColor(AppOutcome::Case which);
    QLabel* sentence() const { return m_sentence; }
    // "May have been filed…" or "May have moved…"; hidden unless the result is unconfirmed.
    QLabel* caution() const { return m_caution; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildStamp(int strikes);
    void retranslate();

    AppOutcome m_outcome;
    Act m_act;
    SlamStamp* m_stamp = nullptr;
    QLabel* m_caution;
    QLabel* m_sentence;
};

} // namespace tessaron
