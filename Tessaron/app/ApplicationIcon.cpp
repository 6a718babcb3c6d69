#include "Tessaron/app/ApplicationIcon.h"

#include "Tessaron/app/AppArtwork.h"

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
    (void)AppArtwork::appIcon();
    if (!QFile::exists(path) || !QSvgRenderer(path).isValid())
        return {};
    // Drawn by Qt's SVG icon engine at each size when a size is first asked for, not all of them
    // before the first window.
    return QIcon(path);
}

} // namespace tessaron::ApplicationIcon
