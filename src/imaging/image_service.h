#pragma once

// Our image service: the named picture filters behind the filter catalogue, the blend modes and
// the tone filters' service path, looked up by name with named parameter keys
// ("CIBumpDistortion", "inputScale"), built from the kernels of kernels.h. For every filter:
// - Parameters live in image space: pixels, origin at the bottom-left, y up; a W x H input
//   covers (0, 0, W, H), so the point (x, y) is the raster point (x, H - y). Angles are radians.
// - Pictures enter as their raw bitmaps (scale and orientation tags ignored); results are
//   pictures at scale 1, upright. Inputs are never changed.
// - Each filter has an output extent. Rendering copies the rectangle rounded outward to whole
//   pixels; an empty or infinite rectangle, or a missing input picture, gives no picture.
// - Unset parameters take the defaults of the catalogue table; numbers outside the slider range
//   are accepted (the range is what panels offer).

#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <QPointF>
#include <QRectF>
#include <QTransform>

#include "imaging/kernels.h"
#include "imaging/picture.h"

namespace vimora {

/// A rectangle of image space (y up), or the whole plane.
struct Extent
{
    double x = 0, y = 0, width = 0, height = 0;
    bool infinite = false;

    static Extent ofSize(int width, int height) { return {0, 0, double(width), double(height), false}; }
    static Extent plane() { return {0, 0, 0, 0, true}; }
    bool isEmpty() const { return !infinite && !(width > 0 && height > 0); }
    Extent united(const Extent &other) const;
    Extent intersected(const Extent &other) const;
    Extent grown(double margin) const;
    /// Rounded outward to whole pixels (coordinates within 1e-6 of an integer count as it, so
    /// transforms built from trigonometry land on whole pixels). Empty when empty or infinite.
    kernels::Region integral() const;
    bool operator==(const Extent &) const = default;
};

enum class ParamKind { Number, Point, Rectangle, Transform, Image };

/// A parameter value: number, point (x, y), rectangle (x, y, width, height; bottom-left corner),
/// affine transform (a, b, c, d, tx, ty as QTransform m11, m12, m21, m22, dx, dy) or picture.
using ParamValue = std::variant<double, QPointF, QRectF, QTransform, Picture>;

struct ParamInfo
{
    std::string_view key;
    ParamKind kind = ParamKind::Number;
    /// Default: the number, point or rectangle in its first components; transforms default to
    /// the identity and pictures to none.
    std::array<double, 4> fallback{};
    double minimum = 0, maximum = 0; ///< slider range of a number
    std::string_view description;
};

/// How a filter's values are worked: in linear light, on sRGB-encoded values, or as bytes.
enum class WorkingSpace { Linear, Encoded, Bytes };

/// Which rectangle the catalogue's wrapper renders: the output's extent, or the input's.
enum class RenderRule { OutputExtent, InputExtent };

class FilterArgs;

struct FilterEntry
{
    std::string_view name;
    std::string_view description;
    std::vector<ParamInfo> params; ///< pictures first, "inputImage" leading
    WorkingSpace space = WorkingSpace::Linear;
    RenderRule wrapperRule = RenderRule::OutputExtent;
    Extent (*extent)(const FilterArgs &) = nullptr;
    /// Renders a region of the output; only called with a non-empty region and an input.
    QImage (*render)(const FilterArgs &, kernels::Region) = nullptr;

    const ParamInfo *param(std::string_view key) const;
};

/// The values of one filter's parameters, defaults included.
class FilterArgs
{
public:
    double number(std::string_view key) const;
    QPointF point(std::string_view key) const;
    QRectF rectangle(std::string_view key) const;
    QTransform transform(std::string_view key) const;
    /// The bitmap of a picture parameter (null when unset).
    const QImage &bitmap(std::string_view key) const;
    const QImage &input() const { return bitmap("inputImage"); }
    /// The extent of the input picture; empty without one.
    Extent inputExtent() const;

    const ParamValue *find(std::string_view key) const;
    void set(std::string_view key, ParamValue value);

private:
    std::vector<std::pair<std::string, ParamValue>> m_values;
};

/// One named filter with its parameters: made by name, then given values key by key.
class ImageFilter
{
public:
    ImageFilter() = default;
    /// Invalid for an unknown name.
    explicit ImageFilter(std::string_view name);

    bool isValid() const { return m_entry != nullptr; }
    const FilterEntry *entry() const { return m_entry; }
    /// False (and nothing set) for an unknown key or a value of the wrong kind.
    bool setValue(std::string_view key, ParamValue value);
    const FilterArgs &args() const { return m_args; }

    Extent outputExtent() const;
    /// The output over a rectangle, rounded outward to whole pixels.
    Picture render(const Extent &rect) const;
    /// The output over its own extent: no picture when that is empty or infinite.
    Picture renderOutput() const { return render(outputExtent()); }
    /// The output as the catalogue's wrapper renders it (its RenderRule).
    Picture renderForWrapper() const;

private:
    const FilterEntry *m_entry = nullptr;
    FilterArgs m_args;
};

/// Every named filter of the service, in catalogue order.
const std::vector<FilterEntry> &imageServiceCatalogue();
const FilterEntry *findImageFilter(std::string_view name);

/// Runs one filter on a picture with the given parameters, rendered as the catalogue's wrapper
/// renders it. No picture for an unknown name or key, which also stops a debug build and is
/// logged once in release; no picture, quietly, for a number that is not finite.
Picture applyImageFilter(std::string_view name, const Picture &image,
                         std::initializer_list<std::pair<std::string_view, ParamValue>> params = {});

// --- automatic adjustment -----------------------------------------------------------------

struct AutoAdjustOptions
{
    bool enhance = true;
    bool redEye = true;
};

/// The picture's automatic adjustment filters in the order to chain them, parameters set but
/// no input picture: vibrance, a tone curve and a shadow lift where the picture's histogram
/// asks for them. Red eye yields nothing: without face detection there is nothing to repair.
std::vector<ImageFilter> autoAdjustmentFilters(const Picture &image, AutoAdjustOptions options);

/// Chains the picture's automatic adjustment filters and renders the last output over its
/// extent; the picture itself (same bytes, scale 1, upright) when the list is empty.
Picture autoAdjusted(const Picture &image, AutoAdjustOptions options);

} // namespace vimora
