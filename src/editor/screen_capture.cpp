// Turning views into pictures: one view at its size, and the composition for saving.

#include <cmath>

#include <QPainter>

#include "editor/cut_image.h"
#include "platform/device.h"

namespace vimora {

namespace {
/// How much a level enlarges the composition: level 2 is the screen's size, each level
/// above doubles it, each below halves it. Phones never enlarge past the screen.
double captureFactor(int level, bool tablet)
{
    if (!tablet && level > 2)
        return 1;
    return std::pow(2.0, std::max(level, 0) - 2);
}
} // namespace

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
    const double factor = captureFactor(level, isDeviceiPad());
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
