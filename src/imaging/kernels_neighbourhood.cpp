#include "imaging/kernels.h"

// The sliding window of rows that neighbourhood filters read around each output row.

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "imaging/simd.h"

namespace vimora::kernels {

Window::Window(int count, int radius)
    : m_count(count)
    , m_radius(radius)
    , m_stride(count + 2 * radius)
    , m_rows(size_t(2 * radius + 1), std::vector<float>(size_t(count + 2 * radius) * kPlanes))
{
}

namespace {

/// Rec. 709 luminance of the straight colour of premultiplied pixels; 0 where transparent.
VIMORA_VECTOR_LOOP(void, straightLuminanceRow,
                   (const float *__restrict r, const float *__restrict g, const float *__restrict b,
                    const float *__restrict a, float *__restrict luminance, int n),
                   (r, g, b, a, luminance, n))
{
    for (int x = 0; x < n; ++x)
        luminance[x] = a[x] > 0.0f ? (0.2125f * r[x] + 0.7154f * g[x] + 0.0721f * b[x]) / a[x] : 0.0f;
}

void loadWindowRow(const QImage &src, int srcRow, int radius, std::vector<float> &planes)
{
    const int w = src.width();
    const size_t stride = size_t(w + 2 * radius);
    PixelRow row;
    row.r = planes.data() + radius;
    row.g = row.r + stride;
    row.b = row.g + stride;
    row.a = row.b + stride;
    row.count = w;
    decodeRow(src, std::clamp(srcRow, 0, src.height() - 1), 0, Space::Linear, true, row);
    float *luminance = row.a + stride;
    straightLuminanceRow(row.r, row.g, row.b, row.a, luminance, w);
    for (float *plane : {row.r, row.g, row.b, row.a, luminance})
        for (int k = 1; k <= radius; ++k) {
            plane[-k] = plane[0];
            plane[w - 1 + k] = plane[w - 1];
        }
}

} // namespace

void loadWindow(const QImage &src, int row, Window &window)
{
    const int radius = window.m_radius;
    if (row == window.m_loadedRow + 1) {
        std::rotate(window.m_rows.begin(), window.m_rows.begin() + 1, window.m_rows.end());
        loadWindowRow(src, row + radius, radius, window.m_rows.back());
    } else {
        for (int dy = -radius; dy <= radius; ++dy)
            loadWindowRow(src, row + dy, radius, window.m_rows[size_t(dy + radius)]);
    }
    window.m_loadedRow = row;
}

} // namespace vimora::kernels
