#pragma once

// The root controller: holds the home screen, the cut-out editor and the compositor for the
// whole run, with the shell's views each lays its own layers into, and tells the home screen and
// the editor when the device turns.

#include <memory>

#include "platform/device.h"
#include "screenkit/screen_views.h"

namespace vimora {

class AD;
class BackPhoto;
class CutImage;
class PhotoIntake;
class Top;

class RotateMe
{
public:
    /// Orientation mask bits: portrait 2, landscape left 16, landscape right 8.
    static constexpr int kMaskPortrait = 1 << 1;
    static constexpr int kMaskLandscapeLeft = 1 << 4;
    static constexpr int kMaskLandscapeRight = 1 << 3;

    /// Builds the views (a square of the window side) and the three screens, as loading
    /// the interface file did, then runs viewDidLoad.
    RotateMe();
    ~RotateMe();
    RotateMe(const RotateMe &) = delete;
    RotateMe &operator=(const RotateMe &) = delete;

    void viewDidLoad();

    bool shouldAutorotate() const { return true; }
    /// Tablets: portrait and both landscapes (26); phones: portrait only (2).
    int supportedInterfaceOrientations() const;
    bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation) const;
    /// Lays the home screen and the editor out for the new orientation.
    void willAnimateRotationToInterfaceOrientation(InterfaceOrientation orientation, double duration);

    ui::ViewPtr view() const { return m_shell.rootView; }
    /// The shell's views; each screen owns its layers.
    const ShellViews &shell() const { return m_shell; }
    Top &top() const { return *m_top; }
    CutImage &draw() const { return *m_draw; }
    BackPhoto &backPhoto() const { return *m_backPhoto; }
    PhotoIntake &intake() const { return *m_intake; }
    AD &ad() const { return *m_ad; }

private:
    ShellViews m_shell;
    std::unique_ptr<CutImage> m_draw;
    std::unique_ptr<BackPhoto> m_backPhoto;
    std::unique_ptr<PhotoIntake> m_intake;
    std::unique_ptr<AD> m_ad;
    std::unique_ptr<Top> m_top;
};

/// "portrait", "portrait upside down", "landscape left", "landscape right".
QString orientationName(InterfaceOrientation orientation);

} // namespace vimora
