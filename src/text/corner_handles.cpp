#include "text/corner_handles.h"

#include "platform/resources.h"

namespace vimora::text {

Corners Corners::ofFrame(const QRectF &f)
{
    return Corners{f.topLeft(), QPointF(f.x() + f.width(), f.y()), QPointF(f.x(), f.y() + f.height()),
        QPointF(f.x() + f.width(), f.y() + f.height())};
}

QRectF resizedFrame(Corner corner, QPointF h, const Corners &c)
{
    switch (corner) {
    case Corner::RightUpper:
        return QRectF(c.lu.x(), h.y(), h.x() - c.lu.x(), c.rd.y() - h.y());
    case Corner::RightLower:
        return QRectF(c.lu.x(), c.lu.y(), h.x() - c.lu.x(), h.y() - c.ru.y());
    case Corner::LeftUpper:
        return QRectF(h.x(), h.y(), c.ru.x() - h.x(), c.rd.y() - h.y());
    case Corner::LeftLower:
        return QRectF(h.x(), c.lu.y(), c.rd.x() - h.x(), h.y() - c.ru.y());
    }
    return {};
}

CornerHandles::CornerHandles(ui::View &layer, std::function<void(Corner, ui::PanRecognizer &)> drag)
    : m_layer(layer)
    , m_drag(std::move(drag))
{
}

void CornerHandles::show()
{
    remove();
    const Picture picture = Resources::imageNamed(QStringLiteral("moveHandBtnX.png"));
    for (int i = 0; i < 4; ++i) {
        auto handle = std::make_shared<ui::ImageView>(QRectF(0, 0, kHandleSide, kHandleSide));
        handle->setImage(picture);
        handle->setUserInteractionEnabled(true);
        const Corner corner = Corner(i);
        auto pan = std::make_shared<ui::PanRecognizer>([this, corner](ui::PanRecognizer &p) {
            if (m_drag)
                m_drag(corner, p);
        });
        pan->setMaximumNumberOfTouches(1);
        handle->addGestureRecognizer(pan);
        m_layer.addSubview(handle);
        m_handles[i] = handle;
    }
    placeHandles();
}

void CornerHandles::remove()
{
    for (auto &handle : m_handles) {
        if (handle)
            handle->removeFromSuperview();
        handle.reset();
    }
}

bool CornerHandles::isShown() const
{
    return m_handles[0] && m_handles[0]->superview();
}

QPointF CornerHandles::toLayer(const ui::View &target, QPointF p) const
{
    const ui::View *parent = target.superview();
    return parent ? parent->convertPointTo(p, &m_layer) : p;
}

QPointF CornerHandles::fromLayer(const ui::View &target, QPointF p) const
{
    const ui::View *parent = target.superview();
    return parent ? parent->convertPointFrom(p, &m_layer) : p;
}

void CornerHandles::setCornersFromView(const ui::View &target)
{
    const QRectF f = target.frame();
    const Corners c = Corners::ofFrame(f);
    m_corners = Corners{toLayer(target, c.lu), toLayer(target, c.ru), toLayer(target, c.ld), toLayer(target, c.rd)};
}

void CornerHandles::setSquareAtView(const ui::View &target)
{
    const QPointF topLeft = toLayer(target, target.frame().topLeft());
    m_corners = Corners::ofFrame(QRectF(topLeft, QSizeF(kTransformSquare, kTransformSquare)));
}

void CornerHandles::placeHandles()
{
    const std::array<QPointF, 4> at{m_corners.lu, m_corners.ru, m_corners.ld, m_corners.rd};
    for (int i = 0; i < 4; ++i)
        if (m_handles[i])
            m_handles[i]->setCenter(at[i]);
}

void CornerHandles::resizeTarget(
    ui::View &target, Corner corner, QPointF handleCentre, std::optional<double> minimumSide)
{
    const QRectF inLayer = resizedFrame(corner, handleCentre, m_corners);
    const bool applies = !minimumSide || (inLayer.width() > *minimumSide && inLayer.height() > *minimumSide);
    if (applies) {
        const QPointF origin = fromLayer(target, inLayer.topLeft());
        target.setFrame(QRectF(origin, inLayer.size()));
    }
    setCornersFromView(target);
    placeHandles();
}

} // namespace vimora::text
