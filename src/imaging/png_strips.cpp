// A PNG encoder that deflates horizontal strips of the picture at once: each strip is a raw
// deflate stream ended on a byte boundary (a sync flush), so the strips joined behind one zlib
// header form a single ordinary stream any PNG reader takes. The strip count depends only on
// the picture's height, so the bytes do not depend on the number of threads.

#include <algorithm>
#include <vector>

#include <zlib.h>

#include <QtEndian>

#include "imaging/codec.h"
#include "imaging/parallel.h"
#include "imaging/pixel_support.h"

namespace vimora {

namespace {

constexpr int kStripRows = 96;
constexpr int kMaxStrips = 32;

void appendChunk(QByteArray &out, const char type[4], const char *data, qsizetype size)
{
    char length[4];
    qToBigEndian(quint32(size), length);
    out.append(length, 4);
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, size);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(out.constData() + start), uInt(size + 4));
    char crcBytes[4];
    qToBigEndian(quint32(crc), crcBytes);
    out.append(crcBytes, 4);
}

inline uint8_t paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Paeth prediction for every row: on photographs it gives the smallest files of the single
// filters, without the per-row trial of every filter.
void filterRow(uint8_t *out, const uint8_t *row, const uint8_t *above, int bytes, int bpp)
{
    *out++ = 4;
    for (int i = 0; i < bytes; ++i) {
        const int a = i >= bpp ? row[i - bpp] : 0;
        const int b = above ? above[i] : 0;
        const int c = above && i >= bpp ? above[i - bpp] : 0;
        out[i] = uint8_t(row[i] - paeth(a, b, c));
    }
}

struct Strip
{
    std::vector<uint8_t> deflated;
    uLong adler = 1;
    uLong length = 0;
    bool ok = false;
};

} // namespace

QByteArray encodePngStrips(const Picture &picture, int compression)
{
    if (picture.isNull())
        return {};
    QImage pixels = detail::uprightPixels(picture);
    bool opaque = true;
    if (pixels.hasAlphaChannel()) {
        const QImage argb = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < argb.height() && opaque; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            opaque = std::all_of(row, row + argb.width(), [](QRgb p) { return qAlpha(p) == 255; });
        }
    }
    // Straight (not premultiplied) RGBA where anything shows through, else RGB, as PNG stores it.
    pixels = pixels.convertToFormat(opaque ? QImage::Format_RGB888 : QImage::Format_RGBA8888);
    if (pixels.isNull())
        return {};
    const int width = pixels.width(), height = pixels.height();
    const int bpp = opaque ? 3 : 4;
    const int rowBytes = width * bpp;
    const int strips = std::clamp(height / kStripRows, 1, kMaxStrips);
    const int level = std::clamp(compression, 0, 9);

    std::vector<Strip> out(static_cast<size_t>(strips));
    auto deflateStrip = [&](int s) {
        const int first = int(long(height) * s / strips), end = int(long(height) * (s + 1) / strips);
        std::vector<uint8_t> filtered(size_t(end - first) * size_t(rowBytes + 1));
        for (int y = first; y < end; ++y)
            filterRow(&filtered[size_t(y - first) * size_t(rowBytes + 1)], pixels.constScanLine(y),
                      y > 0 ? pixels.constScanLine(y - 1) : nullptr, rowBytes, bpp);
        Strip &strip = out[size_t(s)];
        strip.length = uLong(filtered.size());
        strip.adler = adler32(1, filtered.data(), uInt(filtered.size()));
        z_stream z{};
        if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            return;
        strip.deflated.resize(deflateBound(&z, uLong(filtered.size())) + 16);
        z.next_in = filtered.data();
        z.avail_in = uInt(filtered.size());
        z.next_out = strip.deflated.data();
        z.avail_out = uInt(strip.deflated.size());
        // The last strip ends the stream; the others end on a byte boundary, block left open.
        const int result = deflate(&z, s == strips - 1 ? Z_FINISH : Z_SYNC_FLUSH);
        strip.ok = (s == strips - 1 ? result == Z_STREAM_END : result == Z_OK) && z.avail_in == 0;
        strip.deflated.resize(strip.deflated.size() - z.avail_out);
        deflateEnd(&z);
    };
    detail::runChunks(strips, deflateStrip);

    QByteArray idat;
    idat.append(char(0x78));
    idat.append(char(0x9c)); // deflate, 32 KB window, default-level flag; (0x789c % 31) == 0
    uLong adler = 1;
    for (const Strip &strip : out) {
        if (!strip.ok)
            return {};
        idat.append(reinterpret_cast<const char *>(strip.deflated.data()), qsizetype(strip.deflated.size()));
        adler = adler32_combine(adler, strip.adler, z_off_t(strip.length));
    }
    char adlerBytes[4];
    qToBigEndian(quint32(adler), adlerBytes);
    idat.append(adlerBytes, 4);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    char header[13];
    qToBigEndian(quint32(width), header);
    qToBigEndian(quint32(height), header + 4);
    header[8] = 8;                 // bits per sample
    header[9] = opaque ? 2 : 6;    // RGB or RGBA
    header[10] = header[11] = header[12] = 0; // deflate, adaptive filtering, not interlaced
    appendChunk(png, "IHDR", header, 13);
    constexpr qsizetype kIdatChunk = 1 << 20;
    for (qsizetype at = 0; at < idat.size(); at += kIdatChunk)
        appendChunk(png, "IDAT", idat.constData() + at, std::min(kIdatChunk, idat.size() - at));
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace vimora
