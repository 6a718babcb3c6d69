#pragma once

#include "Tessaron/state/AppOutcome.h"

#include <QWidget>

class QLabel;

namespace tessaron {

// The answer of the Ask sheet: "THE OPINION" with a gavel that strikes at every new answer, or a
// "NO OPINION" stamp, above the tool's words as it wrote them (or the reason there are none),
// selectable, on a panel tinted with the accent or the warning colour.
class AnswerBlock : public QWidget {
    Q_OBJECT
public:
    // Longer answers are cut with a visible marker, so that laying out the text stays quick.
    static constexpr int shownCharacters = 100000;

    AnswerBlock(const AppOutcome& outcome, int strikes, QWidget* parent = nullptr);
    const AppOutcome& outcome() const { return m_outcome; }
    QLabel* text() const { return m_text; }
    // "THE OPINION" (localised) or "NO OPINION".
    QString heading() const { return m_heading; }

private:
    AppOutcome m_outcome;
    QLabel* m_text;
    QString m_heading;
};

} // namespace tessaron
