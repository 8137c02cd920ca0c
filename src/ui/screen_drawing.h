#pragma once

namespace vimora::ui {

/// While one lives on this thread, views are being drawn for the screen rather than into a
/// picture to keep: text keeps a legible size and a picture being pinched may be drawn from a
/// nearby copy. The hosts hold one while they draw a frame; captures for saving hold none, so
/// what is saved does not depend on the window or on the gestures before it.
class ScreenDrawing
{
public:
    ScreenDrawing();
    ~ScreenDrawing();
    ScreenDrawing(const ScreenDrawing &) = delete;
    ScreenDrawing &operator=(const ScreenDrawing &) = delete;

    static bool active();

private:
    bool m_previous;
};

} // namespace vimora::ui
