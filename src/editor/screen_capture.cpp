// Turning views into pictures: one view at its size, and the composition for saving.

#include <cmath>

#include <QPainter>

#include "editor/cut_image.h"
#include "editor/editor_layout.h"
#include "platform/device.h"

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
    const QSizeF main = v.mainView->bounds().size() * factor;
    QImage canvas(int(main.width()), int(main.height()), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(factor, factor);
        v.mainView->renderInContext(painter);
    }
    return cutImage(background.width() * factor, background.height() * factor, background.x() * factor,
                    background.y() * factor, Picture(canvas));
}

} // namespace vimora
