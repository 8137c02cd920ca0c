// Turning views into pictures: one view at its size, and the composition for saving.

#include "editor/cut_image.h"
#include "imaging/pixel_cut.h"
#include "platform/device.h"
#include "screenkit/capture_level.h"
#include "ui/view_capture.h"

namespace vimora {

Picture CutImage::screenShotView(const ui::View &view) const
{
    const Picture rendered = view.renderToPicture(view.bounds().size(), 1.0);
    const QSizeF frame = view.frame().size();
    return cutImage(frame.width(), frame.height(), 0, 0, rendered);
}

Picture CutImage::screenShots(int level)
{
    ScreenViews &v = *m_views;
    v.selectTopView->setHidden(true);
    const QRectF background = v.backImgView->frame();

    // Rendering through a scaled painter gives the enlarged frames' pixels without moving
    // any view, so nothing has to be put back afterwards.
    const double factor = captureLevelScale(level, Device::profile());
    return ui::renderRegion(*v.mainView, background, factor, factor);
}

} // namespace vimora
