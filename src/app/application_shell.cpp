#include "app/application_shell.h"

#include <QCoreApplication>

#include "app/termination_signals.h"
#include "app/vimora_app_delegate.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/settings.h"

namespace vimora {

ApplicationShell::ApplicationShell(ui::DeviceProfile profile)
    : m_context(std::make_unique<QObject>())
{
    Device::setProfile(profile);
    Device::setOrientation(InterfaceOrientation::Portrait);
    if (!AppHome::ensureFolders())
        logLine(QStringLiteral("cannot create the application folders in %1").arg(AppHome::root()));
    // The file-dialog picker has no camera source: the home screen disables its camera
    // button unless VIMORA_CAMERA=1 asks to show it enabled.
    if (qEnvironmentVariable("VIMORA_CAMERA") != QLatin1String("1"))
        Device::setCameraAvailable(false);

    m_host = std::make_unique<ui::WindowHost>(profile);
    m_host->setTitle(QStringLiteral("Vimora"));
    PhotoPicker::setCurrent(std::make_unique<FileDialogPhotoPicker>(m_host->widget()));

    m_delegate = std::make_unique<VimoraAppDelegate>(*m_host);
    m_delegate->applicationDidFinishLaunchingWithOptions();
    m_host->setOrientationHandler([this](bool landscape) { m_delegate->orientationChanged(landscape); });

    // Closing the window quits the loop (the last window closed); Ctrl+Q and a signal quit
    // it too. Every way out runs the clean-up below.
    TerminationSignals::install();
    m_host->setKeyCommand(QKeyCombination(Qt::ControlModifier, Qt::Key_Q), [] { QCoreApplication::quit(); });
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_context.get(), [this] {
        m_delegate->applicationWillTerminate();
    });
}

ApplicationShell::~ApplicationShell()
{
    m_context.reset();
    PhotoPicker::setCurrent(nullptr);
    m_delegate.reset();
    m_host.reset();
}

void ApplicationShell::show()
{
    m_host->show();
}

} // namespace vimora
