#include "app/application_shell.h"

#include <QCoreApplication>

#include "app/rotate_me.h"
#include "app/termination_signals.h"
#include "app/top.h"
#include "app/vimora_app_delegate.h"
#include "picker/library_photo_picker.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/resources.h"
#include "platform/settings.h"

namespace vimora {

namespace {
// Each profile keeps its own window size, written as "WIDTHxHEIGHT" for the portrait screen.
QString windowSizeKey(ui::DeviceProfile profile)
{
    return QStringLiteral("WindowSize/") + ui::deviceProfileName(profile);
}

QSize storedSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    bool wide = false, tall = false;
    const QSize size = parts.size() == 2 ? QSize(parts[0].toInt(&wide), parts[1].toInt(&tall)) : QSize();
    return wide && tall ? size : QSize();
}

// The "@2x" pictures pay off where a point covers more than one and a half device pixels;
// below 0.85 the plain pictures' captions would fall under nine device pixels.
constexpr double kDoubleArtworkAbove = 1.5;
constexpr double kSmallScreenBelow = 0.85;

void chooseArtwork(const ui::WindowHost &host)
{
    Resources::setPreferredScale(host.renderScale() > kDoubleArtworkAbove ? 2 : 1);
    Resources::setSmallScreen(host.renderScale() < kSmallScreenBelow);
}
} // namespace

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
    m_host->restoreWindowSize(storedSize(Settings::shared().stringForKey(windowSizeKey(profile))));
    // Chosen before the screens load their pictures; pictures loaded after a resize follow it.
    chooseArtwork(*m_host);
    m_host->setWindowResizedHandler([this, profile](QSize size, bool fullScreen) {
        chooseArtwork(*m_host);
        if (fullScreen)
            return;
        if (m_host->isLandscape())
            size.transpose();
        Settings::shared().setString(windowSizeKey(profile), QStringLiteral("%1x%2").arg(size.width()).arg(size.height()));
    });
    // The library picker first; the file dialog for photos kept elsewhere.
    auto picker = std::make_unique<picker::LibraryPhotoPicker>(std::make_unique<FileDialogPhotoPicker>(m_host->widget()));
    m_libraryPicker = picker.get();
    PhotoPicker::setCurrent(std::move(picker));

    m_delegate = std::make_unique<VimoraAppDelegate>(*m_host);
    m_delegate->applicationDidFinishLaunchingWithOptions();
    m_host->setOrientationHandler([this](bool landscape) {
        m_delegate->orientationChanged(landscape);
        m_libraryPicker->orientationChanged();
    });

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

void ApplicationShell::openPhotos(const QStringList &paths)
{
    if (RotateMe *root = m_delegate->rotateLa())
        root->top().openPhotos(paths);
}

} // namespace vimora
