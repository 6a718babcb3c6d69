#include "TessaronCore/model/Saturating.h"
#include "TessaronCore/analysis/SearchTerm.h"
#include "TessaronCore/model/TextRules.h"

#include <QtTest>

#include <limits>

using namespace tessaron;

class TestTextRules : public QObject {
    Q_OBJECT
private slots:
    void trimsSpacesAndTabsButNotLineBreaks()
    {
        QCOMPARE(TextRules::trimmed(u" \t word \u00A0\u3000"), QStringLiteral("word"));
        QCOMPARE(TextRules::trimmed(u"\u2003word\u202F"), QStringLiteral("word"));
        QCOMPARE(TextRules::trimmed(u" word\n "), QStringLiteral("word\n"));
        QCOMPARE(TextRules::trimmed(u"\r\nword"), QStringLiteral("\r\nword"));
        QCOMPARE(TextRules::trimmed(u"\u2028word\u2029"), QStringLiteral("\u2028word\u2029"));
        QCOMPARE(TextRules::trimmed(u" \t "), QString());
    }

    void ordersByCodePointNotByUtf16Unit()
    {
        // U+1F600 is stored as surrogates (D83D DE00), below U+FF21 in UTF-16 units but above it
        // as a code point.
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        const QString fullwidthA = QStringLiteral("\uFF21");
        QVERIFY(QString::compare(emoji, fullwidthA) < 0);
        QVERIFY(TextRules::compare(fullwidthA, emoji) < 0);
        QVERIFY(TextRules::precedes(u"Zeta", u"alpha"));
        QVERIFY(TextRules::precedes(u"B", u"a"));
        QVERIFY(TextRules::precedes(u"a", u"ab"));
        QCOMPARE(TextRules::compare(u"same", u"same"), 0);
    }

    void ordersCanonicalFormsAlike()
    {
        // "é" precomposed and as e + combining accent are one text in canonical form.
        QCOMPARE(TextRules::compare(u"caf\u00E9", u"cafe\u0301"), 0);
        // Compared as "café", so after "caff"; its decomposed units alone would put it first.
        QVERIFY(TextRules::precedes(u"caff", u"cafe\u0301"));
    }

    void decodesStrictUtf8()
    {
        QCOMPARE(TextRules::strictUtf8("ol\xC3\xA1"), QStringLiteral("ol\u00E1"));
        QVERIFY(!TextRules::strictUtf8("\xFF\xFE"));
        QVERIFY(!TextRules::strictUtf8("\xC0\xAF"));     // overlong "/"
        QVERIFY(!TextRules::strictUtf8("\xED\xA0\x80")); // an encoded surrogate
        QVERIFY(!TextRules::strictUtf8("abc\xE2\x82"));  // cut short
        QCOMPARE(TextRules::strictUtf8(""), QString());
    }

    void matchesIgnoringCaseOnly()
    {
        const auto term = SearchTerm::prepare(u"  stra\u00DFe ");
        QVERIFY(term);
        QVERIFY(term->matches(u"HAUPTSTRA\u00DFE 1"));
        QVERIFY(term->matches(u"strasse")); // full case folding
        const auto accent = SearchTerm::prepare(u"cafe");
        QVERIFY(!accent->matches(u"CAF\u00C9")); // diacritics count
        QVERIFY(SearchTerm::prepare(u"\u00C9T\u00C9")->matches(u"l'\u00E9t\u00E9"));
        QVERIFY(SearchTerm::prepare(u"K")->matches(u"\u212Aelvin")); // the Kelvin sign folds to k
        QVERIFY(SearchTerm::prepare(u"\u212A")->matches(u"kelvin"));
        QVERIFY(!SearchTerm::prepare(u" \t\u00A0"));
        QCOMPARE(SearchTerm::prepare(u"A")->matchesUtf8("\xFF"), std::nullopt);
        QCOMPARE(SearchTerm::prepare(u"A")->matchesUtf8("xa"), std::optional<bool>(true));
        QCOMPARE(SearchTerm::prepare(u"\u00E9")->matchesUtf8("\xC3\x89t\xC3\xA9"), std::optional<bool>(true));
    }

    void saturatesAtTheLimits()
    {
        constexpr int64_t max = std::numeric_limits<int64_t>::max();
        constexpr int64_t min = std::numeric_limits<int64_t>::min();
        QCOMPARE(Saturating::add(max, 1), max);
        QCOMPARE(Saturating::add(min, -1), min);
        QCOMPARE(Saturating::add(max, min), int64_t(-1));
        QCOMPARE(Saturating::span(-1, max), max);
        QCOMPARE(Saturating::span(min, max), max);
        QCOMPARE(Saturating::span(max, min), int64_t(0));
        QCOMPARE(Saturating::span(5, 9), int64_t(4));
    }
};

QTEST_GUILESS_MAIN(TestTextRules)
#include "tst_TextRules.moc"
