#pragma once

// Affine maps in the toolkit's convention: a point is a row vector multiplied on the left,
// so (x, y) goes to (a·x + c·y + tx, b·x + d·y + ty), and concat(t1, t2) applies t1 first.
// Angles are radians; a positive angle turns clockwise on screen (y grows downwards).

#include <QPointF>
#include <QTransform>

namespace vimora::ui {

struct AffineTransform
{
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    static AffineTransform makeScale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform makeRotation(double radians);
    static AffineTransform makeTranslation(double x, double y) { return {1, 0, 0, 1, x, y}; }

    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
    double determinant() const { return a * d - b * c; }

    QPointF map(QPointF p) const { return {a * p.x() + c * p.y() + tx, b * p.x() + d * p.y() + ty}; }
    /// The linear part only: vectors ignore the translation.
    QPointF mapVector(QPointF v) const { return {a * v.x() + c * v.y(), b * v.x() + d * v.y()}; }
    /// The inverse map; a singular transform gives the identity and *invertible = false.
    AffineTransform inverted(bool *invertible = nullptr) const;

    /// The same map as a QTransform (whose m11, m12, m21, m22, dx, dy are a, b, c, d, tx, ty).
    QTransform toQTransform() const { return QTransform(a, b, c, d, tx, ty); }
    static AffineTransform fromQTransform(const QTransform &t);

    bool operator==(const AffineTransform &) const = default;
};

/// t1 first, then t2.
AffineTransform concat(const AffineTransform &t1, const AffineTransform &t2);
/// Scale first, in the transform's own (untransformed) axes: concat(makeScale(sx, sy), t).
/// This is the "post-multiplied" scale gesture handlers use; (tx, ty) stay as they are.
AffineTransform scaled(const AffineTransform &t, double sx, double sy);
/// Rotation first: concat(makeRotation(radians), t).
AffineTransform rotated(const AffineTransform &t, double radians);
/// Translation first, in the transformed axes: concat(makeTranslation(x, y), t).
AffineTransform translated(const AffineTransform &t, double x, double y);

} // namespace vimora::ui
