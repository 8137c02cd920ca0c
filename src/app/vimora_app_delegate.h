#pragma once

// The application delegate: builds the root controller into the window, sizes the main
// view for the device, and runs the clean-up when the application terminates.

#include <memory>

#include "ui/host.h"
#include "ui/image_view.h"

namespace vimora {

class RotateMe;

class VimoraAppDelegate
{
public:
    explicit VimoraAppDelegate(ui::Host &window);
    ~VimoraAppDelegate();
    VimoraAppDelegate(const VimoraAppDelegate &) = delete;
    VimoraAppDelegate &operator=(const VimoraAppDelegate &) = delete;

    /// Makes the root controller the window's root and lays out the main view, and takes
    /// photo files dropped on the window and Ctrl+O to the home screen; true.
    bool applicationDidFinishLaunchingWithOptions();
    /// Frees a 48-point strip at the top of a small phone screen (true) or takes it back.
    void zoADStatus(bool status);
    /// Empties tmp/ (and Documents/ when the user asked for it).
    void applicationWillTerminate();
    /// The window turned; the root controller lays the screens out again.
    void orientationChanged(bool landscape);

    void applicationWillResignActive() {}
    void applicationDidEnterBackground() {}
    void applicationWillEnterForeground() {}
    void applicationDidBecomeActive() {}
    void applicationDidReceiveMemoryWarning() {}

    ui::Host &window() const { return m_window; }
    std::shared_ptr<ui::ImageView> mainView() const { return m_mainView; }
    RotateMe *rotateLa() const { return m_rotateLa.get(); }

private:
    ui::Host &m_window;
    std::shared_ptr<ui::ImageView> m_mainView;
    std::unique_ptr<RotateMe> m_rotateLa;
    bool m_terminated = false;
};

} // namespace vimora
