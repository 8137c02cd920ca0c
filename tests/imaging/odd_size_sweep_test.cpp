// Every operation vimora-fx offers (the catalogue's filters and blends, the byte effects, the tone,
// convolution and geometry functions) on pictures of awkward shapes, at its defaults and at the
// ends of each parameter's range, one parameter at a time. Each run must give a picture of the
// size its operation states or "no picture"; the sanitizer build runs the same sweep, so a
// write past a row or a window wider than the picture shows up there.
#include <cmath>
#include <numbers>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <QTransform>

#include <gtest/gtest.h>

#include "fx_operations.h"
#include "imaging/geometry.h"
#include "imaging/image_service.h"
#include "imaging/pixel_test_support.h"

using namespace vimora;
using namespace vimora::fx;
using vimora::test::noisyRaster;

namespace {

// Thin, tall, wide, a window's size and one past the 8192 side some paths split at.
const std::vector<QSize> &shapes()
{
    static const std::vector<QSize> all = {{1, 1},  {1, 300}, {300, 1},  {2, 10000},  {3, 100},
                                           {7, 7},  {8, 300}, {17, 5},   {4097, 3},   {8193, 2}};
    return all;
}

/// Values at the ends of what a parameter of this name takes, just beyond a slider's range and
/// not a number: what a careless script or a corrupt setting would pass. (Far beyond a range
/// a glow or a blur is only slower, as large as the numbers ask.)
std::vector<double> numberExtremes(const std::string &name, const ParamInfo *info)
{
    std::vector<double> values;
    if (info && info->maximum > info->minimum)
        values = {info->minimum, info->maximum, info->minimum - 1, info->maximum + 1};
    else if (name == "factor")
        values = {0.0, 1e-4, 16.0, -1.0};
    else if (name == "gamma")
        values = {0.0, 0.01, 100.0, -2.0};
    else if (name == "sigmaSquared")
        values = {1e-6, 1e6, 0.0};
    else if (name == "deviceScale")
        values = {0.5, 4.0, 0.0};
    else
        values = {0.0, -1e4, 1e9};
    values.push_back(std::nan(""));
    return values;
}

std::vector<long long> integerExtremes(const std::string &name)
{
    if (name == "size")
        return {1, 2, 255, 256, 1023, 1024, 0, -3};
    if (name == "mode")
        return {0, 8, 9, -1};
    if (name == "sizeCode")
        return {0, 1, 2, 3, -1};
    if (name == "matrixRows" || name == "matrixCols")
        return {1, 9, 0, -1};
    if (name == "height")
        return {0, 1, 20000};
    return {0, 1, -1, 255, -255, 1 << 24, -(1 << 24), 1ll << 40};
}

std::vector<Value> extremesOf(const OperationParam &param, const ParamInfo *info, QSize shape)
{
    std::vector<Value> values;
    const double w = shape.width(), h = shape.height();
    switch (param.kind) {
    case ValueKind::Number:
        for (double v : numberExtremes(param.name, info))
            values.emplace_back(v);
        break;
    case ValueKind::Integer:
        for (long long v : integerExtremes(param.name))
            values.emplace_back(v);
        break;
    case ValueKind::Point:
        for (QPointF p : {QPointF(0, 0), QPointF(w, h), QPointF(-1e6, 1e6), QPointF(w / 2, h / 2)})
            values.emplace_back(p);
        break;
    case ValueKind::Size:
        for (QSizeF s : {QSizeF(1, 1), QSizeF(w, h), QSizeF(0, h), QSizeF(3e4, 3e4), QSizeF(-w, h)})
            values.emplace_back(s);
        break;
    case ValueKind::Rectangle:
        for (QRectF r : {QRectF(0, 0, 1, 1), QRectF(0, 0, w, h), QRectF(-1e7, -1e7, 2e7, 2e7), QRectF(1, 1, -5, 3),
                         QRectF(w, h, 10, 10)})
            values.emplace_back(r);
        break;
    case ValueKind::Transform:
        for (QTransform t : {QTransform(), QTransform::fromScale(40, 40), QTransform::fromScale(0, 1),
                             QTransform().rotate(45), QTransform(1, 0, 0, 1, 1e6, -1e6)})
            values.emplace_back(t);
        break;
    case ValueKind::Numbers:
        values.emplace_back(std::vector<double>(9, 1.0 / 9));
        values.emplace_back(std::vector<double>(25, -1.0));
        values.emplace_back(std::vector<double>(81, 1e9));
        values.emplace_back(std::vector<double>{});
        break;
    case ValueKind::Picture:
        // Another size each way without a union of two long sides, which is only slow.
        for (QSize s : {shape, QSize(1, 1), QSize(std::min(shape.height(), 64), std::min(shape.width(), 64))})
            values.emplace_back(Picture(noisyRaster(s.width(), s.height(), 11)));
        break;
    }
    return values;
}

/// What a required parameter gets while another one is varied.
std::optional<Value> requiredDefault(const OperationParam &param, QSize shape)
{
    switch (param.kind) {
    case ValueKind::Picture:
        return Value(Picture(noisyRaster(shape.width(), shape.height(), 5)));
    case ValueKind::Size:
        return Value(QSizeF(std::max(1, shape.width() / 2), std::max(1, shape.height() / 2)));
    case ValueKind::Numbers:
        return Value(std::vector<double>{0, -1, 0, -1, 5, -1, 0, -1, 0});
    default:
        return std::nullopt;
    }
}

const ParamInfo *serviceParam(const Operation &op, const std::string &key)
{
    const FilterEntry *entry = findImageFilter(op.name);
    return entry ? entry->param(key) : nullptr;
}

QSize integralSize(const Extent &extent)
{
    const kernels::Region r = extent.integral();
    return {r.width, r.height};
}

/// The size the operation states for this input and these arguments, where it states one.
std::optional<QSize> statedSize(const Operation &op, const Picture &input, const Arguments &args)
{
    const QSize in = input.bitmap().size();
    if (op.family == "tone" || op.family == "convolution" || op.family == "byte effect")
        return in;
    if (op.family == "filter" || op.family == "blend") {
        ImageFilter filter(op.name);
        filter.setValue("inputImage", input);
        for (const auto &[key, value] : args.values()) {
            if (const double *d = std::get_if<double>(&value))
                filter.setValue(key, *d);
            else if (const QPointF *p = std::get_if<QPointF>(&value))
                filter.setValue(key, *p);
            else if (const QRectF *r = std::get_if<QRectF>(&value))
                filter.setValue(key, *r);
            else if (const QTransform *t = std::get_if<QTransform>(&value))
                filter.setValue(key, *t);
            else if (const Picture *pic = std::get_if<Picture>(&value))
                filter.setValue(key, *pic);
        }
        if (filter.entry()->wrapperRule == RenderRule::InputExtent)
            return in;
        return integralSize(filter.outputExtent());
    }
    if (op.name == "verticalFlip" || op.name == "horizontalFlip" || op.name.starts_with("rotateImagePixels"))
        return in;
    if (op.name == "scaleToFitSize")
        return sizeToFit(QSizeF(in), args.size("box", {}));
    if (op.name == "rotateInRadians")
        return rotatedCanvasSize(QSizeF(in), float(args.number("radians", 0)));
    if (op.name == "rotateInDegrees")
        return rotatedCanvasSize(QSizeF(in), radiansFromDegrees(float(args.number("degrees", 0))));
    if (op.name == "scaleByFactor") {
        const double f = args.number("factor", 1);
        return QSize(std::max(1, int(unsigned(in.width() * float(f)))), std::max(1, int(unsigned(in.height() * float(f)))));
    }
    return std::nullopt; // crops and reflections: only bounded below
}

struct Run
{
    const Operation *op;
    QSize shape;
    Arguments args;
    std::string varied;
};

std::string describe(const Run &run)
{
    return run.op->name + " on " + std::to_string(run.shape.width()) + " x " + std::to_string(run.shape.height())
           + (run.varied.empty() ? std::string(" at its defaults") : " with " + run.varied);
}

void check(const Run &run)
{
    const Picture input(noisyRaster(run.shape.width(), run.shape.height(), uint32_t(run.shape.width() * 31 + run.shape.height())));
    Picture out;
    try {
        out = run.op->run(input, run.args);
    } catch (const std::runtime_error &) {
        return; // a clear refusal, with its reason
    }
    if (out.isNull())
        return; // a clear refusal
    const QSize got = out.bitmap().size();
    ASSERT_GT(got.width(), 0) << describe(run);
    ASSERT_GT(got.height(), 0) << describe(run);
    if (const std::optional<QSize> stated = statedSize(*run.op, input, run.args))
        EXPECT_EQ(got, *stated) << describe(run);
    else
        EXPECT_LE(qint64(got.width()) * got.height(), qint64(1) << 31) << describe(run);
}

class OddSizeSweep : public testing::TestWithParam<std::string>
{
};

TEST_P(OddSizeSweep, GivesItsStatedSizeOrNoPicture)
{
    const Operation *op = findOperation(GetParam());
    ASSERT_NE(op, nullptr);
    for (const QSize shape : shapes()) {
        Arguments defaults;
        for (const OperationParam &p : op->params)
            if (p.required)
                if (const std::optional<Value> v = requiredDefault(p, shape))
                    defaults.set(p.name, *v);
        check({op, shape, defaults, {}});
        for (const OperationParam &p : op->params) {
            const ParamInfo *info = serviceParam(*op, p.name);
            for (const Value &v : extremesOf(p, info, shape)) {
                Arguments args = defaults;
                args.set(p.name, v);
                std::string text = p.name;
                if (const double *d = std::get_if<double>(&v))
                    text += "=" + std::to_string(*d);
                else if (const long long *i = std::get_if<long long>(&v))
                    text += "=" + std::to_string(*i);
                else
                    text += " (an extreme " + kindName(p.kind).toStdString() + ")";
                check({op, shape, args, text});
                if (testing::Test::HasFatalFailure())
                    return;
            }
        }
    }
}

std::vector<std::string> operationNames()
{
    std::vector<std::string> names;
    for (const Operation &op : operations())
        names.push_back(op.name);
    return names;
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, OddSizeSweep, testing::ValuesIn(operationNames()),
                         [](const testing::TestParamInfo<std::string> &info) { return info.param; });

TEST(OddSizeSweep, CoversEveryFamily)
{
    std::set<std::string> families;
    for (const Operation &op : operations())
        families.insert(op.family);
    EXPECT_EQ(families, (std::set<std::string>{"filter", "blend", "byte effect", "tone", "convolution", "geometry", "segmentation"}));
}

} // namespace
