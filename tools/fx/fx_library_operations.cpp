// The tone, convolution and geometry functions of src/imaging under their function names, and
// the smart cut.
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "fx_operations.h"
#include "imaging/convolution.h"
#include "imaging/geometry.h"
#include "imaging/subject_cut.h"
#include "imaging/tone.h"

namespace vimora::fx {

namespace {

OperationParam number(const char *name, const char *fallback, const char *description)
{
    return {name, ValueKind::Number, fallback, false, description};
}

OperationParam integer(const char *name, const char *fallback, const char *description)
{
    return {name, ValueKind::Integer, fallback, false, description};
}

OperationParam requiredSize(const char *name, const char *description)
{
    return {name, ValueKind::Size, "", true, description};
}

float numberOf(const Arguments &a, const char *name, double fallback)
{
    return float(a.number(name, fallback));
}

int integerOf(const Arguments &a, const char *name, long long fallback)
{
    return int(std::clamp<long long>(a.integer(name, fallback), -(1ll << 30), 1ll << 30));
}

/// An operation of one picture and no parameters.
Operation plain(const char *name, const char *family, const char *description, Picture (*fn)(const Picture &))
{
    return {name, family, description, {}, [fn](const Picture &p, const Arguments &) { return fn(p); }};
}

std::vector<Operation> toneOperations()
{
    auto bias = [](const char *name, const char *description, Picture (*fn)(const Picture &, int)) {
        return Operation{name, "tone", description, {integer("bias", "0", "added before the division")},
                         [fn](const Picture &p, const Arguments &a) { return fn(p, integerOf(a, "bias", 0)); }};
    };
    return {
        {"brightenWithValue", "tone", "adds value to every colour sample", {number("value", "0", "-255..255")},
         [](const Picture &p, const Arguments &a) { return brightenWithValue(p, numberOf(a, "value", 0)); }},
        {"contrastAdjustmentWithValue", "tone", "contrast about 128", {number("value", "0", "about -255..255")},
         [](const Picture &p, const Arguments &a) { return contrastAdjustmentWithValue(p, numberOf(a, "value", 0)); }},
        {"gammaCorrectionWithValue", "tone", "255 (x / 255) ^ gamma", {number("gamma", "1", "exponent")},
         [](const Picture &p, const Arguments &a) { return gammaCorrectionWithValue(p, numberOf(a, "gamma", 1)); }},
        plain("grayscale", "tone", "opaque gray over black", grayscale),
        plain("invert", "tone", "255 - x on the colour samples", invert),
        {"opacity", "tone", "every sample times value", {number("value", "1", "0..1")},
         [](const Picture &p, const Arguments &a) { return opacity(p, numberOf(a, "value", 1)); }},
        plain("sepia", "tone", "sepia tone through the image service", sepia),
        plain("sepiaMatrix", "tone", "the sepia matrix", sepiaMatrix),
        bias("edgeDetectionWithBias", "edge kernel on the colour channels (bias unused)", edgeDetectionWithBias),
        bias("embossWithBias", "integer emboss of all four channels", embossWithBias),
        bias("sharpenWithBias", "integer sharpen of all four channels", sharpenWithBias),
        bias("unsharpenWithBias", "integer unsharpen of all four channels", unsharpenWithBias),
        bias("gaussianBlurWithBias", "integer 5 x 5 Gaussian of all four channels", gaussianBlurWithBias),
        plain("autoEnhance", "tone", "automatic enhancement", autoEnhance),
        plain("redEyeCorrection", "tone", "automatic red-eye repair", redEyeCorrection),
    };
}

std::vector<Operation> convolutionOperations()
{
    auto gaussianOfSize = [](const char *name, const char *description,
                             Picture (*fn)(const Picture &, int, float)) {
        return Operation{name,
                         "convolution",
                         description,
                         {integer("size", "5", "kernel side"), number("sigmaSquared", "1", "spread")},
                         [fn](const Picture &p, const Arguments &a) {
                             return fn(p, integerOf(a, "size", 5), numberOf(a, "sigmaSquared", 1));
                         }};
    };
    return {
        {"imageByApplyingMatrix",
         "convolution",
         "any kernel over the colour channels",
         {{"kernel", ValueKind::Numbers, "", true, "weights row by row"},
          integer("sizeCode", "0", "0 3x3, 1 5x5, 2 matrixRows x matrixCols"), integer("matrixRows", "0", "rows"),
          integer("matrixCols", "0", "columns"), integer("clipValues", "0", "1 clamps to 0..255")},
         [](const Picture &p, const Arguments &a) {
             const std::vector<double> values = a.numbers("kernel");
             const std::vector<float> kernel(values.begin(), values.end());
             return imageByApplyingMatrix(p, kernel, integerOf(a, "sizeCode", 0), integerOf(a, "matrixRows", 0),
                                          integerOf(a, "matrixCols", 0), a.integer("clipValues", 0) != 0);
         }},
        plain("imageByApplyingGaussianBlur3x3", "convolution", "3 x 3 Gaussian", imageByApplyingGaussianBlur3x3),
        plain("imageByApplyingGaussianBlur5x5", "convolution", "5 x 5 Gaussian", imageByApplyingGaussianBlur5x5),
        plain("imageByApplyingBoxBlur3x3", "convolution", "3 x 3 box blur", imageByApplyingBoxBlur3x3),
        plain("imageByApplyingSharpen3x3", "convolution", "3 x 3 sharpen", imageByApplyingSharpen3x3),
        plain("imageByApplyingEmboss3x3", "convolution", "3 x 3 emboss", imageByApplyingEmboss3x3),
        plain("imageByApplyingDiagonalMotionBlur5x5", "convolution", "5 x 5 diagonal motion blur",
              imageByApplyingDiagonalMotionBlur5x5),
        gaussianOfSize("imageByApplyingOnePassGaussianBlurOfSize", "one n x n Gaussian pass",
                       imageByApplyingOnePassGaussianBlurOfSize),
        gaussianOfSize("imageByApplyingGaussianBlurOfSize", "separable n-tap Gaussian",
                       imageByApplyingGaussianBlurOfSize),
    };
}

std::vector<Operation> geometryOperations()
{
    auto turn = [](const char *name, const char *param, const char *description,
                   Picture (*fn)(const Picture &, float)) {
        return Operation{name, "geometry", description, {number(param, "0", "counter-clockwise")},
                         [fn, param](const Picture &p, const Arguments &a) { return fn(p, numberOf(a, param, 0)); }};
    };
    return {
        {"cropToSize",
         "geometry",
         "the part of the picture in a placed rectangle",
         {requiredSize("size", "crop size in points"), integer("mode", "0", "placement 0..8")},
         [](const Picture &p, const Arguments &a) {
             return cropToSize(p, a.size("size", {}), integerOf(a, "mode", 0));
         }},
        {"scaleByFactor", "geometry", "the picture scaled by a factor", {number("factor", "1", "scale factor")},
         [](const Picture &p, const Arguments &a) { return scaleByFactor(p, numberOf(a, "factor", 1)); }},
        {"scaleToFitSize", "geometry", "scaled to fit a box, keeping the aspect ratio",
         {requiredSize("box", "box in points")},
         [](const Picture &p, const Arguments &a) { return scaleToFitSize(p, a.size("box", {})); }},
        turn("rotateInRadians", "radians", "turned on a grown canvas", rotateInRadians),
        turn("rotateInDegrees", "degrees", "turned on a grown canvas", rotateInDegrees),
        turn("rotateImagePixelsInRadians", "radians", "turned on its own canvas", rotateImagePixelsInRadians),
        turn("rotateImagePixelsInDegrees", "degrees", "turned on its own canvas", rotateImagePixelsInDegrees),
        plain("verticalFlip", "geometry", "mirrored top to bottom", verticalFlip),
        plain("horizontalFlip", "geometry", "mirrored left to right", horizontalFlip),
        {"reflectedImageWithHeight",
         "geometry",
         "the bottom rows mirrored and faded",
         {integer("height", "0", "rows in points"), number("fromAlpha", "1", "coverage at the top"),
          number("toAlpha", "0", "coverage at the bottom"), number("deviceScale", "1", "screen scale")},
         [](const Picture &p, const Arguments &a) {
             return reflectedImageWithHeight(p, unsigned(std::max(0, integerOf(a, "height", 0))),
                                             numberOf(a, "fromAlpha", 1), numberOf(a, "toAlpha", 0),
                                             a.number("deviceScale", 1));
         }},
    };
}

std::vector<Operation> segmentationOperations()
{
    return {
        {"smartCut",
         "segmentation",
         "the subject inside a rectangle, transparent around it (fails when none stands apart)",
         {{"rect", ValueKind::Rectangle, "", true, "rectangle around the subject, in pixels"}},
         [](const Picture &p, const Arguments &a) {
             const Value *value = a.find("rect");
             const QRectF rect = value ? std::get<QRectF>(*value) : QRectF();
             const QImage photo = p.uprightBitmap();
             const SubjectCut cut = SubjectCut::find(photo, rect.toAlignedRect());
             if (!cut.found())
                 throw std::runtime_error("no subject found in the rectangle");
             return shapedPiece(photo, cut);
         }},
    };
}

} // namespace

std::vector<Operation> libraryOperations()
{
    std::vector<Operation> all = toneOperations();
    for (auto family : {convolutionOperations, geometryOperations, segmentationOperations})
        for (Operation &op : family())
            all.push_back(std::move(op));
    return all;
}

} // namespace vimora::fx
