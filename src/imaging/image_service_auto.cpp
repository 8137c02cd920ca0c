// Automatic adjustment: the analysis that picks filters for a picture, and the two curve
// filters it uses besides vibrance. Our own design (no face detection): vibrance for dull
// pictures, a straight tone stretch for pictures that miss black or white, and a shadow lift
// for dark ones, in that order.

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

#include "imaging/image_service_families.h"
#include "imaging/tone.h"

namespace vimora {

namespace {

using kernels::Region;
using kernels::Space;

/// Monotone cubic interpolation (Fritsch-Carlson) through points sorted by x; flat beyond the
/// ends, so the curve never overshoots its points.
class MonotoneCurve
{
public:
    explicit MonotoneCurve(std::vector<QPointF> points)
    {
        std::sort(points.begin(), points.end(), [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
        for (const QPointF &p : points)
            if (m_x.empty() || p.x() > m_x.back()) {
                m_x.push_back(p.x());
                m_y.push_back(p.y());
            }
        const size_t n = m_x.size();
        m_slope.assign(n, 0.0);
        if (n < 2)
            return;
        std::vector<double> secant(n - 1);
        for (size_t i = 0; i + 1 < n; ++i)
            secant[i] = (m_y[i + 1] - m_y[i]) / (m_x[i + 1] - m_x[i]);
        m_slope[0] = secant[0];
        m_slope[n - 1] = secant[n - 2];
        for (size_t i = 1; i + 1 < n; ++i)
            m_slope[i] = secant[i - 1] * secant[i] <= 0 ? 0.0 : (secant[i - 1] + secant[i]) / 2;
        for (size_t i = 0; i + 1 < n; ++i) {
            if (secant[i] == 0) {
                m_slope[i] = m_slope[i + 1] = 0;
                continue;
            }
            const double a = m_slope[i] / secant[i], b = m_slope[i + 1] / secant[i];
            const double h = a * a + b * b;
            if (h > 9) {
                const double t = 3 / std::sqrt(h);
                m_slope[i] = t * a * secant[i];
                m_slope[i + 1] = t * b * secant[i];
            }
        }
    }

    double operator()(double x) const
    {
        if (m_x.empty())
            return x;
        if (m_x.size() == 1 || x <= m_x.front())
            return m_y.front();
        if (x >= m_x.back())
            return m_y.back();
        const size_t i = size_t(std::upper_bound(m_x.begin(), m_x.end(), x) - m_x.begin()) - 1;
        const double h = m_x[i + 1] - m_x[i], t = (x - m_x[i]) / h;
        const double t2 = t * t, t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * m_y[i] + (t3 - 2 * t2 + t) * h * m_slope[i] + (-2 * t3 + 3 * t2) * m_y[i + 1]
            + (t3 - t2) * h * m_slope[i + 1];
    }

private:
    std::vector<double> m_x, m_y, m_slope;
};

constexpr std::array<std::string_view, 5> kCurveKeys = {"inputPoint0", "inputPoint1", "inputPoint2", "inputPoint3",
                                                        "inputPoint4"};

QImage renderToneCurve(const FilterArgs &args, Region region)
{
    std::vector<QPointF> points;
    for (std::string_view key : kCurveKeys)
        points.push_back(args.point(key));
    const MonotoneCurve curve(points);
    return service::applyChannelTable(args.input(), region, service::channelTable(Space::Encoded, [&](float e) {
                                          return float(curve(e));
                                      }));
}

QImage renderHighlightShadow(const FilterArgs &args, Region region)
{
    // Shadows: e + k e (1 - e)^2 lifts darks; highlights below 1: minus (1 - h) e^2 (1 - e)
    // darkens lights. Both keep 0 and 1 and stay monotone for |k| <= 1. No neighbourhood: the
    // radius is accepted and not used.
    const float k = std::clamp(float(args.number("inputShadowAmount")), -1.0f, 1.0f);
    const float h = 1.0f - std::clamp(float(args.number("inputHighlightAmount")), 0.0f, 1.0f);
    if (k == 0.0f && h == 0.0f)
        return service::inputOverRegion(args.input(), region);
    return service::applyChannelTable(args.input(), region, service::channelTable(Space::Encoded, [&](float e) {
                                          const float d = 1.0f - e;
                                          return e + k * e * d * d - h * e * e * d;
                                      }));
}

struct Histogram
{
    static constexpr int kBins = 4096;
    std::vector<double> luminance = std::vector<double>(kBins, 0.0);
    double weight = 0;
    double saturation = 0;

    /// The luminance below which the given fraction of the weight lies.
    double percentile(double fraction) const
    {
        const double target = fraction * weight;
        double sum = 0;
        for (int i = 0; i < kBins; ++i) {
            sum += luminance[size_t(i)];
            if (sum >= target && sum > 0)
                return double(i) / (kBins - 1);
        }
        return 1.0;
    }
};

/// Alpha-weighted histogram of the luminance of straight encoded colours, and the mean
/// saturation (max - min).
Histogram analyse(const QImage &image)
{
    const float *encoded = ZELGetCIContext().encodedStraight();
    Histogram total;
    std::mutex merging;
    parallelChunks(image.height(), [&](int begin, int end) {
        Histogram h;
        for (int y = begin; y < end; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const uint32_t p = row[x];
                const uint32_t alpha = p >> 24;
                if (alpha == 0)
                    continue;
                const uint32_t base = alpha << 8;
                const float r = encoded[base | ((p >> 16) & 0xff)];
                const float g = encoded[base | ((p >> 8) & 0xff)];
                const float b = encoded[base | (p & 0xff)];
                const float l = 0.2125f * r + 0.7154f * g + 0.0721f * b;
                const double w = alpha / 255.0;
                h.luminance[size_t(std::lround(l * (Histogram::kBins - 1)))] += w;
                h.weight += w;
                h.saturation += w * (std::max({r, g, b}) - std::min({r, g, b}));
            }
        }
        const std::lock_guard lock(merging);
        for (int i = 0; i < Histogram::kBins; ++i)
            total.luminance[size_t(i)] += h.luminance[size_t(i)];
        total.weight += h.weight;
        total.saturation += h.saturation;
    });
    return total;
}

} // namespace

std::vector<ImageFilter> autoAdjustmentFilters(const Picture &image, AutoAdjustOptions options)
{
    std::vector<ImageFilter> filters;
    // Red eye needs faces and eyes; with none found there is nothing to correct.
    if (!options.enhance || image.isNull())
        return filters;
    const Histogram h = analyse(image.bitmap());
    if (h.weight <= 0)
        return filters;

    const double meanSaturation = h.saturation / h.weight;
    if (meanSaturation < 0.25) {
        ImageFilter vibrance("CIVibrance");
        vibrance.setValue("inputAmount", std::min(0.5, (0.25 - meanSaturation) * 2));
        filters.push_back(vibrance);
    }

    const double black = std::min(0.10, h.percentile(0.005));
    const double white = std::max(0.90, h.percentile(0.995));
    if (black > 0.01 || white < 0.99) {
        const double span = white - black;
        ImageFilter curve("CIToneCurve");
        for (int i = 0; i < 5; ++i)
            curve.setValue(kCurveKeys[size_t(i)], QPointF(i == 4 ? white : black + span * i / 4, i / 4.0));
        filters.push_back(curve);
    }

    const double median = h.percentile(0.5);
    if (median < 0.35) {
        ImageFilter shadows("CIHighlightShadowAdjust");
        shadows.setValue("inputShadowAmount", std::min(1.0, (0.35 - median) * 3));
        filters.push_back(shadows);
    }
    return filters;
}

Picture autoAdjusted(const Picture &image, AutoAdjustOptions options)
{
    if (image.isNull())
        return {};
    Picture current(image.bitmap());
    for (ImageFilter filter : autoAdjustmentFilters(image, options)) {
        filter.setValue("inputImage", current);
        current = filter.renderOutput();
        if (current.isNull())
            return {};
    }
    return current;
}

/// The automatic adjustment behind the tone filters' autoEnhance and redEyeCorrection: red eye
/// true repairs red eyes only, false enhances only.
Picture autoAdjust(const Picture &picture, bool redEye)
{
    return autoAdjusted(picture, AutoAdjustOptions{!redEye, redEye});
}

namespace service {

std::vector<FilterEntry> adjustmentFilters()
{
    std::vector<ParamInfo> curveParams{inputPicture()};
    for (int i = 0; i < 5; ++i)
        curveParams.push_back(pointParam(kCurveKeys[size_t(i)], i / 4.0, i / 4.0, "(input, output) of the curve"));
    return {
        {"CIToneCurve", "adjusts tones along a smooth curve through five points", curveParams, WorkingSpace::Encoded,
         RenderRule::OutputExtent, inputExtentOf, renderToneCurve},
        {"CIHighlightShadowAdjust",
         "lifts shadows and tones down highlights",
         {inputPicture(), numberParam("inputShadowAmount", 0, -1, 1, "positive lifts shadows"),
          numberParam("inputHighlightAmount", 1, 0, 1, "below 1 darkens highlights"),
          numberParam("inputRadius", 0, 0, 10, "neighbourhood size (not used)")},
         WorkingSpace::Encoded, RenderRule::OutputExtent, inputExtentOf, renderHighlightShadow},
    };
}

} // namespace service

} // namespace vimora
