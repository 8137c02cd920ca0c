#pragma once

#include <map>

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

/// The value set for state, else the one for Normal; nullptr when neither is set.
template <typename T>
const T *findForState(const std::map<ControlState, T> &values, ControlState state)
{
    auto it = values.find(state);
    if (it == values.end())
        it = values.find(ControlStateNormal);
    return it == values.end() ? nullptr : &it->second;
}

/// As findForState, with an empty value when neither is set.
template <typename T>
T valueForState(const std::map<ControlState, T> &values, ControlState state)
{
    const T *value = findForState(values, state);
    return value ? *value : T();
}

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
