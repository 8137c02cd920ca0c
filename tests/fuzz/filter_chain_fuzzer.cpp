// A made-up picture (any size up to a few hundred pixels a side, thin ones often, any tag)
// through a chain of up to four operations of the catalogue, each with some of its parameters
// set: inside the panels' ranges, at their ends, beyond them, and at the sizes that broke
// before. Every operation gives a picture, no picture, or a refusal that says why (a
// runtime_error, as smart cut's "no subject"); the sanitizers watch the rest.
#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>
#include <stdexcept>
#include <vector>

#include <QImage>

#include "fuzz_support.h"
#include "fx_operations.h"

using namespace vimora;
using fuzz::Reader;

namespace {
// A chain stops at a bigger result: it is not wrong, only slow to go on with.
constexpr qint64 kMostPixelsChained = qint64(1) << 18;
constexpr int kMostSteps = 4;

struct Range
{
    double fallback = 0;
    std::optional<std::pair<double, double>> span;
};

// "6 (2..30)" in the listing's default text, or "-255..255" in the description.
Range rangeOf(const fx::OperationParam &param)
{
    static const std::regex number(R"(^\s*(-?[0-9.e+-]+))");
    static const std::regex span(R"((-?[0-9.e+-]+)\.\.(-?[0-9.e+-]+))");
    Range r;
    std::smatch m;
    if (std::regex_search(param.fallback, m, number))
        r.fallback = std::strtod(m[1].str().c_str(), nullptr);
    if (std::regex_search(param.fallback, m, span) || std::regex_search(param.description, m, span))
        r.span = std::make_pair(std::strtod(m[1].str().c_str(), nullptr), std::strtod(m[2].str().c_str(), nullptr));
    return r;
}

double numberFor(Reader &in, const Range &r, double extent)
{
    static const double specials[] = {0, 1, -1, 0.5, 2, 1e-6, -1e-6, 3.14159265358979, 45, 90, 180, 255};
    switch (in.between(0, 5)) {
    case 0:
        return r.fallback;
    case 1:
        return in.oneOf(specials);
    case 2:
        if (r.span)
            return in.flag() ? r.span->first : r.span->second;
        return in.real(-8, 8);
    case 3:
        if (r.span) {
            // Beyond the panel's range by up to its width on either side: still accepted.
            const double width = r.span->second - r.span->first;
            return in.real(r.span->first - width, r.span->second + width);
        }
        return in.real(-extent, extent);
    default:
        return r.span ? in.real(r.span->first, r.span->second) : in.real(-8, 8);
    }
}

long long integerFor(Reader &in, const Range &r)
{
    // Window sides around the Gaussian's ring and the rows of an eight-wide block among them.
    static const long long specials[] = {0, 1, -1, 2, 3, 4, 5, 7, 8, 9, 15, 17, 19, 25, 41, 63, 101, -7, 255, 1000};
    switch (in.between(0, 3)) {
    case 0:
        return (long long)r.fallback;
    case 1:
        return in.oneOf(specials);
    case 2:
        return in.between(-16, 64);
    default:
        return r.span ? in.between((long long)r.span->first - 1, (long long)r.span->second + 1) : in.between(-300, 300);
    }
}

QImage bitmapFor(Reader &in)
{
    static const int sides[] = {1, 1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 31, 33, 64, 100, 300};
    const int w = in.flag() ? in.oneOf(sides) : int(in.between(1, 48));
    const int h = in.flag() ? in.oneOf(sides) : int(in.between(1, 48));
    QImage image(w, h, QImage::Format_ARGB32);
    // A few shapes of content: flat, transparent holes, noise from a seed, a gradient.
    const int kind = int(in.between(0, 3));
    const std::uint32_t flat = in.word();
    std::uint32_t seed = in.word() | 1u;
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            switch (kind) {
            case 0:
                row[x] = flat;
                break;
            case 1:
                row[x] = (x + y) % 3 == 0 ? 0u : flat;
                break;
            case 2:
                row[x] = seed;
                break;
            default:
                row[x] = qRgba(x * 255 / w, y * 255 / h, int(flat & 0xff), int(flat >> 24));
            }
        }
    }
    return image;
}

Picture pictureFor(Reader &in)
{
    static const double scales[] = {1, 1, 2, 3, 0.5};
    const QImage bitmap = bitmapFor(in);
    return Picture(bitmap, in.oneOf(scales), Orientation(in.between(0, 7)));
}

std::optional<fx::Value> valueFor(Reader &in, const fx::OperationParam &param, const Picture &current)
{
    const double extent = std::max(current.pixelWidth(), current.pixelHeight());
    const Range range = rangeOf(param);
    auto coordinate = [&] { return in.flag() ? in.real(-extent, 2 * extent) : double(in.between(-2, 2)) * extent / 2; };
    auto side = [&] { return in.flag() ? double(in.between(0, 3)) : in.real(-1, 2 * extent); };
    switch (param.kind) {
    case fx::ValueKind::Number: {
        const double v = numberFor(in, range, extent);
        // A larger factor only makes a larger picture, slowly.
        const bool factor = param.name == "factor" || param.name == "deviceScale";
        return factor ? std::clamp(v, -10.0, 10.0) : v;
    }
    case fx::ValueKind::Integer:
        return integerFor(in, range);
    case fx::ValueKind::Point:
        return QPointF(coordinate(), coordinate());
    case fx::ValueKind::Size:
        return QSizeF(side(), side());
    case fx::ValueKind::Rectangle:
        return QRectF(coordinate(), coordinate(), side(), side());
    case fx::ValueKind::Transform: {
        // Any linear part up to a fourfold stretch, singular ones included.
        auto part = [&] { return in.flag() ? double(in.between(-2, 2)) : in.real(-4, 4); };
        const double a = part(), b = part(), c = part(), d = part();
        return QTransform(a, b, c, d, coordinate(), coordinate());
    }
    case fx::ValueKind::Numbers: {
        std::vector<double> values(std::size_t(in.between(0, 30)));
        for (double &v : values)
            v = in.flag() ? double(in.between(-2, 2)) : in.real(-10, 10);
        return values;
    }
    case fx::ValueKind::Picture:
        return in.flag() ? current : pictureFor(in);
    }
    return std::nullopt;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Reader in(data, size);
    const std::vector<fx::Operation> &operations = fx::operations();
    Picture current = pictureFor(in);
    const int steps = int(in.between(1, kMostSteps));
    for (int step = 0; step < steps; ++step) {
        const fx::Operation &op = operations[std::size_t(in.between(0, qsizetype(operations.size()) - 1))];
        fx::Arguments args;
        for (const fx::OperationParam &param : op.params) {
            if (!param.required && !in.flag())
                continue;
            if (std::optional<fx::Value> value = valueFor(in, param, current))
                args.set(param.name, std::move(*value));
        }
        Picture out;
        try {
            out = op.run(current, args);
        } catch (const std::runtime_error &) {
            continue; // a refusal with its reason, as the command line shows it
        }
        if (out.isNull())
            continue; // a refusal: the chain goes on with what it had
        fuzz::check(out.pixelWidth() > 0 && out.pixelHeight() > 0, "a picture has pixels");
        if (qint64(out.pixelWidth()) * out.pixelHeight() > kMostPixelsChained)
            break;
        current = out;
    }
    return 0;
}
