#pragma once

// Named transitions: a view animates from its look before a change to its look after it,
// in its own place and axes, for a duration on the current clock. View::addTransition
// snapshots "before" at once and "after" when the current turn of the event loop ends;
// the model changes at once, so hit testing sees the new tree straight away.
//
//   Fade    old cross-fades into new (subtype ignored)
//   MoveIn  new slides in from the subtype side over the still old
//   Push    new slides in from the subtype side, pushing old out of the opposite side
//   Reveal  old slides away towards the opposite side, uncovering the still new
//   Cube    the view is a face of a box turning in perspective; new arrives on the face
//           of the subtype side ("tubey" and "cube")
//   Ripple  rings spread from the middle, distorting old as new takes its place
//   Suck    old is pinched and drawn into a point near the bottom, uncovering new

#include <QImage>
#include <QRectF>
#include <QString>

#include "ui/clock.h"

class QPainter;

namespace vimora::ui {

enum class TransitionType { Fade, MoveIn, Push, Reveal, Cube, Ripple, Suck };
/// The side the motion starts from: FromRight means content travels right to left.
enum class TransitionSubtype { FromLeft, FromRight, FromTop, FromBottom };

class Transition
{
public:
    TransitionType type = TransitionType::Fade;
    TransitionSubtype subtype = TransitionSubtype::FromLeft;
    /// Seconds; 0 takes the enclosing transaction's duration (0.25 s by default).
    double duration = 0;

    Transition() = default;
    Transition(TransitionType type, TransitionSubtype subtype = TransitionSubtype::FromLeft, double duration = 0)
        : type(type)
        , subtype(subtype)
        , duration(duration)
    {
    }

    /// By the names the screens use: "fade", "moveIn", "push", "reveal", "cube", "tubey",
    /// "rippleEffect", "suckEffect" (any other name fades); subtypes "fromLeft",
    /// "fromRight", "fromTop", "fromBottom" (anything else: from the left).
    static Transition named(const QString &type, const QString &subtype = {}, double duration = 0);

    /// Transitions in flight in the process (hosts keep drawing frames while any are).
    static int activeCount();

    /// Draws one frame of the effect into rect (the view's bounds, local coordinates) from
    /// the two snapshots at progress 0..1; progress 0 is exactly before, 1 exactly after.
    static void drawFrame(QPainter &painter, TransitionType type, TransitionSubtype subtype, const QImage &before,
                          const QImage &after, const QRectF &rect, double progress);
};

/// A transition in flight on one view.
struct TransitionState
{
    TransitionState();
    ~TransitionState();
    TransitionState(const TransitionState &) = delete;
    TransitionState &operator=(const TransitionState &) = delete;

    Transition transition;
    QImage before, after; // snapshots of the bounds at the host's render scale
    QRectF rect;          // the bounds they cover
    double duration = 0.25;
    double start = 0;     // clock time the animation started (after the "after" snapshot)
    bool started = false;
    ScheduledCall end;

    /// Progress 0..1 at clock time now (0 before it started).
    double progress(double now) const;
};

} // namespace vimora::ui
