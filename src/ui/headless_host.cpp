#include "ui/headless_host.h"

#include <QPainter>

#include "imaging/raster.h"

namespace vimora::ui {

HeadlessHost::HeadlessHost(QSizeF screenSize, double scale)
    : Host(screenSize, &ownedClock)
    , m_scale(scale > 0 ? scale : 1.0)
{
}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::send(int id, TouchPhase phase, QPointF p, int minimumTapCount)
{
    sendTouches({TouchInput{id, phase, p, minimumTapCount}});
    runPending();
}

void HeadlessHost::touchDown(QPointF p, int id, int minimumTapCount)
{
    send(id, TouchPhase::Began, p, minimumTapCount);
}

void HeadlessHost::touchMove(QPointF p, int id)
{
    send(id, TouchPhase::Moved, p);
}

void HeadlessHost::touchUp(QPointF p, int id)
{
    send(id, TouchPhase::Ended, p);
}

void HeadlessHost::touchCancel(int id)
{
    TouchPtr t = dispatcher().touch(id);
    send(id, TouchPhase::Cancelled, t ? t->windowPosition : QPointF());
}

void HeadlessHost::tap(QPointF p, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            advance(kTapGap);
        touchDown(p);
        advance(kTapPress);
        touchUp(p);
    }
}

void HeadlessHost::drag(QPointF from, QPointF to, int steps, double seconds)
{
    steps = std::max(1, steps);
    touchDown(from);
    for (int i = 1; i <= steps; ++i) {
        advance(seconds / steps);
        touchMove(from + (to - from) * (double(i) / steps));
    }
    touchUp(to);
}

void HeadlessHost::pinch(QPointF centre, double startDistance, const std::vector<double> &scales, double stepSeconds)
{
    const int a = kFirstPinchFinger, b = kFirstPinchFinger + 1;
    auto fingers = [&](double distance) {
        return std::pair{centre - QPointF(distance / 2, 0), centre + QPointF(distance / 2, 0)};
    };
    auto [p0, p1] = fingers(startDistance);
    sendTouches({{a, TouchPhase::Began, p0, 0}, {b, TouchPhase::Began, p1, 0}});
    runPending();
    for (double s : scales) {
        advance(stepSeconds);
        std::tie(p0, p1) = fingers(startDistance * s);
        sendTouches({{a, TouchPhase::Moved, p0, 0}, {b, TouchPhase::Moved, p1, 0}});
        runPending();
    }
    advance(stepSeconds);
    sendTouches({{a, TouchPhase::Ended, p0, 0}, {b, TouchPhase::Ended, p1, 0}});
    runPending();
}

void HeadlessHost::press(QPointF p, double seconds)
{
    touchDown(p);
    advance(seconds);
    touchUp(p);
}

QImage HeadlessHost::render() const
{
    const QSizeF size = screenSize();
    QImage image = makeRaster(int(size.width() * m_scale + 0.5), int(size.height() * m_scale + 0.5));
    if (image.isNull())
        return image;
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.scale(m_scale, m_scale);
    Host::render(p);
    return image;
}

} // namespace vimora::ui
