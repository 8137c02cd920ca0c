#include "ui/affine_transform.h"

#include <cmath>

namespace vimora::ui {

AffineTransform AffineTransform::makeRotation(double radians)
{
    const double cs = std::cos(radians), sn = std::sin(radians);
    return {cs, sn, -sn, cs, 0, 0};
}

AffineTransform AffineTransform::inverted(bool *invertible) const
{
    const double det = determinant();
    if (det == 0 || !std::isfinite(det)) {
        if (invertible)
            *invertible = false;
        return {};
    }
    if (invertible)
        *invertible = true;
    const double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id)};
}

AffineTransform AffineTransform::fromQTransform(const QTransform &t)
{
    return {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
}

AffineTransform concat(const AffineTransform &t1, const AffineTransform &t2)
{
    return {t1.a * t2.a + t1.b * t2.c,
            t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,
            t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx,
            t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

AffineTransform scaled(const AffineTransform &t, double sx, double sy)
{
    return concat(AffineTransform::makeScale(sx, sy), t);
}

AffineTransform rotated(const AffineTransform &t, double radians)
{
    return concat(AffineTransform::makeRotation(radians), t);
}

AffineTransform translated(const AffineTransform &t, double x, double y)
{
    return concat(AffineTransform::makeTranslation(x, y), t);
}

} // namespace vimora::ui
