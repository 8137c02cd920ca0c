#include "app/vimora_app_delegate.h"

#include "editor/cut_image.h"

#include "app/rotate_me.h"
#include "app/top.h"
#include "platform/device.h"
#include "store/cleanup.h"

namespace vimora {

VimoraAppDelegate::VimoraAppDelegate(ui::Host &window)
    : m_window(window)
{
}

VimoraAppDelegate::~VimoraAppDelegate()
{
    // The window may outlive the screens its handlers reach.
    m_window.setFilesDroppedHandler(nullptr);
    m_window.setKeyCommand(QKeyCombination(Qt::ControlModifier, Qt::Key_O), nullptr);
}

bool VimoraAppDelegate::applicationDidFinishLaunchingWithOptions()
{
    m_rotateLa = std::make_unique<RotateMe>();
    const ui::ViewPtr root = m_rotateLa->view();
    m_window.setRootView(root);
    root->setBackgroundColor(Qt::transparent);
    m_mainView = m_rotateLa->shell().mainView;
    root->addSubview(m_mainView);

    const double side = Device::windowSide(Device::profile());
    m_mainView->setFrame(QRectF(0, 0, side, side));
    m_mainView->setContentMode(ui::ContentMode::ScaleAspectFill);
    m_mainView->setBackgroundColor(Qt::black);
    root->bringSubviewToFront(m_mainView.get());

    // Files dropped on the window and Ctrl+O take the home screen's Album road.
    Top *top = &m_rotateLa->top();
    m_window.setFilesDroppedHandler([top](const QStringList &paths) { top->openPhotos(paths); });
    m_window.setKeyCommand(QKeyCombination(Qt::ControlModifier, Qt::Key_O), [top] { top->openPicker(); });
    // The title names the photo being edited and marks changes not saved yet.
    m_rotateLa->draw().setOnTitleChanged([this](const QString &title) { m_window.setTitle(title); });
    return true;
}

void VimoraAppDelegate::zoADStatus(bool status)
{
    if (!m_rotateLa)
        return;
    m_rotateLa->view()->setFrame(status ? QRectF(0, 48, 320, 432) : QRectF(0, 0, 320, 480));
}

void VimoraAppDelegate::applicationWillTerminate()
{
    // Window close and a termination signal may both arrive; clean once.
    if (m_terminated)
        return;
    m_terminated = true;
    terminationCleanup();
}

void VimoraAppDelegate::orientationChanged(bool landscape)
{
    const InterfaceOrientation orientation = landscape ? InterfaceOrientation::LandscapeLeft : InterfaceOrientation::Portrait;
    if (!m_rotateLa || !m_rotateLa->shouldAutorotateToInterfaceOrientation(orientation))
        return;
    Device::setOrientation(orientation);
    m_rotateLa->willAnimateRotationToInterfaceOrientation(orientation, 0.3);
}

} // namespace vimora
