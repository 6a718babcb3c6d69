#include "Tessaron/kit/ChartBarRow.h"
#include "Tessaron/kit/TessaronChart.h"
#include "Tessaron/kit/TessaronChartCard.h"
#include "TessaronCore/l10n/L10n.h"
#include "VelkinInfra/prefs/UserDefaults.h"
#include "VelkinUI/AccessibilitySettings.h"
#include "VelkinUI/KitButton.h"
#include "VelkinUI/ManualAnimationClock.h"

#include <QLabel>
#include <QTest>

using namespace tessaron;

class TestCharts : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        UserDefaults::standard().setString(L10n::key, "en");
        QCoreApplication::processEvents();
        AccessibilitySettings::instance().setReduceMotion(true);
    }

    void catalogueHasFiveChartsOfFourBarsButOne()
    {
        const auto& all = TessaronChart::catalogue();
        QCOMPARE(all.size(), 5);
        QList<int> counts;
        for (const TessaronChart& c : all) {
            counts << int(c.bars.size());
            QVERIFY(!c.unsolicited);
            QCOMPARE(c.scale, 100.0);
            QStringList labels;
            for (const auto& b : c.bars)
                labels << b.label;
            labels.removeDuplicates();
            QCOMPARE(labels.size(), c.bars.size());
        }
        QCOMPARE(counts, (QList<int>{4, 4, 4, 3, 4}));
        QCOMPARE(all[0].title, QString("Things I have never done"));
        QCOMPARE(all[0].bars[2].label, QString("Called \"don't know\" zero"));
        QCOMPARE(all[0].bars[3].note, std::optional<QString>("(yet)"));
        // Chart 2 is a day in percentages: 41, 33, 19 and 7.
        double sum = 0;
        for (const auto& b : all[1].bars)
            sum += b.value;
        QCOMPARE(sum, 100.0);
        QCOMPARE(all[1].bars[1].value, 33.0);
        QCOMPARE(all[3].bars[2].note, std::optional<QString>("(lie)"));
        QCOMPARE(all[4].footnote, QString("Golden retriever. It's not optional."));
        // Every text of the catalogue has its Portuguese row.
        UserDefaults::standard().setString(L10n::key, "pt");
        QCoreApplication::processEvents();
        for (const TessaronChart& c : all) {
            QVERIFY2(L10n::t(c.title) != c.title, qPrintable(c.title));
            QVERIFY2(L10n::t(c.footnote) != c.footnote, qPrintable(c.footnote));
            for (const auto& b : c.bars) {
                if (b.label != "Lag")
                    QVERIFY2(L10n::t(b.label) != b.label, qPrintable(b.label));
            }
        }
        QCOMPARE(L10n::t("Lag"), QString("Lag"));
    }

    void dailyPickWrapsAndBoopsTakeOver()
    {
        QCOMPARE(TessaronChart::dayOfYear(QDate(2026, 1, 1)), 1);
        QCOMPARE(TessaronChart::dayOfYear(QDate(2026, 12, 31)), 365);
        QCOMPARE(TessaronChart::pick(1, 0).title, TessaronChart::catalogue()[1].title);
        QCOMPARE(TessaronChart::pick(5, 0).title, TessaronChart::catalogue()[0].title); // after chart 5 comes chart 1
        QCOMPARE(TessaronChart::pick(-1, 2).title, TessaronChart::catalogue()[4].title);
        const TessaronChart boops = TessaronChart::pick(0, 4);
        QVERIFY(boops.unsolicited);
        QCOMPARE(boops.title, QString("Boops received today"));
        QCOMPARE(boops.scale, 10.0);
        QCOMPARE(boops.fraction(boops.bars[0]), 0.4);
        QCOMPARE(TessaronChart::pick(0, 25).fraction(TessaronChart::pick(0, 25).bars[0]), 1.0);
        QCOMPARE(boops.footnote, QString("Trend: up."));
    }

    void fractionsFollowTheScale()
    {
        TessaronChart c{"t", {{"a", 150, {}}, {"b", 0.5, {}}, {"c", -3, {}}}, "f", false, 100};
        QCOMPARE(c.fraction(c.bars[0]), 1.0);
        QCOMPARE(c.fraction(c.bars[1]), 0.005);
        QCOMPARE(c.fraction(c.bars[2]), 0.0);
        c.scale = 1;
        QCOMPARE(c.fraction(c.bars[1]), 0.5);
    }

    void cardDrawsBarLengthsAndTexts()
    {
        TessaronChart chart{"How I spend my day", {{"Reading queues", 0, {}}, {"Ball", 100, {}}, {"Over", 150, QString("(yet)")}, {"Half", 50, {}}},
                            "Percentages. The ball one is under-reported.", false, 100};
        TessaronChartCard card(chart);
        card.resize(600, 240);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        QVERIFY(card.isDrawn());
        QCOMPARE(card.eyebrowText(), QString("CHART OF THE DAY"));
        QVERIFY(!card.anotherButton());
        const auto rows = card.rows();
        QCOMPARE(rows.size(), 4);
        const double track = rows[1]->trackRect().width();
        QVERIFY(track > 100);
        QCOMPARE(rows[0]->barLength(), 3.0);          // zero is a stub
        QCOMPARE(rows[1]->barLength(), track);        // full
        QCOMPARE(rows[2]->barLength(), track);        // and no more
        QCOMPARE(rows[3]->barLength(), track / 2);
        QCOMPARE(rows[1]->valueText(), QLocale().toString(100.0, 'f', 0));
        // Zero is drawn grey: the stub's pixels are the muted colour, not the brand's.
        const QImage shot = rows[0]->grab().toImage();
        const QRectF tr = rows[0]->trackRect();
        const QColor stub(shot.pixel(int(tr.left() + 1), int(tr.center().y())));
        QVERIFY(std::abs(stub.red() - stub.blue()) < 12);
    }

    void cardWithAnotherAndUnsolicitedEyebrow()
    {
        int asked = 0;
        TessaronChartCard card(TessaronChart::boopChart(4), std::nullopt, [&] { ++asked; });
        QCOMPARE(card.eyebrowText(), QString("UNSOLICITED CHART"));
        QVERIFY(card.anotherButton());
        QCOMPARE(card.anotherButton()->text(), QString("Another"));
        card.anotherButton()->click();
        QCOMPARE(asked, 1);
        TessaronChartCard briefing(TessaronChart::catalogue()[0], QString("THIS BROKER"));
        QCOMPARE(briefing.eyebrowText(), QString("THIS BROKER"));
        UserDefaults::standard().setString(L10n::key, "pt");
        QCoreApplication::processEvents();
        TessaronChartCard pt(TessaronChart::catalogue()[0]);
        QCOMPARE(pt.eyebrowText(), L10n::t("CHART OF THE DAY"));
        QCOMPARE(pt.titleLabel()->text(), L10n::t("Things I have never done"));
    }

    void newTitleRegrowsSameTitleUpdatesInPlace()
    {
        AccessibilitySettings::instance().setReduceMotion(false);
        testing::ManualAnimationClock clock;
        TessaronChartCard card(TessaronChart::boopChart(3));
        card.resize(600, 200);
        card.show();
        QVERIFY(QTest::qWaitForWindowExposed(&card));
        clock.advance(1500);
        ChartBarRow* row = card.rows()[0];
        const double track = row->trackRect().width();
        QCOMPARE(row->barLength(), 0.3 * track); // 3 boops on a scale of 10, grown in
        card.setChart(TessaronChart::boopChart(5));
        QCOMPARE(card.rows()[0], row); // same identity: same row
        QCOMPARE(row->valueText(), QString("5"));
        QVERIFY(row->isRolling()); // the digits roll
        clock.advance(1500);
        QVERIFY(!row->isRolling());
        QCOMPARE(row->barLength(), 0.5 * track);
        card.setChart(TessaronChart::catalogue()[2]);
        QCOMPARE(card.rows().size(), 4);
        QCOMPARE(card.rows()[0]->barLength(), 3.0); // a new chart starts from its stubs
        clock.advance(16);
        // The bars grow one after another: the second waits 0.06 s behind the first.
        QVERIFY(card.rows()[0]->barLength() > 3.0);
        QCOMPARE(card.rows()[1]->barLength(), 3.0);
        clock.advance(1500);
        const double full = card.rows()[0]->trackRect().width();
        QCOMPARE(card.rows()[0]->barLength(), 0.68 * full);
        QCOMPARE(card.rows()[3]->barLength(), std::max(3.0, 0.02 * full));
    }
};

QTEST_MAIN(TestCharts)
#include "tst_Charts.moc"
