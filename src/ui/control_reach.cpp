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

/// The branch of hit's ancestry that sits in front of control: the child of their nearest
/// common ancestor that holds hit (nullptr when hit is inside control).
View *coveringBranch(const View &control, const View &hit)
{
    for (const View *v = &hit; v && v->superview(); v = v->superview())
        if (&control == v->superview() || control.isDescendantOf(v->superview()))
            return control.isDescendantOf(v) ? nullptr : const_cast<View *>(v);
    return nullptr;
}

/// How the control shows about its centre, where it is touched: the summed change of the
/// pixels when it is hidden, with and without what covers it. A panel in front with rounded
/// corners may leave a sliver showing elsewhere, so only the centre counts.
struct Showing
{
    qint64 shown = 0;     ///< change seen on the screen as it is
    qint64 uncovered = 0; ///< change seen with the covering view taken away
};

Showing showing(const Host &host, View &control, View *cover)
{
    const QRectF whole = control.convertRectTo(control.bounds(), nullptr);
    const QSizeF around(std::min(whole.width(), 16.0), std::min(whole.height(), 16.0));
    const QRectF frame(whole.center() - QPointF(around.width() / 2, around.height() / 2), around);
    const QSize size(std::max(1, qCeil(frame.width())), std::max(1, qCeil(frame.height())));
    const auto paint = [&] {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.translate(-frame.topLeft());
        host.render(painter);
        return image;
    };
    const auto change = [&] {
        const QImage shown = paint();
        control.setHidden(true);
        const QImage hidden = paint();
        control.setHidden(false);
        qint64 sum = 0;
        for (int y = 0; y < size.height(); ++y) {
            const QRgb *a = reinterpret_cast<const QRgb *>(shown.constScanLine(y));
            const QRgb *b = reinterpret_cast<const QRgb *>(hidden.constScanLine(y));
            for (int x = 0; x < size.width(); ++x)
                sum += std::abs(qRed(a[x]) - qRed(b[x])) + std::abs(qGreen(a[x]) - qGreen(b[x])) + std::abs(qBlue(a[x]) - qBlue(b[x]));
        }
        return sum;
    };
    Showing s;
    s.shown = change();
    if (cover && !cover->isHidden()) {
        cover->setHidden(true);
        s.uncovered = change();
        cover->setHidden(false);
    } else {
        s.uncovered = s.shown;
    }
    return s;
}

/// Whether a control that misses its touch is still drawn in plain view: not painted over by
/// what is in front of it (hiding it changes the screen), nor dimmed to less than half by a
/// panel in front, which takes the touch on purpose. A clear view in front dims nothing.
bool inPlainView(const Host &host, const UnansweredControl &missed)
{
    View &control = const_cast<View &>(*missed.control);
    View *cover = missed.hit ? coveringBranch(control, *missed.hit) : nullptr;
    const Showing s = showing(host, control, cover);
    return s.shown > 0 && 2 * s.shown >= s.uncovered;
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
        if (inPlainView(host, candidate))
            out.push_back(std::move(candidate));
    return out;
}

} // namespace vimora::ui
