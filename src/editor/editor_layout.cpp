#include "editor/editor_layout.h"

#include <algorithm>

namespace vimora {

QRectF editorFrame(DeviceProfile profile, bool landscape)
{
    const QSizeF s = Device::portraitScreenSize(profile);
    return {QPointF(0, 0), landscape ? s.transposed() : s};
}

QRectF photoViewFrame(DeviceProfile profile, QSizeF photo, QPointF c)
{
    if (photo.width() <= 0 || photo.height() <= 0)
        return {c, QSizeF(0, 0)};
    const double r = photo.width() / photo.height();
    QSizeF size;
    QPointF centre = c;
    if (profile == DeviceProfile::Tablet) {
        if (r >= 1) {
            size = {650, 650 / r};
        } else {
            size = {650 * r, 650};
            centre.ry() -= 50;
        }
    } else {
        size = r >= 1 ? QSizeF(300, 300 / r) : QSizeF(380 * r, 380);
    }
    return {centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(), size.height()};
}

QRectF rotatedToolbarFrame(DeviceProfile profile, bool landscape)
{
    if (landscape)
        return profile == DeviceProfile::Tablet ? QRectF(0, 703, 1024, 65) : QRectF(0, 255, 568, 65);
    switch (profile) {
    case DeviceProfile::Tablet:
        return {0, 959, 1024, 65};
    case DeviceProfile::Phone568:
        return {0, 503, 568, 65};
    case DeviceProfile::Phone480:
        return {0, 415, 568, 65};
    }
    return {};
}

double initialCropSide(DeviceProfile profile)
{
    return profile == DeviceProfile::Tablet ? 200 : 140;
}

QRectF slidInside(QRectF r, const QRectF &area)
{
    r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() - r.width())));
    r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() - r.height())));
    return r;
}

namespace {
double coveredArea(const QRectF &a, const QRectF &b)
{
    const QRectF common = a.intersected(b);
    return common.isValid() ? common.width() * common.height() : 0;
}
} // namespace

QRectF adjustPanelFrame(const QRectF &freeArea, const QRectF &work, QSizeF panel)
{
    const double w = panel.width(), h = panel.height();
    const QPointF c = work.center();
    const QRectF candidates[] = {
        {c.x() - w / 2, work.bottom(), w, h},  // below
        {work.right(), c.y() - h / 2, w, h},   // right
        {work.left() - w, c.y() - h / 2, w, h}, // left
        {c.x() - w / 2, work.top() - h, w, h},  // above
    };
    QRectF best;
    double least = -1;
    for (const QRectF &candidate : candidates) {
        const QRectF placed = slidInside(candidate, freeArea);
        const double covered = coveredArea(placed, work);
        if (least < 0 || covered < least) {
            best = placed;
            least = covered;
        }
        if (covered == 0)
            break;
    }
    return best;
}

QRectF optionsPanelFrame(DeviceProfile profile, bool landscape)
{
    if (profile == DeviceProfile::Tablet)
        return {160, 50, 600, 600};
    return landscape ? QRectF(90, 20, 300, 400) : QRectF(10, 5, 300, 400);
}

QSizeF previewFrameSize(double panelWidth, bool sixteenByNine)
{
    const double w = panelWidth * 0.917;
    return {w, w * (sixteenByNine ? 0.5625 : 0.75)};
}

PhotoLayerFit photoLayerFit(QSizeF photo, QSizeF preview, bool fourByThree)
{
    const double pw = preview.width(), ph = preview.height();
    if (photo.width() <= 0 || photo.height() <= 0)
        return {QSizeF(0, ph), false};
    const double r = photo.width() / photo.height();
    if (fourByThree && photo.height() > photo.width() && r < 0.9)
        return {QSizeF(pw, ph / r), true};
    return {QSizeF(ph * r, ph), false};
}

} // namespace vimora
