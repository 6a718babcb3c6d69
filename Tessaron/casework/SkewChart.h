#pragma once

// How a topic's retained messages spread over its partitions, drawn with QPainter.
//
//   SkewChart(verdict, parent)   draws a SkewVerdict; the topic header passes
//                                PartitionSkew::verdict of the shown topic and calls
//                                setVerdict(verdict) when the topic changes.
//
// Hovering a bar shows "p%d — %lld retained (%d%%)".

#include "TessaronCore/analysis/SkewVerdict.h"

#include <QSet>
#include <QWidget>

namespace tessaron {

class SkewChart : public QWidget {
    Q_OBJECT
public:
    explicit SkewChart(const SkewVerdict& verdict = SkewVerdict::nothingToCompare(), QWidget* parent = nullptr);

    const SkewVerdict& verdict() const { return m_verdict; }
    void setVerdict(const SkewVerdict& verdict);

    // The sentence drawn; empty when nothing is drawn.
    QString sentence() const;
    bool isFlagged(int32_t partition) const { return m_flagged.contains(partition); }
    // Where bar `index` (in the verdict's order) is drawn, its sliver included, and its height.
    QRectF barRect(qsizetype index) const;
    // The hover help at a point; empty away from the bars.
    QString tipAt(const QPoint& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Geometry {
        QRectF sentence;
        QRectF bars; // the 52-point row
        QRectF caption;
        double height = 0;
    };
    Geometry geometryFor(double width) const;
    bool isChart() const;

    SkewVerdict m_verdict;
    QSet<int32_t> m_flagged;
};

} // namespace tessaron
