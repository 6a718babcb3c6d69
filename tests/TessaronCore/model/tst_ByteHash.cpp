#include "TessaronCore/model/ByteHash.h"

#include <QHash>
#include <QSet>
#include <QtTest>

using namespace tessaron;

class TestByteHash : public QObject {
    Q_OBJECT
private slots:
    // Every length path of the hash (empty, 1-3, 4-16, longer, several blocks) must see every byte.
    void everyByteCounts()
    {
        QByteArray text;
        for (int i = 0; i < 80; ++i)
            text.append(char('a' + i % 26));
        QSet<uint64_t> seen;
        for (qsizetype length = 0; length <= text.size(); ++length) {
            const QByteArrayView prefix(text.constData(), length);
            QVERIFY(!seen.contains(ByteHash::of(prefix)));
            seen.insert(ByteHash::of(prefix));
            const QByteArray copy = prefix.toByteArray();
            QCOMPARE(ByteHash::of(QByteArrayView(copy)), ByteHash::of(prefix));
            for (qsizetype at = 0; at < length; ++at) {
                QByteArray flipped = copy;
                flipped[at] = char(flipped[at] ^ 1);
                QVERIFY2(ByteHash::of(QByteArrayView(flipped)) != ByteHash::of(prefix),
                         qPrintable(QStringLiteral("length %1, byte %2").arg(length).arg(at)));
            }
        }
        QVERIFY(ByteHash::of(QByteArrayView("ab"), 1) != ByteHash::of(QByteArrayView("ab"), 2));
    }

    void viewsAsHashKeys()
    {
        const QString a = QStringLiteral("shop.orders");
        const QString b = QStringLiteral("shop.") + QStringLiteral("orders");
        QHash<HashedView<QStringView>, int> map;
        map.insert(HashedView<QStringView>(a), 1);
        QCOMPARE(map.value(HashedView<QStringView>(b), 0), 1);
        QCOMPARE(map.value(HashedView<QStringView>(u"shop.order"), 0), 0);
        QVERIFY(HashedView<QStringView>(a) == HashedView<QStringView>(b));
    }
};

QTEST_GUILESS_MAIN(TestByteHash)
#include "tst_ByteHash.moc"
