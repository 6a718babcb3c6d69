#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace tessaron {

// One of the mascot's joke bar charts. Every text is a localisation key, looked up when drawn.
struct TessaronChart {
    struct Bar {
        QString label; // also identifies the row: distinct within a chart
        double value = 0.0;
        std::optional<QString> note;
        friend bool operator==(const Bar&, const Bar&) = default;
    };

    QString title;
    QList<Bar> bars;
    QString footnote;
    bool unsolicited = false;
    // The value of a full bar; 1 or less means the values are fractions already.
    double scale = 100.0;

    // How much of its track a bar fills, from 0 to 1.
    double fraction(const Bar& bar) const;

    // The five built-in charts, built once.
    static const QList<TessaronChart>& catalogue();
    // The catalogue entry for a running index (wraps both ways).
    static const TessaronChart& ofIndex(int index);
    // Today's ordinal in the year (1 for the first of January): the starting index of the reception.
    static int dayOfYear(const QDate& date = QDate::currentDate());
    // What the reception shows for an index and a boop count: the catalogue entry, or from
    // 3 boops on the unsolicited boop chart.
    static TessaronChart pick(int index, int boops);
    static TessaronChart boopChart(int boops);

    friend bool operator==(const TessaronChart&, const TessaronChart&) = default;
};

} // namespace tessaron
