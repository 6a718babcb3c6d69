#include "VelkinHelpers/SearchHighlight.h"
#include "VelkinHelpers/Skeleton.h"
#include "VelkinUI/Brand.h"
#include "VelkinUI/MotionAnimation.h"

#include "GalleryShot.h"

#include <QTest>

#include <clocale>

using namespace tessaron;

namespace {

using Run = AttributedText::Run;

Run plain(const QString& text) { return Run{text, std::nullopt, std::nullopt}; }

Run marked(const QString& text)
{
    QColor background = Brand::accent();
    background.setAlphaF(0.45);
    return Run{text, QColor(Qt::white), background};
}

} // namespace

class TestSearchSkeleton : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Everything below must hold under a locale whose decimal mark is a comma.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }

    void blankTermLeavesTextUnmarked()
    {
        QCOMPARE(SearchHighlight::attributed("some text", "").runs, QList<Run>{plain("some text")});
        QCOMPARE(SearchHighlight::attributed("some text", " \t ").runs, QList<Run>{plain("some text")});
        QVERIFY(SearchHighlight::attributed("", "").runs.isEmpty());
        QVERIFY(SearchHighlight::attributed("", "x").runs.isEmpty());
    }

    void marksEveryOccurrenceInItsOwnCase()
    {
        QCOMPARE(SearchHighlight::attributed("xABy aB", "ab").runs,
                 (QList<Run>{plain("x"), marked("AB"), plain("y "), marked("aB")}));
        QCOMPARE(SearchHighlight::attributed("aaaa", "aa").runs, (QList<Run>{marked("aa"), marked("aa")}));
        QCOMPARE(SearchHighlight::attributed("order id 7", "  r i\t").runs,
                 (QList<Run>{plain("orde"), marked("r i"), plain("d 7")}));
        // Accents still count; letter case alone does not.
        QCOMPARE(SearchHighlight::attributed("Café cafe", "CAFÉ").runs, (QList<Run>{marked("Café"), plain(" cafe")}));
        QCOMPARE(SearchHighlight::attributed("nothing here", "zz").runs, QList<Run>{plain("nothing here")});
    }

    void marksWhatFullFoldingMatchesInTheOriginal()
    {
        QCOMPARE(SearchHighlight::attributed("Straße 1", "STRASSE").runs, (QList<Run>{marked("Straße"), plain(" 1")}));
        QCOMPARE(SearchHighlight::attributed("xSTRASSEx", "straße").runs,
                 (QList<Run>{plain("x"), marked("STRASSE"), plain("x")}));
        // A match inside one character's folding marks the whole character, once.
        QCOMPARE(SearchHighlight::attributed("aßb", "s").runs, (QList<Run>{plain("a"), marked("ß"), plain("b")}));
        QCOMPARE(SearchHighlight::attributed("ﬁle", "I").runs, (QList<Run>{marked("ﬁ"), plain("le")}));
    }

    void runsJoinBackToTheText()
    {
        const QString text = QStringLiteral("Ünïcödé 🐕 dog DOG dög 🐕🐕 ßẞ ﬃ");
        for (const QString& term :
             {QStringLiteral("dog"), QStringLiteral("🐕"), QStringLiteral("ö"), QStringLiteral("x"),
              QStringLiteral("ss"), QStringLiteral("s"), QStringLiteral("f")})
            QCOMPARE(SearchHighlight::attributed(text, term).text(), text);
    }

    void elapsedTextsUseAFullStop()
    {
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        const QList<std::pair<double, QString>> cases{
            {0.0, "<1ms"},      {0.0004, "<1ms"},    {-3.0, "<1ms"}, {0.001, "1.0ms"},
            {0.0025, "2.5ms"},  {0.00996, "10.0ms"}, {0.01, "10ms"}, {0.25, "250ms"},
            {0.9996, "1000ms"}, {1.0, "1.00s"},      {1.5, "1.50s"}, {61.0, "61.00s"},
        };
        for (const auto& [seconds, text] : cases)
            QCOMPARE(SearchHighlight::elapsed(seconds), text);
    }

    void listCyclesThroughWidths()
    {
        SkeletonList list(5, {120, 80});
        QList<QSize> sizes;
        for (SkeletonRow* bar : list.bars())
            sizes.append(bar->size());
        QCOMPARE(sizes, (QList<QSize>{{120, 10}, {80, 10}, {120, 10}, {80, 10}, {120, 10}}));
        GalleryShot::save(&list, QStringLiteral("skeleton-list"), QSize(200, 0));
        QCOMPARE(list.bars().at(1)->geometry().topLeft(), QPoint(14, 12 + 10 + 10));
    }

    // Nothing to divide by: no widths, or no rows, leave an empty padded column.
    void degenerateListsAreEmpty()
    {
        SkeletonList noWidths(3, {});
        QVERIFY(noWidths.bars().isEmpty());
        SkeletonList none(0, {100});
        QVERIFY(none.bars().isEmpty());
        SkeletonList negative(-2, {100});
        QVERIFY(negative.bars().isEmpty());
        const QImage shot = GalleryShot::save(&noWidths, QStringLiteral("skeleton-list-empty"), QSize(200, 40));
        QCOMPARE(shot.pixelColor(100, 20), QColor(24, 22, 32));
    }

    void rowSweepsOnceShown()
    {
        SkeletonRow row(200, 12);
        QCOMPARE(row.phase(), -0.5);
        QCOMPARE(row.sweep()->state(), QAbstractAnimation::Stopped);
        row.setAttribute(Qt::WA_DontShowOnScreen);
        row.show();
        QCOMPARE(row.sweep()->state(), QAbstractAnimation::Running);
        QCOMPARE(row.sweep()->loopCount(), -1);
        QCOMPARE(row.sweep()->duration(), 1400);
        QCOMPARE(row.sweep()->startValue().toDouble(), -0.5);
        QCOMPARE(row.sweep()->endValue().toDouble(), 1.5);
        row.hide();
        QCOMPARE(row.sweep()->state(), QAbstractAnimation::Paused);
        row.show();
        QCOMPARE(row.sweep()->state(), QAbstractAnimation::Running);
    }

    // The band is brightest where the sweep has put it.
    void bandFollowsThePhase()
    {
        SkeletonRow row(200, 12);
        const auto brightness = [&](int x) { return qGray(GalleryShot::save(&row, "skeleton-row").pixel(x, 6)); };
        row.show();
        row.sweep()->pause();
        row.sweep()->setCurrentTime(0); // phase -0.5: band centre at the left edge
        QVERIFY(brightness(2) > brightness(190));
        row.sweep()->setCurrentTime(700); // phase 0.5: centre at the right edge
        QCOMPARE(row.phase(), 0.5);
        QVERIFY(brightness(195) > brightness(10));
        row.sweep()->setCurrentTime(350);
        GalleryShot::save(&row, "skeleton-row-mid");
    }
};

QTEST_MAIN(TestSearchSkeleton)
#include "tst_SearchSkeleton.moc"
