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

    // Every title, label, value, note and footnote exactly as the mascot wrote them, with their Portuguese.
    void catalogueTextsAndValuesAsWritten()
    {
        struct Row {
            const char* label;
            double value;
            const char* note;
        };
        struct Chart {
            const char* title;
            QList<Row> bars;
            const char* footnote;
        };
        const QList<Chart> expected{
            {"Things I have never done",
             {{"Committed an offset", 0, nullptr},
              {"Joined a consumer group", 0, nullptr},
              {"Called \"don't know\" zero", 0, nullptr},
              {"Seen Sasquatch", 0, "(yet)"}},
             "All verified. I checked twice."},
            {"How I spend my day",
             {{"Reading queues", 41, nullptr},
              {"Sniffing the logs", 33, nullptr},
              {"Ball", 19, nullptr},
              {"Practising law", 7, nullptr}},
             "Percentages. The ball one is under-reported."},
            {"Why you opened Tessaron",
             {{"A queue filled up overnight", 68, nullptr},
              {"A field turned into a string", 24, nullptr},
              {"Curiosity", 6, nullptr},
              {"Clicked by accident", 2, nullptr}},
             "Either way, I'm glad you're here."},
            {"Messages that changed shape on their own",
             {{"On their own", 0, nullptr},
              {"After a Friday deploy", 97, nullptr},
              {"\"Nobody touched it\"", 3, "(lie)"}},
             "I can't tell one. I can point at one."},
            {"Things I can sniff out",
             {{"Lag", 100, nullptr},
              {"A wrong shape", 100, nullptr},
              {"A ball at 400 m", 100, nullptr},
              {"What you had for dinner", 100, "(unfortunately)"}},
             "Golden retriever. It's not optional."},
        };
        const auto& all = TessaronChart::catalogue();
        QCOMPARE(all.size(), expected.size());
        for (qsizetype c = 0; c < all.size(); ++c) {
            QCOMPARE(all[c].title, QString(expected[c].title));
            QCOMPARE(all[c].footnote, QString(expected[c].footnote));
            QCOMPARE(all[c].bars.size(), expected[c].bars.size());
            for (qsizetype b = 0; b < all[c].bars.size(); ++b) {
                QCOMPARE(all[c].bars[b].label, QString(expected[c].bars[b].label));
                QCOMPARE(all[c].bars[b].value, expected[c].bars[b].value);
                const char* note = expected[c].bars[b].note;
                QCOMPARE(all[c].bars[b].note, note ? std::optional<QString>(note) : std::nullopt);
            }
        }

        UserDefaults::standard().setString(L10n::key, "pt");
        QCoreApplication::processEvents();
        const QList<std::pair<const char*, const char*>> portuguese{
            {"Things I have never done", "Coisas que eu nunca fiz"},
            {"How I spend my day", "Como eu passo o dia"},
            {"Why you opened Tessaron", "Por que você abriu o Tessaron"},
            {"Messages that changed shape on their own", "Mensagens que mudaram de formato sozinhas"},
            {"Things I can sniff out", "Coisas que eu farejo"},
            {"Committed an offset", "Commitei um offset"},
            {"Joined a consumer group", "Entrei num consumer group"},
            {"Called \"don't know\" zero", "Chamei \"não sei\" de zero"},
            {"Seen Sasquatch", "Vi o Pé-Grande"},
            {"(yet)", "(ainda)"},
            {"All verified. I checked twice.", "Tudo verificado. Conferi duas vezes."},
            {"Reading queues", "Lendo filas"},
            {"Ball", "Bolinha"},
            {"Practising law", "Advocacia"},
            {"Percentages. The ball one is under-reported.", "Em porcentagem. A da bolinha está subnotificada."},
            {"A queue filled up overnight", "Uma fila encheu de madrugada"},
            {"A field turned into a string", "Um campo virou string"},
            {"Curiosity", "Curiosidade"},
            {"Clicked by accident", "Clicou sem querer"},
            {"Either way, I'm glad you're here.", "De qualquer jeito, que bom que você veio."},
            {"On their own", "Sozinhas"},
            {"After a Friday deploy", "Depois de um deploy na sexta"},
            {"\"Nobody touched it\"", "\"Ninguém mexeu nisso\""},
            {"(lie)", "(mentira)"},
            {"I can't tell one. I can point at one.", "Eu não conto nenhuma. Mas sei apontar uma."},
            {"A wrong shape", "Formato errado"},
            {"A ball at 400 m", "Uma bolinha a 400 m"},
            {"What you had for dinner", "O que você jantou"},
            {"(unfortunately)", "(infelizmente)"},
            {"Golden retriever. It's not optional.", "Golden retriever. Não é opcional."},
            {"CHART OF THE DAY", "GRÁFICO DO DIA"},
            {"UNSOLICITED CHART", "GRÁFICO NÃO SOLICITADO"},
            {"Another", "Outro"},
            {"Boops received today", "Boops recebidos hoje"},
            {"You", "Você"},
            {"Trend: up.", "Tendência: alta."},
            {"Lag", "Lag"},
        };
        for (const auto& [english, pt] : portuguese)
            QCOMPARE(L10n::t(english), QString::fromUtf8(pt));
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
        TessaronChart chart{
            "How I spend my day",
            {{"Reading queues", 0, {}}, {"Ball", 100, {}}, {"Over", 150, QString("(yet)")}, {"Half", 50, {}}},
            "Percentages. The ball one is under-reported.",
            false,
            100};
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
        QCOMPARE(rows[0]->barLength(), 3.0);   // zero is a stub
        QCOMPARE(rows[1]->barLength(), track); // full
        QCOMPARE(rows[2]->barLength(), track); // and no more
        QCOMPARE(rows[3]->barLength(), track / 2);
        QCOMPARE(rows[1]->valueText(), QString("100"));
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
        // Figures as the interface's language writes them, whatever the system's locale.
        TessaronChartCard held(TessaronChart{"t", {{"orders", 95312, {}}}, "f", false, 95312});
        QCOMPARE(held.rows()[0]->valueText(), QString("95.312"));
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
