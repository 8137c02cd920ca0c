#pragma once

namespace vimora::ui {

/// Control state bits; a control's state is their bit-or. Per-state values are looked up
/// for the exact state, else for Normal.
enum ControlStateFlag : unsigned {
    ControlStateNormal = 0,
    ControlStateHighlighted = 1u << 0,
    ControlStateDisabled = 1u << 1,
    ControlStateSelected = 1u << 2,
};
using ControlState = unsigned;

/// Control event bits; targets register for a mask of them.
enum ControlEvent : unsigned {
    ControlEventTouchDown = 1u << 0,
    ControlEventTouchDownRepeat = 1u << 1,
    ControlEventTouchDragInside = 1u << 2,
    ControlEventTouchDragOutside = 1u << 3,
    ControlEventTouchDragEnter = 1u << 4,
    ControlEventTouchDragExit = 1u << 5,
    ControlEventTouchUpInside = 1u << 6,
    ControlEventTouchUpOutside = 1u << 7,
    ControlEventTouchCancel = 1u << 8,
    ControlEventValueChanged = 1u << 12,
    ControlEventAllTouchEvents = 0x0fffu,
    ControlEventAllEvents = 0xffffffffu,
};
using ControlEvents = unsigned;

} // namespace vimora::ui
