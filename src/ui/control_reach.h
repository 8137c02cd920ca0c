#pragma once

// Whether every control on screen answers a touch where it is drawn. A touch is hit-tested
// down through a control's ancestors, each refusing a point outside its own bounds, so a
// control drawn outside its parent (which does not clip) shows but never answers; nor does
// one under a view in front of it that takes the touch.

#include <vector>

#include <QPointF>
#include <QString>

namespace vimora::ui {

class Host;
class View;

struct UnansweredControl
{
    const View *control = nullptr;
    QPointF centre;            ///< window point that was touched
    const View *hit = nullptr; ///< where the touch went instead (nullptr: nowhere)
    QString reason;            ///< "drawn outside <ancestor>", "covered by <view>", ...
};

/// The controls in the host's window that are drawn (not hidden or faded out, their centre on
/// the screen and inside every ancestor that clips, and in plain view: hiding one changes the
/// screen, and what is in front of it dims that change by less than half, so a panel laid
/// over it on purpose excuses it but a clear view does not), enabled and taking touches themselves,
/// that a touch at their centre does not reach. While a modal view is up only its own
/// controls count, and controls behind an open panel's backdrop or a popover's layer do not
/// count either: all are meant to be out of reach.
std::vector<UnansweredControl> unansweredControls(Host &host);

/// A short name for a view in a report: its class and, for a button, its title or tag.
QString describeView(const View &view);

} // namespace vimora::ui
