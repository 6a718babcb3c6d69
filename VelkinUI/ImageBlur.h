#pragma once

#include <QImage>

namespace tessaron::ImageBlur {

// Approximates a Gaussian blur of the given radius (three box passes) on a premultiplied ARGB image,
// in place. Used for shadows and soft ink; Qt Widgets offers no public blur that composes with
// our other effects.
void blur(QImage& image, double radius);

} // namespace tessaron::ImageBlur
