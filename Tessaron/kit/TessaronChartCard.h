#pragma once

#include "Tessaron/kit/TessaronChart.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QVBoxLayout;

namespace tessaron {

class AnimatedValue;
class ChartBarRow;
class KitButton;
class EffectSlot;
class Eyebrow;

// A chart as a panel: eyebrow, title, one bar row per bar and a footnote, with an "Another" button
// when an action is given. The bars grow in each time a chart with a new title is shown.
class TessaronChartCard : public QWidget {
    Q_OBJECT
public:
    ~TessaronChartCard() override;
    TessaronChartCard(const TessaronChart& chart, std::optional<QString> eyebrow = std::nullopt,
                      std::function<void()> onAnother = {}, QWidget* parent = nullptr);

    const TessaronChart& chart() const { return m_chart; }
    // A chart with another title replaces the card's content and plays the entrance again; the same
    // title updates the bars in place.
    void setChart(const TessaronChart& chart);
    QString eyebrowText() const;
    bool isDrawn() const { return m_drawn; }
    QList<ChartBarRow*> rows() const { return m_rows; }
    KitButton* anotherButton() const { return m_another; }
    QLabel* titleLabel() const { return m_title; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();
    void appear();

    TessaronChart m_chart;
    std::optional<QString> m_eyebrow;
    std::function<void()> m_onAnother;
    bool m_drawn = false;
    Eyebrow* m_eyebrowLabel = nullptr;
    QLabel* m_title = nullptr;
    QVBoxLayout* m_barsBox = nullptr;
    QList<ChartBarRow*> m_rows;
    QLabel* m_footnote = nullptr;
    KitButton* m_another = nullptr;
    std::unique_ptr<EffectSlot> m_effect;
    AnimatedValue* m_entrance;
};

} // namespace tessaron
