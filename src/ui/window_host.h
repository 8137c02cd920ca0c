#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QString>

#include "ui/clock.h"
#include "ui/device_profile.h"
#include "ui/headless_host.h"
#include "ui/host.h"

class QWidget;

namespace vimora::ui {

/// One top-level window the size of the device profile's screen, showing the root view.
/// Input becomes touches: mouse press, drag and release are one finger (a double click
/// begins a touch with tap count 2), Ctrl + wheel and touchpad pinches are a two-finger
/// pinch about the pointer, a plain wheel scrolls the scroll view under the pointer, real
/// multi-touch gives real fingers, and keys go to the view with keyboard focus (Ctrl+R turns
/// a tablet when no view takes it). While that view takes text, the platform input method
/// is on and its compositions reach the view. The window repaints
/// only when a view asked, at most kMaxFramesPerSecond, and keeps drawing frames while a
/// transition runs; it draws at the screen's device pixel ratio.
class WindowHost : private detail::ClockHolder<SystemClock>, public Host
{
public:
    static constexpr double kMaxFramesPerSecond = 60;
    /// Half the distance between the two fingers a wheel pinch starts with.
    static constexpr double kWheelPinchHalfSpan = 60;
    /// A wheel pinch ends this long after the last wheel step.
    static constexpr double kWheelPinchIdle = 0.25;
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
    void setTitle(const QString &title);
    void show();

    void setScreenSize(QSizeF size) override;
    void setNeedsRepaint() override;
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
    std::unique_ptr<HostWidget> m_widget;
};

} // namespace vimora::ui
