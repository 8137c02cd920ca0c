#include "ui/touch.h"

#include "ui/view.h"

namespace vimora::ui {

QPointF Touch::locationInView(const View *v) const
{
    return v ? v->convertPointFrom(windowPosition, nullptr) : windowPosition;
}

QPointF Touch::previousLocationInView(const View *v) const
{
    return v ? v->convertPointFrom(previousWindowPosition, nullptr) : previousWindowPosition;
}

QPointF centroidInView(const TouchSet &touches, const View *view)
{
    if (touches.empty())
        return {};
    QPointF sum;
    for (const TouchPtr &t : touches)
        sum += t->locationInView(view);
    return sum / double(touches.size());
}

} // namespace vimora::ui
