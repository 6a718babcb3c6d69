#pragma once

#include "Tessaron/state/AppOutcome.h"

#include <QWidget>

class QLabel;

namespace tessaron {

class SlamStamp;

// The result of a filing or a move: a stamp ("FILED" in green, "REFUSED" in orange) that slams in
// again whenever `strikes` changes, beside the outcome's sentence exactly as the session wrote it,
// selectable, on a panel tinted with the stamp's colour.
class OutcomeBlock : public QWidget {
    Q_OBJECT
public:
    OutcomeBlock(const AppOutcome& outcome, int strikes, QWidget* parent = nullptr);

    void setOutcome(const AppOutcome& outcome, int strikes);
    const AppOutcome& outcome() const { return m_outcome; }
    // "FILED" or "REFUSED": the stamp's words stay in English.
    QString stampText() const;
    QLabel* sentence() const { return m_sentence; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void rebuildStamp(int strikes);

    AppOutcome m_outcome;
    SlamStamp* m_stamp = nullptr;
    QLabel* m_sentence;
};

} // namespace tessaron
