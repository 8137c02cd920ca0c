#pragma once

// The running application: one window for the device profile, the delegate and its root
// controller, the file-dialog photo picker, and the termination clean-up on window close
// and on SIGINT / SIGTERM.

#include <memory>

#include <QObject>
#include <QStringList>

#include "ui/device_profile.h"
#include "ui/window_host.h"

namespace vimora {

class VimoraAppDelegate;
namespace picker {
class LibraryPhotoPicker;
}

class ApplicationShell
{
public:
    /// Needs a QApplication. Sets the device profile, builds the window and launches.
    explicit ApplicationShell(ui::DeviceProfile profile);
    ~ApplicationShell();
    ApplicationShell(const ApplicationShell &) = delete;
    ApplicationShell &operator=(const ApplicationShell &) = delete;

    void show();
    /// Opens photos named on the command line as the Album's picker would (the first one).
    void openPhotos(const QStringList &paths);
    ui::WindowHost &host() { return *m_host; }
    VimoraAppDelegate &delegate() { return *m_delegate; }

private:
    std::unique_ptr<ui::WindowHost> m_host;
    std::unique_ptr<VimoraAppDelegate> m_delegate;
    std::unique_ptr<QObject> m_context;
    picker::LibraryPhotoPicker *m_libraryPicker = nullptr;
};

} // namespace vimora
