#include "imaging/image_service.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <set>
#include <string>

#include <QtGlobal>

#include "imaging/image_service_families.h"

namespace vimora {

namespace {

/// Snaps values that miss an integer only by arithmetic noise.
double snapped(double v)
{
    const double r = std::round(v);
    return std::abs(v - r) < 1e-6 ? r : v;
}

/// A caller naming a filter or parameter the catalogue lacks is a mistake in our code, not in
/// the user's input: it stops a debug build at once and is logged once per mistake in release,
/// so a missing picture never goes unexplained.
void reportWrongCall(std::string_view name, std::string_view key)
{
    const std::string what = key.empty() ? "unknown image filter " + std::string(name)
                                         : "image filter " + std::string(name) + " has no parameter " + std::string(key)
                                               + " of that kind";
    Q_ASSERT_X(false, "applyImageFilter", what.c_str());
    static std::mutex mutex;
    static std::set<std::string> reported;
    const std::lock_guard lock(mutex);
    if (reported.insert(what).second)
        qWarning("%s", what.c_str());
}

bool isNonFiniteNumber(const ParamValue &value)
{
    const double *n = std::get_if<double>(&value);
    return n && !std::isfinite(*n);
}

} // namespace

Extent Extent::united(const Extent &other) const
{
    if (infinite || other.infinite)
        return plane();
    if (isEmpty())
        return other;
    if (other.isEmpty())
        return *this;
    const double x0 = std::min(x, other.x), y0 = std::min(y, other.y);
    const double x1 = std::max(x + width, other.x + other.width), y1 = std::max(y + height, other.y + other.height);
    return {x0, y0, x1 - x0, y1 - y0, false};
}

Extent Extent::intersected(const Extent &other) const
{
    if (infinite)
        return other;
    if (other.infinite)
        return *this;
    const double x0 = std::max(x, other.x), y0 = std::max(y, other.y);
    const double x1 = std::min(x + width, other.x + other.width), y1 = std::min(y + height, other.y + other.height);
    if (!(x1 > x0 && y1 > y0))
        return {};
    return {x0, y0, x1 - x0, y1 - y0, false};
}

Extent Extent::grown(double margin) const
{
    if (infinite || isEmpty())
        return *this;
    return {x - margin, y - margin, width + 2 * margin, height + 2 * margin, false};
}

kernels::Region Extent::integral() const
{
    if (infinite || isEmpty())
        return {};
    const double x0 = std::floor(snapped(x)), y0 = std::floor(snapped(y));
    const double x1 = std::ceil(snapped(x + width)), y1 = std::ceil(snapped(y + height));
    constexpr double kLimit = double(kernels::kMaxSide) * 64;
    if (!(std::abs(x0) < kLimit && std::abs(y0) < kLimit && x1 - x0 <= kernels::kMaxSide
          && y1 - y0 <= kernels::kMaxSide))
        return {};
    return {int(x0), int(y0), int(x1 - x0), int(y1 - y0)};
}

const ParamInfo *FilterEntry::param(std::string_view key) const
{
    for (const ParamInfo &p : params)
        if (p.key == key)
            return &p;
    return nullptr;
}

// --- FilterArgs ---------------------------------------------------------------------------

const ParamValue *FilterArgs::find(std::string_view key) const
{
    for (const auto &[k, v] : m_values)
        if (k == key)
            return &v;
    return nullptr;
}

void FilterArgs::set(std::string_view key, ParamValue value)
{
    for (auto &[k, v] : m_values)
        if (k == key) {
            v = std::move(value);
            return;
        }
    m_values.emplace_back(std::string(key), std::move(value));
}

double FilterArgs::number(std::string_view key) const
{
    const ParamValue *v = find(key);
    const double *n = v ? std::get_if<double>(v) : nullptr;
    return n ? *n : 0.0;
}

QPointF FilterArgs::point(std::string_view key) const
{
    const ParamValue *v = find(key);
    const QPointF *p = v ? std::get_if<QPointF>(v) : nullptr;
    return p ? *p : QPointF();
}

QRectF FilterArgs::rectangle(std::string_view key) const
{
    const ParamValue *v = find(key);
    const QRectF *r = v ? std::get_if<QRectF>(v) : nullptr;
    return r ? *r : QRectF();
}

QTransform FilterArgs::transform(std::string_view key) const
{
    const ParamValue *v = find(key);
    const QTransform *t = v ? std::get_if<QTransform>(v) : nullptr;
    return t ? *t : QTransform();
}

const QImage &FilterArgs::bitmap(std::string_view key) const
{
    static const QImage none;
    const ParamValue *v = find(key);
    const Picture *p = v ? std::get_if<Picture>(v) : nullptr;
    return p ? p->bitmap() : none;
}

Extent FilterArgs::inputExtent() const
{
    const QImage &image = input();
    return image.isNull() ? Extent() : Extent::ofSize(image.width(), image.height());
}

// --- ImageFilter --------------------------------------------------------------------------

namespace {

bool kindMatches(ParamKind kind, const ParamValue &value)
{
    switch (kind) {
    case ParamKind::Number:
        return std::holds_alternative<double>(value);
    case ParamKind::Point:
        return std::holds_alternative<QPointF>(value);
    case ParamKind::Rectangle:
        return std::holds_alternative<QRectF>(value);
    case ParamKind::Transform:
        return std::holds_alternative<QTransform>(value);
    case ParamKind::Image:
        return std::holds_alternative<Picture>(value);
    }
    return false;
}

ParamValue fallbackValue(const ParamInfo &p)
{
    switch (p.kind) {
    case ParamKind::Number:
        return p.fallback[0];
    case ParamKind::Point:
        return QPointF(p.fallback[0], p.fallback[1]);
    case ParamKind::Rectangle:
        return QRectF(p.fallback[0], p.fallback[1], p.fallback[2], p.fallback[3]);
    case ParamKind::Transform:
        return QTransform();
    case ParamKind::Image:
        return Picture();
    }
    return 0.0;
}

} // namespace

ImageFilter::ImageFilter(std::string_view name)
    : m_entry(findImageFilter(name))
{
    if (!m_entry)
        return;
    for (const ParamInfo &p : m_entry->params)
        m_args.set(p.key, fallbackValue(p));
}

bool ImageFilter::setValue(std::string_view key, ParamValue value)
{
    if (!m_entry)
        return false;
    const ParamInfo *p = m_entry->param(key);
    if (!p || !kindMatches(p->kind, value))
        return false;
    if (const double *n = std::get_if<double>(&value); n && !std::isfinite(*n))
        return false;
    m_args.set(key, std::move(value));
    return true;
}

Extent ImageFilter::outputExtent() const
{
    if (!m_entry || m_args.input().isNull())
        return {};
    return m_entry->extent(m_args);
}

Picture ImageFilter::render(const Extent &rect) const
{
    if (!m_entry || m_args.input().isNull())
        return {};
    const kernels::Region region = rect.integral();
    if (region.isEmpty())
        return {};
    return Picture(m_entry->render(m_args, region));
}

Picture ImageFilter::renderForWrapper() const
{
    if (!m_entry)
        return {};
    return render(m_entry->wrapperRule == RenderRule::InputExtent ? m_args.inputExtent() : outputExtent());
}

const std::vector<FilterEntry> &imageServiceCatalogue()
{
    static const std::vector<FilterEntry> catalogue = [] {
        std::vector<FilterEntry> all;
        for (auto family : {service::colourFilters, service::stylizeFilters, service::warpFilters,
                            service::compositingFilters, service::adjustmentFilters})
            for (FilterEntry &entry : family())
                all.push_back(std::move(entry));
        return all;
    }();
    return catalogue;
}

const FilterEntry *findImageFilter(std::string_view name)
{
    for (const FilterEntry &entry : imageServiceCatalogue())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

Picture applyImageFilter(std::string_view name, const Picture &image,
                         std::initializer_list<std::pair<std::string_view, ParamValue>> params)
{
    ImageFilter filter(name);
    if (!filter.isValid()) {
        reportWrongCall(name, {});
        return {};
    }
    if (!filter.setValue("inputImage", image))
        return {};
    for (const auto &[key, value] : params) {
        if (filter.setValue(key, value))
            continue;
        // A value out of reach (NaN, infinity) comes from the user's input and just gives no picture.
        if (!isNonFiniteNumber(value))
            reportWrongCall(name, key);
        return {};
    }
    return filter.renderForWrapper();
}

// --- shared helpers -----------------------------------------------------------------------

namespace service {

QImage inputOverRegion(const QImage &input, kernels::Region region)
{
    if (input.isNull())
        return {};
    if (region == kernels::regionOf(input))
        return input;
    QImage out = kernels::makeRegionRaster(region);
    if (out.isNull())
        return {};
    out.fill(0);
    // Output row j faces input row j + rowOffset; output column i faces input column i + x.
    const int rowOffset = input.height() - region.y - region.height;
    const int first = std::clamp(-region.x, 0, region.width);
    const int last = std::clamp(input.width() - region.x, first, region.width);
    if (last <= first)
        return out;
    for (int j = 0; j < region.height; ++j) {
        const int row = j + rowOffset;
        if (row < 0 || row >= input.height())
            continue;
        std::memcpy(reinterpret_cast<QRgb *>(out.scanLine(j)) + first,
                    reinterpret_cast<const QRgb *>(input.constScanLine(row)) + region.x + first,
                    size_t(last - first) * sizeof(QRgb));
    }
    return out;
}

QImage applyChannelTable(const QImage &input, kernels::Region region, const std::vector<uint8_t> &table)
{
    const QImage src = inputOverRegion(input, region);
    if (src.isNull())
        return {};
    QImage out = kernels::makeRegionRaster(region);
    if (out.isNull())
        return {};
    const uint8_t *t = table.data();
    const kernels::RasterRows rows(out);
    parallelChunks(src.height(), [&](int begin, int end) {
        for (int j = begin; j < end; ++j) {
            const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(j));
            QRgb *o = rows[j];
            for (int i = 0; i < src.width(); ++i) {
                const uint32_t p = in[i];
                const uint32_t base = (p >> 16) & 0xff00;
                o[i] = (p & 0xff000000u) | uint32_t(t[base | ((p >> 16) & 0xff)]) << 16
                    | uint32_t(t[base | ((p >> 8) & 0xff)]) << 8 | t[base | (p & 0xff)];
            }
        }
    });
    return out;
}

} // namespace service

} // namespace vimora
