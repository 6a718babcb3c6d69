#include "TessaronCore/l10n/L10nTable.h"

#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QTest>

using namespace tessaron;

namespace {
QStringList placeholders(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("%(?:%|@|l{0,2}[diu])"));
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    return found;
}
} // namespace

class TestL10nTable : public QObject {
    Q_OBJECT
private slots:
    void holdsEveryTranslationOnce()
    {
        const auto rows = L10nTable::rows();
        // Each family's rows and the shared ones; rows() joins them all, and a key stands in one file only.
        QSet<QString> seen;
        QStringList duplicates;
        for (const L10nRow& row : rows) {
            const QString english = QString::fromUtf8(row.english);
            if (seen.contains(english))
                duplicates << english;
            seen.insert(english);
        }
        QVERIFY2(duplicates.isEmpty(), qPrintable(duplicates.join(QLatin1Char('\n'))));
    }

    void everyRowIsATranslationWithTheSamePlaceholders()
    {
        QStringList faults;
        for (const L10nRow& row : L10nTable::rows()) {
            const QString en = QString::fromUtf8(row.english);
            const QString pt = QString::fromUtf8(row.portuguese);
            if (en.trimmed().isEmpty() || pt.trimmed().isEmpty())
                faults << QStringLiteral("empty: ") + en;
            else if (en == pt)
                faults << QStringLiteral("translated into itself: ") + en;
            else if (placeholders(en) != placeholders(pt))
                faults << QStringLiteral("placeholders differ: ") + en + QStringLiteral(" | ") + pt;
            else if (en.count(QLatin1Char('\n')) != pt.count(QLatin1Char('\n')))
                faults << QStringLiteral("line breaks differ: ") + en;
            else if (!QString::fromUtf8(row.english).isValidUtf16() || en.toUtf8() != QByteArray(row.english)
                     || pt.toUtf8() != QByteArray(row.portuguese))
                faults << QStringLiteral("not UTF-8: ") + en;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void noTextNamesAnotherPlatform()
    {
        static const QRegularExpression platform(QStringLiteral("\\bMacs?\\b|macOS|Keychain|Apple|Sonoma"));
        QStringList faults;
        for (const L10nRow& row : L10nTable::rows()) {
            for (const char* text : {row.english, row.portuguese}) {
                if (QString::fromUtf8(text).contains(platform))
                    faults << QString::fromUtf8(text);
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // A Portuguese sentence opens as its English does (capital or not), and says what the English
    // means: words a careful reader took the wrong way stay out.
    void thePortugueseReadsAsTheEnglishMeans()
    {
        QStringList faults;
        for (const L10nRow& row : L10nTable::rows()) {
            const QString en = QString::fromUtf8(row.english);
            const QString pt = QString::fromUtf8(row.portuguese);
            // Only where both open with a word (not a number, a placeholder or a name like "p%d").
            const QString opening = en.section(QLatin1Char(' '), 0, 0);
            if (!en.at(0).isLetter() || !pt.at(0).isLetter() || opening.contains(QLatin1Char('%')))
                continue;
            if (en.at(0).isUpper() != pt.at(0).isUpper())
                faults << QStringLiteral("opens otherwise: ") + en + QStringLiteral(" | ") + pt;
        }
        // "Para" (for) where "Pare" (stop) is meant; "Pode mudar"/"Pode esquecer" (it may change,
        // never mind) on buttons that act.
        for (const char* misleading : {"Para os consumidores", "Pode mudar", "Pode esquecer", "distribuído pra ela"}) {
            for (const L10nRow& row : L10nTable::rows()) {
                if (QString::fromUtf8(row.portuguese).contains(QString::fromUtf8(misleading)))
                    faults << QStringLiteral("misleading: ") + QString::fromUtf8(row.portuguese);
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void lookupFindsEveryKeyAndNothingElse()
    {
        for (const L10nRow& row : L10nTable::rows())
            QCOMPARE(L10nTable::portuguese(row.english), row.portuguese);
        QCOMPARE(L10nTable::portuguese("Your broker"), "Seu broker");
        QCOMPARE(L10nTable::portuguese("Your broker "), nullptr);
        QCOMPARE(L10nTable::portuguese(""), nullptr);
        // A straight apostrophe is not the typographic one of the key.
        QVERIFY(
            L10nTable::portuguese("Look at the type of ‘total’. Sometimes the smallest detail makes the whole case."));
        QCOMPARE(
            L10nTable::portuguese("Look at the type of 'total'. Sometimes the smallest detail makes the whole case."),
            nullptr);
    }
};

QTEST_GUILESS_MAIN(TestL10nTable)
#include "tst_L10nTable.moc"
