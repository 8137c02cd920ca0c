#include "picker/qv_image_picker_controller.h"

#include "picker/qv_ipc_albums_controller.h"
#include "picker/qv_ipc_assets_controller.h"
#include "picker/qv_ipc_grid_item.h"
#include "platform/device.h"
#include "platform/photo_picker.h"

namespace vimora::picker {

namespace {
StatusBarStyle g_statusBarStyle = StatusBarStyle::Default;
} // namespace

StatusBarStyle currentStatusBarStyle()
{
    return g_statusBarStyle;
}

QvImagePickerController::QvImagePickerController(QvImagePickerControllerDelegate *delegate, DidFailBlock failureBlock,
                                                 DidFinishBlock successBlock, unsigned maximumNumberOfPhotos,
                                                 bool shouldChangeStatusBarStyle,
                                                 std::optional<std::vector<QvIPCToolbarItem>> toolbarItemsForSelection,
                                                 bool shouldDisplaySelectionInformation)
    : m_delegate(delegate)
    , m_didFailBlock(std::move(failureBlock))
    , m_didFinishBlock(std::move(successBlock))
    , m_maximumNumberOfPhotos(maximumNumberOfPhotos)
    , m_shouldDisplaySelectionInformation(shouldDisplaySelectionInformation)
    , m_toolbarItemsForSelection(std::move(toolbarItemsForSelection))
    , m_oldStatusBarStyle(g_statusBarStyle)
    , m_libraryFolder(PhotoLibrary::folder())
    , m_extraFolders{userPicturesFolder()}
{
    navigationBar().setBarStyle(ui::BarStyle::Black);
    navigationBar().setTranslucent(true);
    toolbar().setBarStyle(ui::BarStyle::Black);
    toolbar().setTranslucent(true);
    setShouldChangeStatusBarStyle(shouldChangeStatusBarStyle);
    m_albums = std::make_shared<QvIPCAlbumsController>(*this);
    setScreens({m_albums});
}

QvImagePickerController::~QvImagePickerController()
{
    if (m_shouldChangeStatusBarStyle)
        g_statusBarStyle = m_oldStatusBarStyle;
}

void QvImagePickerController::setShouldChangeStatusBarStyle(bool change)
{
    if (change == m_shouldChangeStatusBarStyle)
        return;
    m_shouldChangeStatusBarStyle = change;
    g_statusBarStyle = change ? (isDeviceiPad() ? StatusBarStyle::BlackOpaque : StatusBarStyle::LightContent) : m_oldStatusBarStyle;
}

void QvImagePickerController::setLibrary(const QString &folder, const QStringList &extraFolders)
{
    m_libraryFolder = folder;
    m_extraFolders = extraFolders;
    if (m_albums->isViewLoaded())
        m_albums->reloadAlbums();
}

int QvImagePickerController::numberOfSelections() const
{
    const auto grid = std::dynamic_pointer_cast<QvIPCAssetsController>(topScreen());
    return grid ? grid->numberOfSelections() : 0;
}

void QvImagePickerController::prepareToReport()
{
    // The grid and its ticks go with it, so the count starts again at zero.
    popToRootScreen(false);
}

void QvImagePickerController::finishPicking(const std::vector<PhotoAsset> &assets)
{
    prepareToReport();
    // The callbacks may close and destroy this picker: take copies first.
    auto *delegate = m_delegate;
    const auto block = m_didFinishBlock;
    if (delegate)
        delegate->qvImagePickerController(*this, assets);
    if (block)
        block(assets);
}

void QvImagePickerController::cancel()
{
    prepareToReport();
    auto *delegate = m_delegate;
    const auto block = m_didFailBlock;
    if (delegate)
        delegate->qvImagePickerController(*this, std::optional<QString>());
    if (block)
        block(std::nullopt);
}

void QvImagePickerController::fail(const QString &error)
{
    prepareToReport();
    auto *delegate = m_delegate;
    const auto block = m_didFailBlock;
    if (delegate)
        delegate->qvImagePickerController(*this, std::optional<QString>(error));
    if (block)
        block(error);
}

void QvImagePickerController::layoutSubviews()
{
    NavigationController::layoutSubviews();
    // A screen loaded while the picker had no size yet would keep a stale width.
    if (const auto top = topScreen(); top && top->isViewLoaded() && top->view()->superview())
        top->view()->setFrame(top->view()->superview()->bounds());
}

void QvImagePickerController::orientationChanged()
{
    if (auto grid = std::dynamic_pointer_cast<QvIPCAssetsController>(topScreen()))
        grid->reloadGrid();
}

} // namespace vimora::picker
