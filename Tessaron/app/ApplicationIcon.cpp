#include "Tessaron/app/ApplicationIcon.h"

#include "Tessaron/kit/AppArtwork.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace tessaron::ApplicationIcon {

QPixmap pixmap(int size, const QString& path)
{
    // The artwork's resources live in the kit's library and are registered on first use.
    (void)AppArtwork::appIcon();
    if (size <= 0 || !QFile::exists(path))
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

QIcon load(const QString& path)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QPixmap image = pixmap(size, path);
        if (image.isNull())
            return {};
        icon.addPixmap(image);
    }
    return icon;
}

} // namespace tessaron::ApplicationIcon
