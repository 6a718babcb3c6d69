#pragma once

// The one-line ruling on the shape of the messages read, with its two companions.
//
//   VerdictBar(verdict, strikes, parent)   draws a ShapeVerdict; the topic header passes the
//                                          session's shapeVerdict and gavelStrikes, and calls
//                                          setVerdict(verdict, strikes) when either changes.
//   DifferenceLine(difference, parent)     one field difference of the objection card.
//   ObjectionMark(parent)                  the mark a message row puts beside an outlier.

#include "Tessaron/kit/Gavel.h"
#include "TessaronCore/analysis/FieldDifference.h"
#include "TessaronCore/analysis/ShapeVerdict.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace tessaron {

class DifferenceLine;

class VerdictBar : public QWidget {
    Q_OBJECT
public:
    explicit VerdictBar(const ShapeVerdict& verdict = ShapeVerdict::nothingToCompare(), int strikes = 0,
                        QWidget* parent = nullptr);

    const ShapeVerdict& verdict() const { return m_verdict; }
    int strikes() const { return m_strikes; }
    // A new verdict rebuilds the bar, except that an objection that stays one is retold in place
    // (its counts grow with every page read); a new strike count strikes the gavel.
    void setVerdict(const ShapeVerdict& verdict, int strikes);

    // What is drawn: nothing, a line, or the objection card.
    enum class Shows { nothing, line, objection };
    Shows shows() const;
    // The sentence drawn (the line's, or the card's lead sentence); empty when nothing is drawn.
    QString sentence() const { return m_sentence; }
    Gavel* gavel() const { return m_gavel; }

private:
    void rebuild();
    // Writes a drift's texts over the objection card when it draws as many lines; false otherwise.
    bool retell(const ShapeVerdict::Drift& drift);

    ShapeVerdict m_verdict;
    int m_strikes;
    QString m_sentence;
    QVBoxLayout* m_box;
    QPointer<QWidget> m_content;
    QPointer<Gavel> m_gavel;
    // The objection card's texts: its lead sentence, its difference lines, the line of the rest.
    QPointer<QLabel> m_lead;
    QList<QPointer<DifferenceLine>> m_lines;
    QPointer<QLabel> m_more;
};

class DifferenceLine : public QWidget {
    Q_OBJECT
public:
    explicit DifferenceLine(const FieldDifference& difference, QWidget* parent = nullptr);
    const FieldDifference& difference() const { return m_difference; }
    void setDifference(const FieldDifference& difference);
    QString sentence() const;

private:
    FieldDifference m_difference;
    QLabel* m_field;
    QLabel* m_sentence;
};

class ObjectionMark : public QWidget {
    Q_OBJECT
public:
    explicit ObjectionMark(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessaron
