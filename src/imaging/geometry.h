#pragma once

// Geometry: crop, scale, fit, rotate, flip and reflection.
//
// Rules for every function here:
// - A null picture gives a null picture, and so does a result that would have no pixels
//   (a side of 0, a negative or non-finite size or factor) or more than the picture limits
//   (picture.h): sizeToFit and rotatedCanvasSize then give an empty size.
// - Sizes are in points; a picture works at its size in points truncated to whole pixels,
//   taken as shown (orientation applied). Results are upright at scale 1 unless a function
//   says otherwise. Origin top-left, y down.
// - Resampling is bicubic for scaling and bilinear for rotation, on premultiplied samples;
//   areas the picture does not cover stay transparent.
//
//   source   verticalFlip   horizontalFlip   rotate 90 (counter-clockwise)
//    A B        C D             B A              B D
//    C D        A B             D C              A C

#include <QRect>
#include <QSize>
#include <QSizeF>

#include "imaging/picture.h"

namespace vimora {

/// Crop placements for cropToSize.
enum CropMode : int {
    kCropTopLeft = 0,
    kCropTopCentre = 1,
    kCropTopRight = 2,
    kCropBottomLeft = 3,
    kCropBottomCentre = 4,
    kCropBottomRight = 5,
    kCropLeftCentre = 6,
    kCropRightCentre = 7,
    kCropCentre = 8,
};

/// The degree-to-radian constant the rotations use (not the exact pi / 180).
inline constexpr double kRadiansPerDegree = 0.017453293;
/// degrees x kRadiansPerDegree in double precision, rounded to single.
inline float radiansFromDegrees(float degrees)
{
    return float(double(degrees) * kRadiansPerDegree);
}

/// The top-left corner of a w x h crop of a picture of size W x H in the given placement
/// (any mode other than 1..8 is top-left).
QPointF cropOrigin(QSizeF pictureSize, QSizeF cropSize, int mode);

/// The part of the picture in the placed rectangle, widened to whole pixels and cut to the
/// picture. Keeps the source's scale and orientation.
Picture cropToSize(const Picture &picture, QSizeF size, int mode);
Picture cropToSize(const Picture &picture, QSizeF size);

/// The picture scaled by factor: (unsigned)(W x factor) x (unsigned)(H x factor) pixels, at
/// least one each way.
Picture scaleByFactor(const Picture &picture, float factor);

/// The size, keeping the aspect ratio of the picture's whole-point size, that fits inside box;
/// small pictures are scaled up to it, and a side never shrinks below one pixel. Empty when the
/// picture is smaller than one point or the box is empty.
QSize sizeToFit(QSizeF pictureSize, QSizeF box);
/// The picture scaled to sizeToFit(size(), box).
Picture scaleToFitSize(const Picture &picture, QSizeF box);

/// The canvas of rotateInRadians: the bounding box of (0, 0, W, H) rotated, sides truncated.
QSize rotatedCanvasSize(QSizeF pictureSize, float radians);
/// The picture turned counter-clockwise by radians (clockwise when negative) on a canvas grown
/// to its rotated bounds.
Picture rotateInRadians(const Picture &picture, float radians);
Picture rotateInDegrees(const Picture &picture, float degrees);
/// The picture turned counter-clockwise by radians about its centre on a canvas of its own
/// size; corners turned off the canvas are lost.
Picture rotateImagePixelsInRadians(const Picture &picture, float radians);
Picture rotateImagePixelsInDegrees(const Picture &picture, float degrees);

/// Mirrored top to bottom.
Picture verticalFlip(const Picture &picture);
/// Mirrored left to right.
Picture horizontalFlip(const Picture &picture);

/// The picture's bottom height points mirrored (its last row on top) and faded: coverage runs
/// from fromAlpha at the top row to toAlpha at the bottom row as the shared gradient mask
/// (ZELCreateGradientImage) gives it. The result has the picture's width and is made at
/// deviceScale (the screen's). Null for a height of 0.
Picture reflectedImageWithHeight(const Picture &picture, unsigned height, float fromAlpha, float toAlpha,
                                 double deviceScale = 1.0);

} // namespace vimora
