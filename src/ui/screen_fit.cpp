#include "ui/screen_fit.h"

#include <algorithm>
#include <cmath>

#include "ui/geometry.h"

namespace vimora::ui {

ScreenFit::ScreenFit(QSizeF screen, QSizeF window)
    : m_screen(screen)
    , m_window(window)
{
    if (screen.isEmpty() || window.isEmpty())
        return;
    m_scale = std::min(window.width() / screen.width(), window.height() / screen.height());
    m_origin = QPointF((window.width() - screen.width() * m_scale) / 2, (window.height() - screen.height() * m_scale) / 2);
}

bool ScreenFit::showsScreenAt(QPointF windowPoint) const
{
    return containsPoint(screenRect(), windowPoint);
}

QSize ScreenFit::bestWindowSize(QSizeF screen, QSize available)
{
    if (screen.isEmpty())
        return {};
    double scale = 1;
    if (available.width() > 0 && available.height() > 0)
        scale = std::min({1.0, available.width() / screen.width(), available.height() / screen.height()});
    // Rounded down so the window never outgrows the space it was fitted to.
    return {std::max(1, int(std::floor(screen.width() * scale))), std::max(1, int(std::floor(screen.height() * scale)))};
}

} // namespace vimora::ui
