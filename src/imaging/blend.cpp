#include "imaging/blend.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/image_service.h"
#include "imaging/image_service_families.h"

namespace vimora {

namespace {

using kernels::PixelRow;
using kernels::Region;
using kernels::RowBuffer;
using kernels::Space;

struct Rgb
{
    float r, g, b;
};

constexpr std::array<std::string_view, kBlendModeCount> kFilterNames = {
    "CIMultiplyBlendMode",   "CIScreenBlendMode",     "CIOverlayBlendMode",    "CIDarkenBlendMode",
    "CILightenBlendMode",    "CIColorDodgeBlendMode", "CIColorBurnBlendMode",  "CIHardLightBlendMode",
    "CISoftLightBlendMode",  "CIDifferenceBlendMode", "CIExclusionBlendMode",  "CIHueBlendMode",
    "CISaturationBlendMode", "CIColorBlendMode",      "CILuminosityBlendMode", "CIAdditionCompositing",
    "CIMaximumCompositing",  "CIMinimumCompositing",  "CIMultiplyCompositing",
};

constexpr bool isComponentwise(BlendMode mode) { return mode >= BlendMode::Addition; }
constexpr bool coversIntersection(BlendMode mode)
{
    return mode == BlendMode::Minimum || mode == BlendMode::MultiplyCompositing;
}

// Helpers of the non-separable modes, as the W3C compositing rules define them.
inline float lum(Rgb c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; }

inline Rgb clipColor(Rgb c)
{
    const float l = lum(c);
    const float n = std::min({c.r, c.g, c.b}), x = std::max({c.r, c.g, c.b});
    if (n < 0.0f) {
        const float k = l / (l - n);
        c = {l + (c.r - l) * k, l + (c.g - l) * k, l + (c.b - l) * k};
    }
    if (x > 1.0f) {
        const float k = (1.0f - l) / (x - l);
        c = {l + (c.r - l) * k, l + (c.g - l) * k, l + (c.b - l) * k};
    }
    return c;
}

inline Rgb setLum(Rgb c, float l)
{
    const float d = l - lum(c);
    return clipColor({c.r + d, c.g + d, c.b + d});
}

inline float sat(Rgb c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}); }

inline Rgb setSat(Rgb c, float s)
{
    float *v[3] = {&c.r, &c.g, &c.b};
    // Sort pointers so that *v[0] <= *v[1] <= *v[2].
    if (*v[0] > *v[1])
        std::swap(v[0], v[1]);
    if (*v[1] > *v[2])
        std::swap(v[1], v[2]);
    if (*v[0] > *v[1])
        std::swap(v[0], v[1]);
    if (*v[2] > *v[0]) {
        *v[1] = (*v[1] - *v[0]) * s / (*v[2] - *v[0]);
        *v[2] = s;
    } else {
        *v[1] = *v[2] = 0.0f;
    }
    *v[0] = 0.0f;
    return c;
}

inline float softLightD(float x) { return x <= 0.25f ? ((16.0f * x - 12.0f) * x + 4.0f) * x : std::sqrt(x); }

/// Bmix(Cb, Cs): the colour-mixing term of a blend mode on straight colours, the only place
/// where the blend modes differ.
inline Rgb mixTerm(BlendMode mode, Rgb b, Rgb s)
{
    auto each = [&](auto f) { return Rgb{f(b.r, s.r), f(b.g, s.g), f(b.b, s.b)}; };
    switch (mode) {
    case BlendMode::Multiply:
        return each([](float cb, float cs) { return cb * cs; });
    case BlendMode::Screen:
        return each([](float cb, float cs) { return cb + cs - cb * cs; });
    case BlendMode::Overlay:
        return each([](float cb, float cs) {
            return cb <= 0.5f ? 2.0f * cb * cs : 1.0f - 2.0f * (1.0f - cb) * (1.0f - cs);
        });
    case BlendMode::Darken:
        return each([](float cb, float cs) { return std::min(cb, cs); });
    case BlendMode::Lighten:
        return each([](float cb, float cs) { return std::max(cb, cs); });
    case BlendMode::ColorDodge:
        return each([](float cb, float cs) {
            return cb <= 0.0f ? 0.0f : cs >= 1.0f ? 1.0f : std::min(1.0f, cb / (1.0f - cs));
        });
    case BlendMode::ColorBurn:
        return each([](float cb, float cs) {
            return cb >= 1.0f ? 1.0f : cs <= 0.0f ? 0.0f : 1.0f - std::min(1.0f, (1.0f - cb) / cs);
        });
    case BlendMode::HardLight:
        return each([](float cb, float cs) {
            return cs <= 0.5f ? 2.0f * cs * cb : 1.0f - 2.0f * (1.0f - cs) * (1.0f - cb);
        });
    case BlendMode::SoftLight:
        return each([](float cb, float cs) {
            return cs <= 0.5f ? cb - (1.0f - 2.0f * cs) * cb * (1.0f - cb)
                              : cb + (2.0f * cs - 1.0f) * (softLightD(cb) - cb);
        });
    case BlendMode::Difference:
        return each([](float cb, float cs) { return std::abs(cb - cs); });
    case BlendMode::Exclusion:
        return each([](float cb, float cs) { return cb + cs - 2.0f * cb * cs; });
    case BlendMode::Hue:
        return setLum(setSat(s, sat(b)), lum(b));
    case BlendMode::Saturation:
        return setLum(setSat(b, sat(s)), lum(b));
    case BlendMode::Color:
        return setLum(s, lum(b));
    case BlendMode::Luminosity:
        return setLum(b, lum(s));
    default:
        return s;
    }
}

/// The component-wise compositing modes on premultiplied components, alpha included.
inline float componentTerm(BlendMode mode, float s, float b)
{
    switch (mode) {
    case BlendMode::Addition:
        return s + b;
    case BlendMode::Maximum:
        return std::max(s, b);
    case BlendMode::Minimum:
        return std::min(s, b);
    case BlendMode::MultiplyCompositing:
        return s * b;
    default:
        return s;
    }
}

/// Calls rowFn(PixelRow &s, const PixelRow &b) for every output row with both pictures' rows
/// decoded (straight or premultiplied linear), placed at their own extents; the result is
/// left premultiplied in s.
template <typename RowFn>
QImage twoPictureRows(const QImage &source, const QImage &backdrop, Region region, bool premultiplied,
                      RowFn &&rowFn)
{
    QImage out = kernels::makeRegionRaster(region);
    if (out.isNull())
        return {};
    const kernels::RasterRows rows(out);
    const int sourceOffset = source.height() - region.y - region.height;
    const int backdropOffset = backdrop.height() - region.y - region.height;
    parallelChunks(region.height, [&](int begin, int end) {
        RowBuffer s(region.width), b(region.width);
        for (int j = begin; j < end; ++j) {
            kernels::decodeRow(source, j + sourceOffset, region.x, Space::Linear, premultiplied, s.row);
            kernels::decodeRow(backdrop, j + backdropOffset, region.x, Space::Linear, premultiplied, b.row);
            rowFn(s.row, std::as_const(b.row));
            kernels::encodePremultipliedRow(s.row, Space::Linear, rows[j]);
        }
    });
    return out;
}

template <BlendMode mode>
QImage renderMode(const QImage &source, const QImage &backdrop, Region region)
{
    if constexpr (isComponentwise(mode)) {
        return twoPictureRows(source, backdrop, region, true, [](PixelRow &s, const PixelRow &b) {
            for (int i = 0; i < s.count; ++i) {
                s.r[i] = componentTerm(mode, s.r[i], b.r[i]);
                s.g[i] = componentTerm(mode, s.g[i], b.g[i]);
                s.b[i] = componentTerm(mode, s.b[i], b.b[i]);
                s.a[i] = componentTerm(mode, s.a[i], b.a[i]);
            }
        });
    } else {
        return twoPictureRows(source, backdrop, region, false, [](PixelRow &s, const PixelRow &b) {
            for (int i = 0; i < s.count; ++i) {
                const float as = s.a[i], ab = b.a[i];
                const Rgb cs{s.r[i], s.g[i], s.b[i]}, cb{b.r[i], b.g[i], b.b[i]};
                const Rgb mix = mixTerm(mode, cb, cs);
                // Where one picture is transparent the other shows unchanged.
                const float ks = (1.0f - ab) * as, kb = (1.0f - as) * ab, km = as * ab;
                s.r[i] = ks * cs.r + kb * cb.r + km * mix.r;
                s.g[i] = ks * cs.g + kb * cb.g + km * mix.g;
                s.b[i] = ks * cs.b + kb * cb.b + km * mix.b;
                s.a[i] = as + ab - km;
            }
        });
    }
}

using ModeRenderer = QImage (*)(const QImage &, const QImage &, Region);

template <size_t... I>
constexpr std::array<ModeRenderer, sizeof...(I)> modeRenderers(std::index_sequence<I...>)
{
    return {&renderMode<BlendMode(I)>...};
}

constexpr auto kRenderers = modeRenderers(std::make_index_sequence<kBlendModeCount>());

Extent extentOf(const QImage &image)
{
    return image.isNull() ? Extent() : Extent::ofSize(image.width(), image.height());
}

Extent modeExtent(BlendMode mode, const QImage &source, const QImage &backdrop)
{
    return coversIntersection(mode) ? extentOf(source).intersected(extentOf(backdrop))
                                    : extentOf(source).united(extentOf(backdrop));
}

template <BlendMode mode>
Extent entryExtent(const FilterArgs &args)
{
    return modeExtent(mode, args.input(), args.bitmap("inputBackgroundImage"));
}

template <BlendMode mode>
QImage entryRender(const FilterArgs &args, Region region)
{
    return renderMode<mode>(args.input(), args.bitmap("inputBackgroundImage"), region);
}

QImage renderDissolve(const QImage &source, const QImage &target, double time, Region region)
{
    const float t = float(std::clamp(time, 0.0, 1.0));
    return twoPictureRows(source, target, region, true, [t](PixelRow &s, const PixelRow &b) {
        for (int i = 0; i < s.count; ++i) {
            s.r[i] += (b.r[i] - s.r[i]) * t;
            s.g[i] += (b.g[i] - s.g[i]) * t;
            s.b[i] += (b.b[i] - s.b[i]) * t;
            s.a[i] += (b.a[i] - s.a[i]) * t;
        }
    });
}

Extent dissolveExtent(const FilterArgs &args)
{
    return extentOf(args.input()).united(extentOf(args.bitmap("inputTargetImage")));
}

QImage dissolveRender(const FilterArgs &args, Region region)
{
    return renderDissolve(args.input(), args.bitmap("inputTargetImage"), args.number("inputTime"), region);
}

template <BlendMode mode>
FilterEntry blendEntry(std::string_view description)
{
    return {kFilterNames[size_t(mode)],
            description,
            {service::pictureParam("inputImage", "the picture laid on top"),
             service::pictureParam("inputBackgroundImage", "the picture underneath")},
            WorkingSpace::Linear,
            RenderRule::OutputExtent,
            entryExtent<mode>,
            entryRender<mode>};
}

} // namespace

std::string_view blendFilterName(BlendMode mode)
{
    return kFilterNames[size_t(mode)];
}

Picture blended(BlendMode mode, const Picture &background, const Picture &image)
{
    if (image.isNull())
        return {};
    const QImage &source = image.bitmap();
    const QImage &backdrop = background.bitmap();
    const Region region = modeExtent(mode, source, backdrop).integral();
    if (region.isEmpty())
        return {};
    return Picture(kRenderers[size_t(mode)](source, backdrop, region));
}

Picture dissolved(double time, const Picture &target, const Picture &image)
{
    if (image.isNull())
        return {};
    const Region region = extentOf(image.bitmap()).united(extentOf(target.bitmap())).integral();
    if (region.isEmpty())
        return {};
    return Picture(renderDissolve(image.bitmap(), target.bitmap(), time, region));
}

namespace service {

std::vector<FilterEntry> compositingFilters()
{
    return {
        {"CIDissolveTransition",
         "cross-fades from the picture to a target picture",
         {inputPicture(), pictureParam("inputTargetImage", "the picture faded to"),
          numberParam("inputTime", 0, 0, 1, "0 the picture, 1 the target")},
         WorkingSpace::Linear, RenderRule::OutputExtent, dissolveExtent, dissolveRender},
        blendEntry<BlendMode::Multiply>("multiplies the colours: always darker"),
        blendEntry<BlendMode::Screen>("inverse multiply: always lighter"),
        blendEntry<BlendMode::Overlay>("multiplies darks and screens lights of the background"),
        blendEntry<BlendMode::Darken>("the darker of the two colours"),
        blendEntry<BlendMode::Lighten>("the lighter of the two colours"),
        blendEntry<BlendMode::ColorDodge>("brightens the background towards the picture"),
        blendEntry<BlendMode::ColorBurn>("darkens the background towards the picture"),
        blendEntry<BlendMode::HardLight>("multiplies or screens by the picture's colours"),
        blendEntry<BlendMode::SoftLight>("darkens or lightens softly by the picture's colours"),
        blendEntry<BlendMode::Difference>("the absolute difference of the colours"),
        blendEntry<BlendMode::Exclusion>("a softer difference"),
        blendEntry<BlendMode::Hue>("the picture's hue with the background's saturation and luminosity"),
        blendEntry<BlendMode::Saturation>("the picture's saturation with the background's hue and luminosity"),
        blendEntry<BlendMode::Color>("the picture's hue and saturation with the background's luminosity"),
        blendEntry<BlendMode::Luminosity>("the picture's luminosity with the background's hue and saturation"),
        blendEntry<BlendMode::Addition>("adds the components"),
        blendEntry<BlendMode::Maximum>("the larger of each component"),
        blendEntry<BlendMode::Minimum>("the smaller of each component, over the overlap"),
        blendEntry<BlendMode::MultiplyCompositing>("multiplies the components, over the overlap"),
    };
}

} // namespace service

} // namespace vimora
