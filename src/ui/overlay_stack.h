#pragma once

// Panels laid over a screen (help cards, lists, popovers, readers) close the same three
// ways: by their own close control, by a tap outside them, and by Escape, which closes the
// most recently opened panel that is still shown. The screen that owns a panel opens it
// here with the action that closes it; the stack calls that action for the outside tap and
// for Escape, and the owner's close control calls it too.

#include <functional>
#include <memory>
#include <vector>

#include "ui/view.h"

namespace vimora::ui {

class OverlayStack
{
public:
    enum class OutsideTap {
        Closes,  // a clear backdrop behind the panel takes the tap and closes the panel
        Ignored, // the panel handles what lies outside it itself (a popover's own layer)
    };
    using CloseAction = std::function<void()>;
    /// Window points the backdrop lets through to what lies behind (a layer that still drags).
    using PassThrough = std::function<bool(QPointF windowPoint)>;

    OverlayStack();
    ~OverlayStack();
    OverlayStack(const OverlayStack &) = delete;
    OverlayStack &operator=(const OverlayStack &) = delete;

    /// The stack of the host view is on (else the current host's; else one kept for views
    /// that are on no host).
    static OverlayStack &of(const View *view);

    /// Registers panel as open, on top. The backdrop of OutsideTap::Closes goes into the
    /// panel's superview just behind it, covering that superview: a touch there, outside the
    /// panel and the views in front of it, runs close and goes no further. Opening a panel
    /// that is open again moves it to the top with a fresh backdrop. Call it after the panel
    /// is in its superview. Points passThrough accepts go by the backdrop untouched.
    void open(const ViewPtr &panel, CloseAction close, OutsideTap outside = OutsideTap::Closes, PassThrough passThrough = {});
    /// The owner closed the panel: forget it and take its backdrop away. Unknown panels are
    /// ignored. A panel found hidden or off screen is forgotten anyway.
    void closed(const View *panel);
    /// Runs the close action of the most recently opened panel still shown; false when
    /// there is none.
    bool closeTopmost();
    /// Closes every panel still shown, the most recent first.
    void closeAll();

    bool isOpen(const View *panel) const;
    /// Panels open and shown.
    int count() const;
    /// The backdrop behind a panel (nullptr when none).
    View *backdropOf(const View *panel) const;
    /// Whether view is the backdrop of an open panel (what lies behind it is out of reach on
    /// purpose: a tap there closes the panel).
    bool isBackdrop(const View *view) const;

private:
    struct Entry;
    using Entries = std::vector<std::shared_ptr<Entry>>;
    /// The panel's entry; open keeps at most one per panel.
    Entries::const_iterator entryOf(const View *panel) const;
    void prune();
    void runClose(const View *panel);

    Entries m_entries; // oldest first
};

/// True when view and all its ancestors are shown and it hangs in a host's window.
bool isShownOnScreen(const View &view);

} // namespace vimora::ui
