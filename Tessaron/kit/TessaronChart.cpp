#include "Tessaron/kit/TessaronChart.h"

#include <algorithm>

namespace tessaron {

double TessaronChart::fraction(const Bar& bar) const
{
    const double f = scale > 1.0 ? bar.value / scale : bar.value;
    return std::clamp(f, 0.0, 1.0);
}

const QList<TessaronChart>& TessaronChart::catalogue()
{
    static const QList<TessaronChart> charts{
        {"Things I have never done",
         {{"Committed an offset", 0, {}},
          {"Joined a consumer group", 0, {}},
          {"Called \"don't know\" zero", 0, {}},
          {"Seen Sasquatch", 0, QString("(yet)")}},
         "All verified. I checked twice.",
         false,
         100},
        {"How I spend my day",
         {{"Reading queues", 41, {}}, {"Sniffing the logs", 33, {}}, {"Ball", 19, {}}, {"Practising law", 7, {}}},
         "Percentages. The ball one is under-reported.",
         false,
         100},
        {"Why you opened Tessaron",
         {{"A queue filled up overnight", 68, {}},
          {"A field turned into a string", 24, {}},
          {"Curiosity", 6, {}},
          {"Clicked by accident", 2, {}}},
         "Either way, I'm glad you're here.",
         false,
         100},
        {"Messages that changed shape on their own",
         {{"On their own", 0, {}}, {"After a Friday deploy", 97, {}}, {"\"Nobody touched it\"", 3, QString("(lie)")}},
         "I can't tell one. I can point at one.",
         false,
         100},
        {"Things I can sniff out",
         {{"Lag", 100, {}},
          {"A wrong shape", 100, {}},
          {"A ball at 400 m", 100, {}},
          {"What you had for dinner", 100, QString("(unfortunately)")}},
         "Golden retriever. It's not optional.",
         false,
         100},
    };
    return charts;
}

const TessaronChart& TessaronChart::ofIndex(int index)
{
    const QList<TessaronChart>& all = catalogue();
    const int n = int(all.size());
    return all[((index % n) + n) % n];
}

int TessaronChart::dayOfYear(const QDate& date) { return date.dayOfYear(); }

TessaronChart TessaronChart::boopChart(int boops)
{
    return TessaronChart{
        "Boops received today", {{"You", double(boops), {}}}, "Trend: up.", true, std::max(double(boops), 10.0)};
}

TessaronChart TessaronChart::pick(int index, int boops) { return boops >= 3 ? boopChart(boops) : ofIndex(index); }

} // namespace tessaron
