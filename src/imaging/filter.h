#pragma once

// The filter catalogue: the one-picture effects the editor, the compositor and the text overlay
// apply. Every method returns a new picture at scale 1, upright, leaves its inputs untouched and
// gives no picture for no picture.
// - Byte effects work on the stored premultiplied samples of the picture's raw bitmap (its
//   orientation tag is ignored) with the arithmetic each states, on red, green and blue; alpha
//   stays. Nothing is divided by alpha, so colours may end above their alpha.
// - Wrappers run one filter of our image service (image_service.h) by its catalogue name,
//   the arguments set in the order listed. Points and rectangles are in image space: pixels,
//   origin at the bottom-left, y up; angles in radians. The result is the output rendered over
//   its extent: the input's size for colour filters, the crop rectangle, the transformed bounds,
//   larger for bloom; no picture when the filter yields no output.

#include <QTransform>
#include <QVariant>

#include "imaging/picture.h"

namespace vimora {

class Filter
{
public:
    // --- byte effects ---

    /// v <= 0: c + trunc(c v); v > 0: c + trunc((255 - c) v), single precision; v is meant to
    /// lie in -1..1 (results are kept within 0..255 for any v).
    Picture doImageStuff(float v, const Picture &image) const;
    /// The picture as an opaque gray plane of its size in points; transparent areas turn black.
    Picture imageProcess(const Picture &image) const;
    /// clamp((c - 128) k + 128).
    Picture contrast(int k, const Picture &processImg) const;
    /// clamp(trunc((c - 128) k / 0.1 + 128)), double precision.
    Picture contrast2(int k, const Picture &processImg) const;
    /// clamp((c - 128) k / 100 + 128), the division truncating toward zero.
    Picture contrast9(const Picture &image, int number) const;
    /// Pure white pixels stay; every other pixel turns black (alpha kept). number is not used.
    Picture contrast10(const Picture &image, int number) const;
    /// All three samples become trunc(0.3 red + 0.59 green + 0.11 blue), double precision.
    Picture fixImage(const Picture &image) const;

    // --- image service wrappers ---

    Picture filterExp(float ev, const Picture &image) const;
    /// "CINoiseReduction" with noise level 0.2, rendered over the input's extent; the first two
    /// arguments are not used.
    Picture filterNoise(const QVariant &unused, float unusedLevel, const Picture &image) const;
    Picture filterHue(float angle, const Picture &image) const;
    Picture filterVibrance(float amount, const Picture &image) const;
    Picture filterPixellate(float scale, const Picture &image) const;
    Picture filterTwirl(float angle, float pointX, float pointY, float radiusLa, const Picture &image) const;
    Picture filterPinchDistortion(float scale, float pointX, float pointY, float radiusLa,
                                  const Picture &image) const;
    /// The first argument is not used.
    Picture filterHoleDistortion(float unused, float pointX, float pointY, float radiusLa,
                                 const Picture &image) const;
    Picture filterVortexDistortion(float angle, float pointX, float pointY, float radiusLa,
                                   const Picture &image) const;
    /// Rendered over the input's extent (its output has no bounds); the first argument is not used.
    Picture filterCircleSplashDistortion(float unused, float pointX, float pointY, float radiusLa,
                                         const Picture &image) const;
    Picture filterBumpDistortion(float scale, float pointX, float pointY, float radiusLa,
                                 const Picture &image) const;
    /// pointX and pointY are not used; the result is larger than the input by the glow.
    Picture filterBloom(float intensity, float pointX, float pointY, float radiusLa, const Picture &image) const;
    Picture filterDotScreen(float angle, float pointX, float pointY, float radiusLa, float sharpen,
                            const Picture &image) const;
    /// The first argument is not used.
    Picture filterCircularScreen(float unused, float pointX, float pointY, float radiusLa, float sharpen,
                                 const Picture &image) const;
    Picture filterHatchedScreen(float angle, float pointX, float pointY, float radiusLa, float sharpen,
                                const Picture &image) const;
    Picture filterLineScreen(float angle, float pointX, float pointY, float radiusLa, float sharpen,
                             const Picture &image) const;
    Picture filterSepiaTone(float intensity, const Picture &image) const;
    /// Corner points top-left, top-right, bottom-right, bottom-left.
    Picture filterPerspectiveTransform(float pointX1, float pointY1, float pointX2, float pointY2, float pointX3,
                                       float pointY3, float pointX4, float pointY4, const Picture &image) const;
    /// Rendered over the input's extent (its output tiles the plane).
    Picture filterTriangleKaleidoscope(float rotation, float pointX, float pointY, float radiusLa, float sharpen,
                                       const Picture &image) const;
    Picture filterVignette(float radius, float sharpen, const Picture &image) const;
    /// transform: a, b, c, d, tx, ty as QTransform m11, m12, m21, m22, dx, dy.
    Picture filterAffineTransform(const QTransform &transform, const Picture &image) const;
    /// The part of the picture inside the rectangle (bottom-left corner x, y).
    Picture filterCrop(float pointX, float pointY, float width, float height, const Picture &image) const;
    Picture filterMaskToAlpha(const Picture &image) const;
    Picture filterColorPosterize(float levels, const Picture &image) const;
    Picture filterGammaAdjust(float power, const Picture &image) const;
    Picture filterColorControls(float saturation, float brightness, float contrast, const Picture &image) const;
    /// Cross-fade from image (time 0) to tarImage (time 1).
    Picture filterDissolveTransition(float time, const Picture &tarImage, const Picture &image) const;
};

} // namespace vimora
