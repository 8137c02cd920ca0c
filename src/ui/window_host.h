#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QString>

#include "ui/clock.h"
#include "ui/device_profile.h"
#include "ui/headless_host.h"
#include "ui/host.h"
#include "ui/screen_fit.h"

class QWidget;

namespace vimora::ui {

/// One top-level window showing the device profile's screen. The screen keeps its size in
/// points whatever the window's size: it is drawn scaled by one factor to fit the window,
/// centred, with the window view's background colour in the bars the aspect leaves free
/// (see ScreenFit). The first window is the largest that fits the available screen area at
/// up to one logical pixel per point; the user may resize it freely, F11 toggles full screen
/// and Ctrl+0 returns to the best fit (both before any view sees the key).
///
/// Input is mapped through the same factor and becomes touches: mouse press, drag and release
/// are one finger (a double click begins a touch with tap count 2), Ctrl + wheel and touchpad
/// pinches are a two-finger pinch about the pointer, a plain wheel scrolls the scroll view
/// under the pointer, real multi-touch gives real fingers, and keys go to the view with
/// keyboard focus (Ctrl+R turns a tablet when no view takes it). A press or touch that starts
/// in the letterbox goes nowhere. While the focused view takes text, the platform input method
/// is on and its compositions reach the view. The window repaints only when a view asked, at
/// most kMaxFramesPerSecond, and keeps drawing frames while a transition runs; vector drawing
/// and text are drawn at the device pixel scale, so they stay sharp at any factor.
class WindowHost : private detail::ClockHolder<SystemClock>, public Host
{
public:
    static constexpr double kMaxFramesPerSecond = 60;
    /// Half the distance between the two fingers a wheel pinch starts with.
    static constexpr double kWheelPinchHalfSpan = 60;
    /// A wheel pinch ends this long after the last wheel step.
    static constexpr double kWheelPinchIdle = 0.25;
    /// Height kept free for the window's title bar before the window manager has said how
    /// tall its frame is.
    static constexpr int kFrameAllowance = 40;
    /// The window never shrinks below this many logical pixels on a side.
    static constexpr int kMinimumWindowSide = 64;
    /// Scale per wheel notch (120 units of angle delta).
    static constexpr double kWheelPinchStep = 1.1;
    /// Points a plain wheel notch scrolls the scroll view under the pointer.
    static constexpr double kWheelScrollStep = 40;

    explicit WindowHost(DeviceProfile profile = DeviceProfile::Tablet, const ViewPtr &root = {});
    ~WindowHost() override;

    DeviceProfile deviceProfile() const { return m_profile; }
    bool isLandscape() const { return m_landscape; }
    /// Turns a tablet (phones stay portrait): resizes the window and the root view.
    void setLandscape(bool landscape);
    /// Called after the orientation changed, with the new one.
    void setOrientationHandler(std::function<void(bool landscape)> handler) { m_orientationHandler = std::move(handler); }

    QWidget *widget() const;
    void setTitle(const QString &title) override;
    void show();

    /// How the screen sits in the window now.
    ScreenFit screenFit() const;
    /// The window's size in logical pixels.
    QSize windowSize() const;
    /// Resizes the window (a size remembered from an earlier run); a size that is empty or
    /// larger than the available screen area gives the best fit instead.
    void restoreWindowSize(QSize size);
    /// Leaves full screen and resizes the window to the best fit (Ctrl+0).
    void fitToScreen();
    /// The best-fit window size for the current screen and orientation.
    QSize bestWindowSize() const;
    void toggleFullScreen();
    bool isFullScreen() const;
    /// Called after the window changed size, with its new size and whether it is full screen.
    void setWindowResizedHandler(std::function<void(QSize size, bool fullScreen)> handler)
    {
        m_resizedHandler = std::move(handler);
    }

    void setScreenSize(QSizeF size) override;
    void setNeedsRepaint() override;
    /// Device pixels per point: the window's factor times the display's pixel ratio.
    double renderScale() const override;

    /// Frames painted so far (the window repaints only on demand).
    int framesPainted() const;

    void updateInputMethod(bool resetComposition = false) override;

protected:
    /// Turns the platform input method on while a view that takes text has the focus.
    void focusViewChanged() override;

private:
    class HostWidget;
    friend class HostWidget;

    DeviceProfile m_profile;
    bool m_landscape = false;
    std::function<void(bool)> m_orientationHandler;
    std::function<void(QSize, bool)> m_resizedHandler;
    std::unique_ptr<HostWidget> m_widget;
};

} // namespace vimora::ui
