#include "VelkinUI/ImageBlur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tessaron::ImageBlur {

namespace {

// One horizontal box pass over every row (channels kept premultiplied).
void boxPass(const QRgb* src, QRgb* dst, int width, int height, int srcStride, int dstStride, int r, bool transpose)
{
    const int window = 2 * r + 1;
    std::vector<QRgb> line(width);
    for (int y = 0; y < height; ++y) {
        const QRgb* in = src + y * srcStride;
        int a = 0, rr = 0, g = 0, b = 0;
        auto add = [&](QRgb p, int sign) {
            a += sign * qAlpha(p);
            rr += sign * qRed(p);
            g += sign * qGreen(p);
            b += sign * qBlue(p);
        };
        for (int i = -r; i <= r; ++i)
            add(in[std::clamp(i, 0, width - 1)], 1);
        for (int x = 0; x < width; ++x) {
            line[x] = qRgba(rr / window, g / window, b / window, a / window);
            add(in[std::clamp(x - r, 0, width - 1)], -1);
            add(in[std::clamp(x + r + 1, 0, width - 1)], 1);
        }
        for (int x = 0; x < width; ++x) {
            if (transpose)
                dst[x * dstStride + y] = line[x];
            else
                dst[y * dstStride + x] = line[x];
        }
    }
}

} // namespace

void blur(QImage& image, double radius)
{
    if (radius < 0.5 || image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width();
    const int h = image.height();
    // Three box passes of this half-width give roughly a Gaussian of sigma = radius / 2.
    const double sigma = radius / 2.0;
    const int r = std::max(1, int(std::lround(std::sqrt(12.0 * sigma * sigma / 3.0 + 1.0) / 2.0)));
    std::vector<QRgb> a(size_t(w) * h), t(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        std::copy_n(reinterpret_cast<const QRgb*>(image.constScanLine(y)), w, a.data() + size_t(y) * w);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a.data(), t.data(), w, h, w, h, r, true); // rows -> transposed columns
        boxPass(t.data(), a.data(), h, w, h, w, r, true); // columns -> back
    }
    for (int y = 0; y < h; ++y)
        std::copy_n(a.data() + size_t(y) * w, w, reinterpret_cast<QRgb*>(image.scanLine(y)));
}

} // namespace tessaron::ImageBlur
