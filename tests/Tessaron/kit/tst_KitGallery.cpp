#include "gallery/KitGallery.h"

#include <QDir>
#include <QImage>
#include <QTest>

using namespace tessaron;

class TestKitGallery : public QObject {
    Q_OBJECT
private slots:
    void rendersEveryPage()
    {
        const QString folder = QStringLiteral(TESSARON_GALLERY_DIR);
        const QStringList files = KitGallery::renderAll(folder);
        QCOMPARE(files.size(), KitGallery::pages().size());
        for (const QString& file : files) {
            const QImage image(file);
            QVERIFY2(!image.isNull() && image.width() > 100 && image.height() > 100, qPrintable(file));
            // Something was drawn beyond the plain background.
            const QRgb corner = image.pixel(1, 1);
            int different = 0;
            for (int y = 0; y < image.height(); y += 7)
                for (int x = 0; x < image.width(); x += 7)
                    different += image.pixel(x, y) != corner;
            QVERIFY2(different > 50, qPrintable(file));
        }
    }
};

QTEST_MAIN(TestKitGallery)
#include "tst_KitGallery.moc"
