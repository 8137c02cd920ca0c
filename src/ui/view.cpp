#include "ui/view.h"

#include <algorithm>
#include <cmath>

#include <QtNumeric>

#include "ui/geometry.h"
#include "ui/gesture_recognizer.h"
#include "ui/host.h"
#include "ui/transition.h"

namespace vimora::ui {

View::View() = default;

View::View(const QRectF &frame)
{
    setFrame(frame);
}

View::~View()
{
    for (const ViewPtr &child : m_subviews)
        child->m_superview = nullptr;
    for (const auto &r : m_recognizers)
        r->setView(nullptr);
}

// --- Geometry ---

QRectF View::frame() const
{
    const AffineTransform &t = m_transform;
    const double bw = m_bounds.width(), bh = m_bounds.height();
    const double fw = std::abs(t.a) * bw + std::abs(t.c) * bh;
    const double fh = std::abs(t.b) * bw + std::abs(t.d) * bh;
    return QRectF(m_center.x() + t.tx - fw / 2, m_center.y() + t.ty - fh / 2, fw, fh);
}

void View::setFrame(const QRectF &frame)
{
    const AffineTransform &t = m_transform;
    QSizeF size(frame.width(), frame.height());
    if (!t.isIdentity()) {
        // The bounding box of the frame's size under the inverse linear part: exact for
        // scales, quarter turns and translations, the transforms frames are set under.
        const AffineTransform inv = t.inverted();
        size = QSizeF(std::abs(inv.a) * frame.width() + std::abs(inv.c) * frame.height(),
                      std::abs(inv.b) * frame.width() + std::abs(inv.d) * frame.height());
    }
    const QSizeF accepted = adjustedSize(size);
    double fw = frame.width(), fh = frame.height();
    if (accepted != size) { // a fixed-size view keeps the frame's origin, not its centre
        fw = std::abs(t.a) * accepted.width() + std::abs(t.c) * accepted.height();
        fh = std::abs(t.b) * accepted.width() + std::abs(t.d) * accepted.height();
    }
    const QPointF center(frame.x() + fw / 2 - t.tx, frame.y() + fh / 2 - t.ty);
    if (center != m_center) {
        m_center = center;
        setNeedsDisplay();
    }
    setBoundsSize(accepted);
}

void View::setBounds(const QRectF &bounds)
{
    if (bounds.topLeft() != m_bounds.topLeft()) {
        m_bounds.moveTopLeft(bounds.topLeft());
        setNeedsDisplay();
        boundsOriginChanged();
    }
    setBoundsSize(adjustedSize(bounds.size()));
}

void View::setBoundsSize(QSizeF size)
{
    const QSizeF old = m_bounds.size();
    if (old == size)
        return;
    m_bounds.setSize(size);
    setNeedsDisplay();
    if (m_autoresizesSubviews)
        resizeSubviews(old);
    layoutSubviews();
}

void View::resizeSubviews(QSizeF oldSize)
{
    const QSizeF newSize = m_bounds.size();
    for (const ViewPtr &child : subviews()) {
        if (child->m_autoresizingMask == AutoresizingNone)
            continue;
        child->setFrame(autoresizedFrame(child->frame(), child->m_autoresizingMask, oldSize, newSize));
    }
}

void View::setCenter(QPointF center)
{
    if (center == m_center)
        return;
    m_center = center;
    setNeedsDisplay();
}

void View::setTransform(const AffineTransform &transform)
{
    if (transform == m_transform)
        return;
    m_transform = transform;
    setNeedsDisplay();
}

QTransform View::toSuperview() const
{
    const QPointF m = rectCenter(m_bounds);
    return QTransform::fromTranslate(-m.x(), -m.y())
           * QTransform(m_transform.a, m_transform.b, m_transform.c, m_transform.d, 0, 0)
           * QTransform::fromTranslate(m_center.x() + m_transform.tx, m_center.y() + m_transform.ty);
}

QPointF View::toSuperview(QPointF p) const
{
    const QPointF m = rectCenter(m_bounds);
    return m_center + m_transform.mapVector(p - m) + QPointF(m_transform.tx, m_transform.ty);
}

QPointF View::fromSuperview(QPointF q) const
{
    const QPointF m = rectCenter(m_bounds);
    const QPointF v = q - m_center - QPointF(m_transform.tx, m_transform.ty);
    if (m_transform.a == 1 && m_transform.b == 0 && m_transform.c == 0 && m_transform.d == 1)
        return m + v;
    bool invertible = false;
    const AffineTransform inv = m_transform.inverted(&invertible);
    if (!invertible) // a view squashed flat covers no point: nothing maps into it
        return QPointF(qQNaN(), qQNaN());
    return m + inv.mapVector(v);
}

QPointF View::convertPointTo(QPointF p, const View *to) const
{
    if (to == this)
        return p;
    // Up to the window, then down along the target's chain.
    for (const View *v = this; v->m_superview; v = v->m_superview)
        p = v->toSuperview(p);
    return to ? to->convertPointFrom(p, nullptr) : p;
}

QPointF View::convertPointFrom(QPointF p, const View *from) const
{
    if (from == this)
        return p;
    if (from)
        p = from->convertPointTo(p, nullptr);
    std::vector<const View *> chain;
    for (const View *v = this; v->m_superview; v = v->m_superview)
        chain.push_back(v);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        p = (*it)->fromSuperview(p);
    return p;
}

QRectF View::convertRectTo(const QRectF &r, const View *to) const
{
    const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (QPointF c : corners) {
        const QPointF q = convertPointTo(c, to);
        x0 = std::min(x0, q.x());
        y0 = std::min(y0, q.y());
        x1 = std::max(x1, q.x());
        y1 = std::max(y1, q.y());
    }
    return QRectF(x0, y0, x1 - x0, y1 - y0);
}

const View *View::window() const
{
    const View *v = this;
    while (v->m_superview)
        v = v->m_superview;
    return v;
}

View *View::window()
{
    View *v = this;
    while (v->m_superview)
        v = v->m_superview;
    return v;
}

// --- Appearance ---

void View::setAlpha(double alpha)
{
    alpha = std::clamp(alpha, 0.0, 1.0);
    if (alpha == m_alpha)
        return;
    m_alpha = alpha;
    setNeedsDisplay();
}

void View::setHidden(bool hidden)
{
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    setNeedsDisplay();
}

void View::setBackgroundColor(const QColor &color)
{
    m_backgroundColor = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void View::setClipsToBounds(bool clips)
{
    m_clipsToBounds = clips;
    setNeedsDisplay();
}

void View::setContentMode(ContentMode mode)
{
    m_contentMode = mode;
    setNeedsDisplay();
}

void View::setBorderWidth(double width)
{
    m_borderWidth = std::max(0.0, width);
    setNeedsDisplay();
}

void View::setBorderColor(const QColor &color)
{
    m_borderColor = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void View::setCornerRadius(double radius)
{
    m_cornerRadius = std::max(0.0, radius);
    setNeedsDisplay();
}

void View::setShadowColor(const QColor &color)
{
    m_shadowColor = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void View::setShadowOffset(QPointF offset)
{
    m_shadowOffset = offset;
    setNeedsDisplay();
}

void View::setShadowOpacity(double opacity)
{
    m_shadowOpacity = std::clamp(opacity, 0.0, 1.0);
    setNeedsDisplay();
}

void View::setShadowRadius(double radius)
{
    m_shadowRadius = std::max(0.0, radius);
    setNeedsDisplay();
}

void View::setShadowPath(const QPainterPath &path)
{
    m_shadowPath = path;
    setNeedsDisplay();
}

// --- Tree ---

View *View::subviewAt(int index) const
{
    return index >= 0 && index < int(m_subviews.size()) ? m_subviews[size_t(index)].get() : nullptr;
}

int View::indexOfSubview(const View *view) const
{
    for (size_t i = 0; i < m_subviews.size(); ++i)
        if (m_subviews[i].get() == view)
            return int(i);
    return -1;
}

bool View::isDescendantOf(const View *ancestor) const
{
    for (const View *v = this; v; v = v->m_superview)
        if (v == ancestor)
            return true;
    return false;
}

void View::detach()
{
    if (!m_superview)
        return;
    auto &siblings = m_superview->m_subviews;
    siblings.erase(std::remove_if(siblings.begin(), siblings.end(), [this](const ViewPtr &v) { return v.get() == this; }),
                   siblings.end());
    m_superview->setNeedsDisplay();
    m_superview = nullptr;
}

void View::insertSubview(const ViewPtr &view, int index)
{
    if (!view || isDescendantOf(view.get()))
        return;
    const ViewPtr keep = view; // the old superview may hold the last reference
    const bool moved = view->m_superview != this;
    if (view->m_superview == this) {
        const int old = indexOfSubview(view.get());
        m_subviews.erase(m_subviews.begin() + old);
    } else {
        view->detach();
    }
    index = std::clamp(index, 0, int(m_subviews.size()));
    m_subviews.insert(m_subviews.begin() + index, view);
    view->m_superview = this;
    setNeedsDisplay();
    if (moved)
        view->didMoveToSuperview();
}

void View::addSubview(const ViewPtr &view)
{
    insertSubview(view, int(m_subviews.size()));
}

void View::insertSubviewAbove(const ViewPtr &view, const View *sibling)
{
    const int at = indexOfSubview(sibling);
    if (view && view->m_superview == this && indexOfSubview(view.get()) < at)
        insertSubview(view, at); // removing it first shifts the sibling down by one
    else
        insertSubview(view, at < 0 ? int(m_subviews.size()) : at + 1);
}

void View::insertSubviewBelow(const ViewPtr &view, const View *sibling)
{
    const int at = indexOfSubview(sibling);
    if (view && view->m_superview == this && indexOfSubview(view.get()) < at)
        insertSubview(view, at - 1);
    else
        insertSubview(view, at < 0 ? 0 : at);
}

void View::removeFromSuperview()
{
    if (!m_superview)
        return;
    const ViewPtr keep = sharedFromThis();
    detach();
    didMoveToSuperview();
}

void View::removeAllSubviews()
{
    for (const ViewPtr &child : subviews())
        child->removeFromSuperview();
}

void View::bringSubviewToFront(const View *view)
{
    const int at = indexOfSubview(view);
    if (at < 0 || at == int(m_subviews.size()) - 1)
        return;
    ViewPtr v = m_subviews[size_t(at)];
    m_subviews.erase(m_subviews.begin() + at);
    m_subviews.push_back(v);
    setNeedsDisplay();
}

void View::sendSubviewToBack(const View *view)
{
    const int at = indexOfSubview(view);
    if (at <= 0)
        return;
    ViewPtr v = m_subviews[size_t(at)];
    m_subviews.erase(m_subviews.begin() + at);
    m_subviews.insert(m_subviews.begin(), v);
    setNeedsDisplay();
}

View *View::viewWithTag(int tag)
{
    if (m_tag == tag)
        return this;
    for (const ViewPtr &child : m_subviews)
        if (View *found = child->viewWithTag(tag))
            return found;
    return nullptr;
}

// --- Hit testing and touches ---

View *View::hitTest(QPointF p)
{
    if (m_hidden || !m_userInteractionEnabled || m_alpha < 0.01)
        return nullptr;
    if (!pointInside(p))
        return nullptr;
    for (auto it = m_subviews.rbegin(); it != m_subviews.rend(); ++it) {
        View *child = it->get();
        if (View *hit = child->hitTest(child->fromSuperview(p)))
            return hit;
    }
    return this;
}

bool View::pointInside(QPointF p) const
{
    return containsPoint(m_bounds, p);
}

void View::forwardTouches(TouchPhase phase, const TouchSet &touches)
{
    View *next = m_superview;
    if (!next)
        return;
    switch (phase) {
    case TouchPhase::Began:
        next->touchesBegan(touches);
        break;
    case TouchPhase::Moved:
    case TouchPhase::Stationary:
        next->touchesMoved(touches);
        break;
    case TouchPhase::Ended:
        next->touchesEnded(touches);
        break;
    case TouchPhase::Cancelled:
        next->touchesCancelled(touches);
        break;
    }
}

void View::touchesBegan(const TouchSet &touches)
{
    if (m_touchHandler)
        m_touchHandler(TouchPhase::Began, touches);
    else
        forwardTouches(TouchPhase::Began, touches);
}

void View::touchesMoved(const TouchSet &touches)
{
    if (m_touchHandler)
        m_touchHandler(TouchPhase::Moved, touches);
    else
        forwardTouches(TouchPhase::Moved, touches);
}

void View::touchesEnded(const TouchSet &touches)
{
    if (m_touchHandler)
        m_touchHandler(TouchPhase::Ended, touches);
    else
        forwardTouches(TouchPhase::Ended, touches);
}

void View::touchesCancelled(const TouchSet &touches)
{
    if (m_touchHandler)
        m_touchHandler(TouchPhase::Cancelled, touches);
    else
        forwardTouches(TouchPhase::Cancelled, touches);
}

void View::addGestureRecognizer(const std::shared_ptr<GestureRecognizer> &recognizer)
{
    if (!recognizer)
        return;
    if (View *old = recognizer->view())
        old->removeGestureRecognizer(recognizer.get());
    m_recognizers.push_back(recognizer);
    recognizer->setView(this);
}

void View::removeGestureRecognizer(const GestureRecognizer *recognizer)
{
    auto it = std::find_if(m_recognizers.begin(), m_recognizers.end(),
                           [recognizer](const auto &r) { return r.get() == recognizer; });
    if (it == m_recognizers.end())
        return;
    const std::shared_ptr<GestureRecognizer> keep = *it;
    m_recognizers.erase(it);
    keep->setView(nullptr);
}

// --- Keyboard focus ---

bool View::becomeFirstResponder()
{
    if (!canBecomeFirstResponder())
        return false;
    Host *h = host();
    if (!h)
        h = Host::current();
    return h && h->setFocusView(this);
}

bool View::resignFirstResponder()
{
    Host *h = host();
    if (!h)
        h = Host::current();
    if (h && h->focusView() == this)
        h->setFocusView(nullptr);
    return true;
}

bool View::isFirstResponder() const
{
    const Host *h = host();
    if (!h)
        h = Host::current();
    return h && h->focusView() == this;
}

bool View::keyPressEvent(QKeyEvent *)
{
    return false;
}

bool View::keyReleaseEvent(QKeyEvent *)
{
    return false;
}

bool View::inputMethodEvent(QInputMethodEvent *)
{
    return false;
}

QVariant View::inputMethodQuery(int) const
{
    return {};
}

// --- Host ---

Host *View::host() const
{
    return window()->m_host;
}

void View::setNeedsDisplay() const
{
    if (Host *h = host())
        h->setNeedsRepaint();
}

// --- Transitions ---

void View::removeAllTransitions()
{
    if (!m_transition)
        return;
    m_transition.reset();
    setNeedsDisplay();
}

} // namespace vimora::ui
