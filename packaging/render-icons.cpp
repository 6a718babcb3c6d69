// Draws the application icon in the hicolor sizes, from the same drawing the program shows:
//   tessaron-render-icons <folder>   writes <folder>/<n>x<n>/apps/tessaron-mq.png and scalable/
#include "Tessaron/app/ApplicationIcon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: tessaron-render-icons <folder>\n";
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = root.filePath(QStringLiteral("%1x%1/apps").arg(size));
        const QPixmap image = tessaron::ApplicationIcon::pixmap(size);
        if (image.isNull() || !QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/tessaron-mq.png"))) {
            QTextStream(stderr) << "could not draw the icon at " << size << "\n";
            return 1;
        }
    }
    const QString scalable = root.filePath(QStringLiteral("scalable/apps"));
    QDir().mkpath(scalable);
    QFile::remove(scalable + QStringLiteral("/tessaron-mq.svg"));
    if (!QFile::copy(tessaron::ApplicationIcon::resource, scalable + QStringLiteral("/tessaron-mq.svg"))) {
        QTextStream(stderr) << "could not copy the scalable icon\n";
        return 1;
    }
    QFile(scalable + QStringLiteral("/tessaron-mq.svg"))
        .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return 0;
}
