#pragma once

#include <QDir>
#include <QImage>
#include <QLayout>
#include <QPainter>
#include <QWidget>

// Renders a component over a dark panel, as the kit's views expect, and keeps the picture under
// $TESSARON_GALLERY for a reader to look at.
namespace GalleryShot {

inline QImage save(QWidget* widget, const QString& name, QSize size = {})
{
    if (!widget->isVisible()) {
        widget->setAttribute(Qt::WA_DontShowOnScreen);
        widget->show();
    }
    if (size.width() <= 0)
        size.setWidth(widget->sizeHint().width());
    if (size.height() <= 0) {
        const int h = widget->hasHeightForWidth() ? widget->heightForWidth(size.width()) : -1;
        size.setHeight(h > 0 ? h : widget->sizeHint().height());
    }
    widget->resize(size);
    if (widget->layout())
        widget->layout()->activate();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(24, 22, 32));
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    const QString dir =
        qEnvironmentVariable("TESSARON_GALLERY", QDir::tempPath() + QStringLiteral("/tessaron-gallery"));
    QDir().mkpath(dir);
    image.save(dir + u'/' + name + QStringLiteral(".png"));
    return image;
}

} // namespace GalleryShot
