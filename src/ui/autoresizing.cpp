#include "ui/autoresizing.h"

#include <algorithm>

namespace vimora::ui {

namespace {

// One axis: origin and size of the child, old and new parent extent, and which of the
// three parts (leading margin, size, trailing margin) are flexible.
void resizeAxis(double &origin, double &size, double oldParent, double newParent, bool flexLead, bool flexSize,
                bool flexTrail)
{
    const double delta = newParent - oldParent;
    const int count = int(flexLead) + int(flexSize) + int(flexTrail);
    if (delta == 0 || count == 0)
        return;
    const double lead = origin, trail = oldParent - origin - size;
    const double sum = (flexLead ? lead : 0) + (flexSize ? size : 0) + (flexTrail ? trail : 0);
    auto share = [&](bool flexible, double part) {
        if (!flexible)
            return 0.0;
        return sum == 0 ? delta / count : delta * part / sum;
    };
    origin += share(flexLead, lead);
    size = std::max(0.0, size + share(flexSize, size));
}

} // namespace

QRectF autoresizedFrame(const QRectF &frame, AutoresizingMask mask, QSizeF oldParent, QSizeF newParent)
{
    double x = frame.x(), y = frame.y(), w = frame.width(), h = frame.height();
    resizeAxis(x, w, oldParent.width(), newParent.width(), mask & FlexibleLeftMargin, mask & FlexibleWidth,
               mask & FlexibleRightMargin);
    resizeAxis(y, h, oldParent.height(), newParent.height(), mask & FlexibleTopMargin, mask & FlexibleHeight,
               mask & FlexibleBottomMargin);
    return QRectF(x, y, w, h);
}

} // namespace vimora::ui
