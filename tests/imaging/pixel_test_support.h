#pragma once

// Plain reference versions of the convolutions (four nested loops, one pixel at a time) and
// picture makers shared by the filter and geometry tests.

#include <cstdint>

#include <QImage>

namespace vimora::test {

/// A w x h Raster of valid premultiplied pixels from a fixed seed; opaque when asked.
inline QImage noisyRaster(int w, int h, uint32_t seed, bool opaque = false)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    uint32_t s = seed * 2654435761u + 1u;
    auto next = [&s] {
        s = s * 1664525u + 1013904223u;
        return int(s >> 24);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int a = opaque ? 255 : next();
            const int r = next() * a / 255, g = next() * a / 255, b = next() * a / 255;
            image.setPixel(x, y, qRgba(r, g, b, a));
        }
    return image;
}

inline int channelOf(QRgb p, int c)
{
    return c == 0 ? qRed(p) : c == 1 ? qGreen(p) : c == 2 ? qBlue(p) : qAlpha(p);
}

/// The float kernel run over the colour channels as the convolution family defines it: sums in
/// row-major kernel order, colour 0 where the window leaves the picture, alpha copied,
/// clamped (always: wrapping is never wanted) and truncated with a 1/512 allowance for the
/// sum's rounding error.
inline QImage naiveFloatConvolution(const QImage &src, const float *k, int rows, int cols)
{
    QImage out(src.size(), QImage::Format_ARGB32_Premultiplied);
    const int top = (rows - 1) / 2, left = (cols - 1) / 2;
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const int alpha = qAlpha(src.pixel(x, y));
            const bool inside = y - top >= 0 && y - top + rows <= src.height() && x - left >= 0
                && x - left + cols <= src.width();
            int v[3] = {0, 0, 0};
            for (int c = 0; inside && c < 3; ++c) {
                float sum = 0.0f;
                for (int p = 0; p < rows; ++p)
                    for (int q = 0; q < cols; ++q)
                        sum += k[p * cols + q] * float(channelOf(src.pixel(x + q - left, y + p - top), c));
                v[c] = int(std::min(std::max(sum + 1.0f / 512.0f, 0.0f), 255.0f));
            }
            out.setPixel(x, y, qRgba(v[0], v[1], v[2], alpha));
        }
    return out;
}

/// The integer kernel over all four channels: (sum + bias) / divisor truncated toward zero,
/// clamped; pixels whose window leaves the picture copied from the source.
inline QImage naiveIntegerConvolution(const QImage &src, const int16_t *k, int size, int divisor, int bias)
{
    QImage out = src.copy();
    const int half = size / 2;
    for (int y = half; y < src.height() - half; ++y)
        for (int x = half; x < src.width() - half; ++x) {
            int v[4];
            for (int c = 0; c < 4; ++c) {
                long sum = 0;
                for (int p = 0; p < size; ++p)
                    for (int q = 0; q < size; ++q)
                        sum += k[p * size + q] * channelOf(src.pixel(x + q - half, y + p - half), c);
                v[c] = int(std::min(std::max((sum + bias) / divisor, 0L), 255L));
            }
            out.setPixel(x, y, qRgba(v[0], v[1], v[2], v[3]));
        }
    return out;
}

} // namespace vimora::test
