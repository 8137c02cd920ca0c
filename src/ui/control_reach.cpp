#include "ui/control_reach.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <typeinfo>

#include <QImage>
#include <QtMath>
#include <QPainter>

#include "ui/button.h"
#include "ui/host.h"
#include "ui/overlay_stack.h"

namespace vimora::ui {

namespace {

bool drawnAt(const View &control, QPointF windowPoint, const QRectF &screen)
{
    if (!screen.contains(windowPoint) || control.bounds().isEmpty())
        return false;
    for (const View *v = &control; v; v = v->superview()) {
        if (v->isHidden() || v->alpha() < 0.01)
            return false;
        if (v->clipsToBounds() && !v->bounds().contains(v->convertPointFrom(windowPoint, nullptr)))
            return false;
    }
    return true;
}

/// Whether the control shows on screen: the pixels about its centre change when it is hidden.
/// One covered by an opaque panel in front is not drawn, so it need not answer.
bool shows(const Host &host, View &control)
{
    // Around its centre, where it is touched: a panel in front with rounded corners may leave
    // a sliver of it showing elsewhere.
    const QRectF whole = control.convertRectTo(control.bounds(), nullptr);
    const QSizeF around(std::min(whole.width(), 16.0), std::min(whole.height(), 16.0));
    const QRectF frame(whole.center() - QPointF(around.width() / 2, around.height() / 2), around);
    const double scale = 1.0;
    const QSize size(std::max(1, qCeil(frame.width() * scale)), std::max(1, qCeil(frame.height() * scale)));
    const auto paint = [&] {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.translate(-frame.topLeft());
        host.render(painter);
        return image;
    };
    const QImage shown = paint();
    control.setHidden(true);
    const QImage hidden = paint();
    control.setHidden(false);
    return shown != hidden;
}

/// Whether the hit lands on a layer over the whole window (a popover's, an alert's) that view
/// is not on: such a layer takes the taps around its panel on purpose.
bool isBehindLayer(Host &host, const View &view, const View &hit)
{
    const View *layer = &hit;
    while (layer->superview() && layer->superview() != &host.window())
        layer = layer->superview();
    return layer->superview() == &host.window() && layer != host.rootView().get() && !view.isDescendantOf(layer);
}

/// Whether view is drawn behind sibling, a view that covers its whole superview.
bool isBehind(const View &view, const View &sibling)
{
    const View *parent = sibling.superview();
    if (!parent || &view == parent || !view.isDescendantOf(parent))
        return true;
    const View *branch = &view;
    while (branch->superview() != parent)
        branch = branch->superview();
    return parent->indexOfSubview(branch) < parent->indexOfSubview(&sibling);
}

QString why(const View &control, QPointF centre, const View *hit)
{
    // First what the hit test refuses on the way down, nearest the control first.
    for (const View *v = &control; v; v = v->superview()) {
        if (!v->isUserInteractionEnabled())
            return QStringLiteral("inside %1, which takes no touches").arg(describeView(*v));
        if (!v->pointInside(v->convertPointFrom(centre, nullptr)))
            return QStringLiteral("drawn outside %1").arg(describeView(*v));
    }
    if (!hit)
        return QStringLiteral("nothing takes the touch");
    // The view in front, and where it hangs, to find the screen that put it there.
    QString covering = describeView(*hit);
    int depth = 0;
    for (const View *v = hit->superview(); v && v->superview() && depth < 3; v = v->superview(), ++depth)
        covering += QStringLiteral(" in ") + describeView(*v);
    return QStringLiteral("covered by %1").arg(covering);
}

void collect(Host &host, const View &view, const QRectF &screen, std::vector<UnansweredControl> &out)
{
    if (view.isHidden() || view.alpha() < 0.01)
        return;
    if (const auto *control = dynamic_cast<const Control *>(&view);
        control && control->isEnabled() && view.isUserInteractionEnabled()) {
        const QPointF centre = view.convertRectTo(view.bounds(), nullptr).center();
        if (drawnAt(view, centre, screen)) {
            const View *hit = host.hitTest(centre);
            // Behind an open panel's backdrop a tap closes the panel instead, on purpose; a
            // control of the panel itself that hangs outside it is lost all the same.
            const bool behindPanel = hit && ((OverlayStack::of(hit).isBackdrop(hit) && isBehind(view, *hit)) ||
                                             isBehindLayer(host, view, *hit));
            if (hit != &view && !(hit && hit->isDescendantOf(&view)) && !behindPanel)
                out.push_back({&view, centre, hit, why(view, centre, hit)});
        }
    }
    for (const ViewPtr &sub : view.subviews())
        collect(host, *sub, screen, out);
}

} // namespace

QString describeView(const View &view)
{
    int status = 0;
    char *demangled = abi::__cxa_demangle(typeid(view).name(), nullptr, nullptr, &status);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled : typeid(view).name());
    std::free(demangled);
    name = name.section(QStringLiteral("::"), -1);
    if (const auto *button = dynamic_cast<const Button *>(&view); button && !button->title().isEmpty())
        return QStringLiteral("%1 \"%2\"").arg(name, button->title());
    if (view.tag() != 0)
        name += QLatin1Char('#') + QString::number(view.tag());
    return name;
}

std::vector<UnansweredControl> unansweredControls(Host &host)
{
    std::vector<UnansweredControl> missed;
    const View &window = host.window();
    const QRectF screen = window.bounds();
    // A modal layer is the window's front-most view and takes every touch.
    if (host.hasModal() && !window.subviews().empty())
        collect(host, *window.subviews().back(), screen, missed);
    else
        collect(host, window, screen, missed);
    // Painted only for the few that miss: most screens have none.
    std::vector<UnansweredControl> out;
    for (UnansweredControl &candidate : missed)
        if (shows(host, const_cast<View &>(*candidate.control)))
            out.push_back(std::move(candidate));
    return out;
}

} // namespace vimora::ui
