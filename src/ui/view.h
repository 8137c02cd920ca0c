#pragma once

// The retained view tree the screens are written against.
//
// Geometry: a view stores bounds (its own coordinate system), centre (where the middle of the
// bounds lands in the superview) and a transform applied about that middle; the frame is
// derived. A local point p maps to the superview as
//     centre + L·(p − m) + (tx, ty),    m = middle of bounds, L = linear part of the transform.
// Points are converted by going up to the window (the topmost ancestor) and down again.
//
// Drawing, back to front per view: shadow, background (rounded by cornerRadius), content
// (drawContent), subviews in order, overlay (drawOverlay), border. alpha fades the view and
// its subtree as one group; hidden views and their subtrees are neither drawn nor hit.
//
// Ownership: views are shared (std::shared_ptr, create them with std::make_shared); a
// superview holds its subviews, a screen holds the views it keeps in fields. Every setter
// that changes the look asks the host for a repaint.

#include <functional>
#include <memory>
#include <vector>

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QVariant>

#include "ui/affine_transform.h"
#include "ui/autoresizing.h"
#include "ui/content_mode.h"
#include "ui/touch.h"

class QInputMethodEvent;
class QKeyEvent;
class QPainter;

namespace vimora {
class Picture;
}

namespace vimora::ui {

class GestureRecognizer;
class Host;
class Transition;
struct TransitionState;

class View;
using ViewPtr = std::shared_ptr<View>;

class View : public std::enable_shared_from_this<View>
{
public:
    View();
    explicit View(const QRectF &frame);
    virtual ~View();
    View(const View &) = delete;
    View &operator=(const View &) = delete;

    // --- Geometry ---

    /// The axis-aligned box, in superview coordinates, around the transformed bounds.
    QRectF frame() const;
    /// Sets centre and bounds size (bounds origin kept) so that frame() reads back the given
    /// rectangle; under a transform the size goes back through the inverse linear part.
    void setFrame(const QRectF &frame);
    QRectF bounds() const { return m_bounds; }
    /// A size change grows or shrinks the view about its centre and autoresizes subviews.
    void setBounds(const QRectF &bounds);
    QPointF center() const { return m_center; }
    void setCenter(QPointF center);
    AffineTransform transform() const { return m_transform; }
    /// Changes only the transform: bounds, centre and subviews' frames stay.
    void setTransform(const AffineTransform &transform);

    /// The map from this view's bounds coordinates to its superview's.
    QTransform toSuperview() const;
    /// The inverse map; under a singular transform (a scale of 0) no point corresponds and
    /// the result is NaN, which no bounds contain.
    QPointF fromSuperview(QPointF p) const;
    QPointF toSuperview(QPointF p) const;
    /// p in from's coordinates (nullptr: the window) to this view's coordinates.
    QPointF convertPointFrom(QPointF p, const View *from) const;
    /// p in this view's coordinates to to's coordinates (nullptr: the window).
    QPointF convertPointTo(QPointF p, const View *to) const;
    /// Bounding box of a rectangle converted from this view to another (nullptr: window).
    QRectF convertRectTo(const QRectF &r, const View *to) const;
    /// The topmost ancestor: the host's window view when the view is on screen.
    const View *window() const;
    View *window();

    // --- Appearance ---

    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    /// What a pointer resting over the view shows (empty: nothing of its own).
    virtual QString toolTip() const { return m_toolTip; }
    void setToolTip(const QString &text) { m_toolTip = text; }
    /// Transparent (an invalid or fully transparent colour) means no background.
    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor &color);
    bool clipsToBounds() const { return m_clipsToBounds; }
    /// Clips content and subviews (not the border) to the bounds, rounded by cornerRadius;
    /// removes the shadow. Hit testing is not affected.
    void setClipsToBounds(bool clips);
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode);

    // Layer look. The border lies inside the bounds and is drawn over everything.
    double borderWidth() const { return m_borderWidth; }
    void setBorderWidth(double width);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &color);
    double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    // Shadow: none while shadowOpacity is 0. Offset (0, −3) puts it above the view by
    // default; the radius is the Gaussian's standard deviation in points. Without a path the
    // shape is the view's own drawn alpha.
    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor &color);
    QPointF shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(QPointF offset);
    double shadowOpacity() const { return m_shadowOpacity; }
    void setShadowOpacity(double opacity);
    double shadowRadius() const { return m_shadowRadius; }
    void setShadowRadius(double radius);
    const QPainterPath &shadowPath() const { return m_shadowPath; }
    /// In bounds coordinates; an empty path means "no path".
    void setShadowPath(const QPainterPath &path);

    // --- Interaction ---

    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    /// Off: touch handlers see only the first finger (recognisers still see every finger).
    bool isMultipleTouchEnabled() const { return m_multipleTouchEnabled; }
    void setMultipleTouchEnabled(bool enabled) { m_multipleTouchEnabled = enabled; }

    // --- Tree ---

    View *superview() const { return m_superview; }
    /// A copy of the subviews, back to front: safe to iterate while changing the tree.
    std::vector<ViewPtr> subviews() const { return m_subviews; }
    int subviewCount() const { return int(m_subviews.size()); }
    View *subviewAt(int index) const;
    /// Appends (front-most), first taking the view from any other superview; a view already
    /// here moves to the front. Adding a view to itself or to its own descendant is ignored.
    void addSubview(const ViewPtr &view);
    /// Index clamped to [0, count]. The view first leaves its previous place.
    void insertSubview(const ViewPtr &view, int index);
    void insertSubviewAbove(const ViewPtr &view, const View *sibling);
    void insertSubviewBelow(const ViewPtr &view, const View *sibling);
    void removeFromSuperview();
    void removeAllSubviews();
    void bringSubviewToFront(const View *view);
    void sendSubviewToBack(const View *view);
    int indexOfSubview(const View *view) const;
    bool isDescendantOf(const View *ancestor) const;
    /// This view if its tag is tag, else a depth-first, pre-order search of the subviews.
    View *viewWithTag(int tag);
    /// The shared handle of this view (null for a view not created by make_shared).
    ViewPtr sharedFromThis() { return weak_from_this().lock(); }

    // --- Autoresizing ---

    AutoresizingMask autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(AutoresizingMask mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool on) { m_autoresizesSubviews = on; }

    // --- Hit testing and touches ---

    /// p in this view's coordinates. Hidden, non-interactive and nearly transparent
    /// (alpha < 0.01) views and their subtrees are skipped; subviews are tried front-most
    /// first.
    virtual View *hitTest(QPointF p);
    /// Default: the bounds contain p (half-open).
    virtual bool pointInside(QPointF p) const;

    /// Raw touches. The default passes them to the touch handler when one is set, else to
    /// the superview (the responder chain).
    virtual void touchesBegan(const TouchSet &touches);
    virtual void touchesMoved(const TouchSet &touches);
    virtual void touchesEnded(const TouchSet &touches);
    virtual void touchesCancelled(const TouchSet &touches);
    using TouchHandler = std::function<void(TouchPhase phase, const TouchSet &touches)>;
    /// Lets a screen handle this view's touches without subclassing.
    void setTouchHandler(TouchHandler handler) { m_touchHandler = std::move(handler); }

    /// True when a recogniser on an ancestor must leave this touch to this view: a control's
    /// own gesture (a tap on a button, a drag of a slider's thumb).
    virtual bool ownsGesture(const GestureRecognizer & /*ancestorRecognizer*/, const Touch & /*touch*/) const
    {
        return false;
    }

    void addGestureRecognizer(const std::shared_ptr<GestureRecognizer> &recognizer);
    void removeGestureRecognizer(const GestureRecognizer *recognizer);
    const std::vector<std::shared_ptr<GestureRecognizer>> &gestureRecognizers() const { return m_recognizers; }
    /// Removes every recogniser of type T (e.g. all pinch recognisers); returns how many.
    template <typename T>
    int removeGestureRecognizers();

    // --- Keyboard focus ---

    virtual bool canBecomeFirstResponder() const { return false; }
    /// Takes the keyboard focus of the host this view is in (or the current host).
    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const;
    /// Called when the focus arrives or leaves.
    virtual void focusChanged(bool /*focused*/) {}
    /// Keys reach the focused view first; returning false passes them to the superview.
    virtual bool keyPressEvent(QKeyEvent *event);
    virtual bool keyReleaseEvent(QKeyEvent *event);
    virtual bool inputMethodEvent(QInputMethodEvent *event);
    virtual QVariant inputMethodQuery(int query) const;
    /// True for views that take typed text (the host then enables the input method).
    virtual bool acceptsTextInput() const { return false; }

    // --- Drawing ---

    /// Draws this view (not its own centre, transform, alpha or hidden flag) and its subtree
    /// in its bounds coordinates, from the model values: transitions in flight are ignored.
    /// The painter's transform and clip apply, so a caller may translate or scale first.
    void renderInContext(QPainter &painter) const;
    /// renderInContext into a new transparent picture of size points at scale.
    Picture renderToPicture(QSizeF size, double scale = 1.0) const;
    /// As renderInContext, but with transitions in flight drawn at the clock's time.
    void renderPresentation(QPainter &painter) const;
    /// Asks the host for a repaint; setters call it themselves.
    void setNeedsDisplay() const;
    /// Bounding box, in bounds coordinates, of everything the subtree may draw (bounds,
    /// unclipped subviews, shadows).
    QRectF drawingBounds() const;

    // --- Transitions ---

    /// Animates this view from its look now to its look once the current turn of the event
    /// loop has ended, in its place, for the transition's duration on the current clock.
    /// The model changes at once; hit testing sees the new tree.
    void addTransition(const Transition &transition);
    bool hasTransition() const { return m_transition != nullptr; }
    void removeAllTransitions();

    // --- Host ---

    /// The host whose window holds this view, or nullptr.
    Host *host() const;

protected:
    /// Custom drawing in bounds coordinates (drawRect). The default draws nothing.
    virtual void drawContent(QPainter &painter) const;
    /// Drawing over the subviews, under the border (scroll indicators).
    virtual void drawOverlay(QPainter &painter) const;
    /// Called after the bounds size changed and the subviews were autoresized.
    virtual void layoutSubviews() {}
    /// Called after the bounds origin moved (a scroll view scrolled).
    virtual void boundsOriginChanged() {}
    /// The size a view accepts when its size is set (fixed-size controls override it).
    virtual QSizeF adjustedSize(QSizeF requested) const { return requested; }
    /// Called after the view joined or left a superview.
    virtual void didMoveToSuperview() {}
    /// Whether the content, drawn alone, needs no group for alpha (one opaque-free draw).
    virtual bool drawsContent() const { return false; }

    /// Passes touches one step up the responder chain.
    void forwardTouches(TouchPhase phase, const TouchSet &touches);

private:
    friend class Host;
    friend class ViewPainter;

    void detach();
    void resizeSubviews(QSizeF oldSize);
    void setBoundsSize(QSizeF size);

    QRectF m_bounds;
    QPointF m_center;
    AffineTransform m_transform;
    double m_alpha = 1;
    bool m_hidden = false;
    QString m_toolTip;
    int m_tag = 0;
    QColor m_backgroundColor = Qt::transparent;
    bool m_clipsToBounds = false;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
    double m_borderWidth = 0;
    QColor m_borderColor = Qt::black;
    double m_cornerRadius = 0;
    QColor m_shadowColor = Qt::black;
    QPointF m_shadowOffset{0, -3};
    double m_shadowOpacity = 0;
    double m_shadowRadius = 3;
    QPainterPath m_shadowPath;
    bool m_userInteractionEnabled = true;
    bool m_multipleTouchEnabled = false;
    AutoresizingMask m_autoresizingMask = AutoresizingNone;
    bool m_autoresizesSubviews = true;

    View *m_superview = nullptr;
    std::vector<ViewPtr> m_subviews;
    std::vector<std::shared_ptr<GestureRecognizer>> m_recognizers;
    TouchHandler m_touchHandler;
    Host *m_host = nullptr; // set on the window view only
    std::unique_ptr<TransitionState> m_transition;
    mutable std::shared_ptr<struct ShadowCache> m_shadowCache;
};

template <typename T>
int View::removeGestureRecognizers()
{
    std::vector<const GestureRecognizer *> doomed;
    for (const auto &r : m_recognizers)
        if (dynamic_cast<const T *>(r.get()))
            doomed.push_back(r.get());
    for (const GestureRecognizer *r : doomed)
        removeGestureRecognizer(r);
    return int(doomed.size());
}

} // namespace vimora::ui
