#pragma once

#include <memory>

#include "ui/popover_panel.h"
#include "ui/view.h"

namespace vimora::ui {

class Popover;

/// Told when the user closes a popover by tapping outside it. Dismissing in code tells
/// nobody.
class PopoverDelegate
{
public:
    virtual ~PopoverDelegate() = default;
    /// Asked on a tap outside; false keeps the popover up.
    virtual bool popoverControllerShouldDismissPopover(Popover & /*popover*/) { return true; }
    /// The popover has gone after a tap outside it.
    virtual void popoverControllerDidDismissPopover(Popover & /*popover*/) {}
};

/// Where a popover's panel goes.
struct PopoverPlacement
{
    QRectF frame;                 // window coordinates, arrow included
    PopoverArrowDirection direction = PopoverArrowDirectionUnknown;
    double arrowOffset = 0;       // along the arrow's side, panel coordinates
    QSizeF contentSize;           // the content size, shrunk when the screen is too small
};

/// Places a panel for content presented from anchor (window coordinates) on a screen.
/// Only the part of the anchor on screen counts (the whole anchor when none of it is). The
/// permitted directions are tried in the order up, down, left, right; the first whose side
/// of the anchor holds the whole panel within kScreenMargin of the screen's edges wins,
/// else the one with the most room, the content shrunk to fit. The arrow's tip touches the
/// middle of the anchor's facing side; the panel slides along that side to stay on screen
/// and the arrow stays clear of the rounded corners.
PopoverPlacement placePopover(QSizeF screen, const QRectF &anchor, QSizeF contentSize,
                              PopoverArrowDirections permitted);

/// A floating panel holding a content view, presented from a rectangle of a view with an
/// arrow pointing at it, over the screen of that view's host. A tap anywhere outside the
/// panel dismisses it (the delegate may refuse first and is told after) and goes no
/// further; touches inside reach the content. Nothing behind is dimmed. Alerts presented
/// later still come in front.
class Popover
{
public:
    static constexpr double kScreenMargin = 10;
    static constexpr double kFadeDuration = 0.2;

    explicit Popover(const ViewPtr &contentView = {});
    /// Takes the panel away at once if it is still shown.
    ~Popover();
    Popover(const Popover &) = delete;
    Popover &operator=(const Popover &) = delete;

    ViewPtr contentView() const { return m_panel->contentView(); }
    void setContentView(const ViewPtr &view);
    /// Default 320 × 480.
    QSizeF popoverContentSize() const { return m_contentSize; }
    /// While shown, the panel is placed again from the same rectangle.
    void setPopoverContentSize(QSizeF size, bool animated = false);
    PopoverDelegate *delegate() const { return m_delegate; }
    void setDelegate(PopoverDelegate *delegate) { m_delegate = delegate; }

    /// Shows the panel, rect being in view's bounds coordinates; presenting again moves it.
    /// Nothing happens for a view that is on no host and when there is no current host.
    void presentPopoverFromRect(const QRectF &rect, View *view, PopoverArrowDirections directions, bool animated);
    void dismissPopoverAnimated(bool animated);
    bool isPopoverVisible() const { return m_visible; }
    /// The arrow's direction while shown, else Unknown.
    PopoverArrowDirection popoverArrowDirection() const;

    /// The panel view (its frame is in window coordinates while shown).
    PopoverPanel &panel() { return *m_panel; }

private:
    void place();
    void tappedOutside();
    void takeDown(bool animated);

    std::shared_ptr<PopoverPanel> m_panel;
    ViewPtr m_layer;
    QSizeF m_contentSize{320, 480};
    PopoverDelegate *m_delegate = nullptr;
    QRectF m_anchor; // window coordinates
    PopoverArrowDirections m_permitted = PopoverArrowDirectionAny;
    bool m_visible = false;
};

} // namespace vimora::ui
