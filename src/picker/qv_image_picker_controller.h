#pragma once

// The multi-photo picker: a navigation stack of the album list and one album's grid, over
// the folder photo library. It reports the ticked photos to its delegate and its blocks.

#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "picker/photo_library_model.h"
#include "picker/qv_ipc_toolbar_item.h"
#include "ui/navigation_controller.h"

namespace vimora::picker {

class QvImagePickerController;
class QvIPCAlbumsController;

class QvImagePickerControllerDelegate
{
public:
    virtual ~QvImagePickerControllerDelegate() = default;
    /// Done: the ticked photos in grid order.
    virtual void qvImagePickerController(QvImagePickerController & /*picker*/, const std::vector<PhotoAsset> & /*didFinishPickingMediaWithInfo*/) {}
    /// Cancel (no error) or a library error.
    virtual void qvImagePickerController(QvImagePickerController & /*picker*/, const std::optional<QString> & /*didFail*/) {}
};

/// Status-bar styles; the picker switches to a dark one while open.
enum class StatusBarStyle { Default = 0, LightContent = 1, BlackOpaque = 2 };
StatusBarStyle currentStatusBarStyle();

class QvImagePickerController : public ui::NavigationController
{
public:
    using DidFinishBlock = std::function<void(const std::vector<PhotoAsset> &assets)>;
    using DidFailBlock = std::function<void(const std::optional<QString> &error)>;

    QvImagePickerController(QvImagePickerControllerDelegate *delegate, DidFailBlock failureBlock = {}, DidFinishBlock successBlock = {},
                            unsigned maximumNumberOfPhotos = 0, bool shouldChangeStatusBarStyle = false,
                            std::optional<std::vector<QvIPCToolbarItem>> toolbarItemsForSelection = std::nullopt,
                            bool shouldDisplaySelectionInformation = false);
    ~QvImagePickerController() override;

    QvImagePickerControllerDelegate *delegate() const { return m_delegate; }
    void setDelegate(QvImagePickerControllerDelegate *delegate) { m_delegate = delegate; }
    unsigned maximumNumberOfPhotos() const { return m_maximumNumberOfPhotos; }
    void setMaximumNumberOfPhotos(unsigned maximum) { m_maximumNumberOfPhotos = maximum; }
    bool shouldChangeStatusBarStyle() const { return m_shouldChangeStatusBarStyle; }
    void setShouldChangeStatusBarStyle(bool change);
    bool shouldShowSavedPhotosOnTop() const { return m_shouldShowSavedPhotosOnTop; }
    void setShouldShowSavedPhotosOnTop(bool onTop) { m_shouldShowSavedPhotosOnTop = onTop; }
    bool shouldDisplaySelectionInformation() const { return m_shouldDisplaySelectionInformation; }
    void setShouldDisplaySelectionInformation(bool display) { m_shouldDisplaySelectionInformation = display; }
    /// Not given: the standard Select All / Deselect All pair. Given but empty: no toolbar.
    const std::optional<std::vector<QvIPCToolbarItem>> &toolbarItemsForSelection() const { return m_toolbarItemsForSelection; }
    void setToolbarItemsForSelection(std::optional<std::vector<QvIPCToolbarItem>> items) { m_toolbarItemsForSelection = std::move(items); }
    /// Photos shown as already ticked.
    const std::vector<PhotoAsset> &selection() const { return m_selection; }
    void setSelection(const std::vector<PhotoAsset> &selection) { m_selection = selection; }
    DidFinishBlock didFinishBlock() const { return m_didFinishBlock; }
    void setDidFinishBlock(DidFinishBlock block) { m_didFinishBlock = std::move(block); }
    DidFailBlock didFailBlock() const { return m_didFailBlock; }
    void setDidFailBlock(DidFailBlock block) { m_didFailBlock = std::move(block); }
    StatusBarStyle oldStatusBarStyle() const { return m_oldStatusBarStyle; }

    /// The library this picker shows: its folder and the extra album folders.
    QString libraryFolder() const { return m_libraryFolder; }
    void setLibrary(const QString &folder, const QStringList &extraFolders);
    QStringList extraAlbumFolders() const { return m_extraFolders; }

    /// In a popover the grid is laid out for the popover's width instead of the screen's.
    void setGridWidth(std::optional<double> width) { m_gridWidth = width; }
    std::optional<double> gridWidth() const { return m_gridWidth; }

    QvIPCAlbumsController &albumsController() const { return *m_albums; }

    /// The photos ticked in the grid on show (none on the album list).
    int numberOfSelections() const;

    /// Finishing: each returns to the album list first, which drops the grid's ticks.
    void finishPicking(const std::vector<PhotoAsset> &assets);
    void cancel();
    void fail(const QString &error);

    /// The grid is laid out again for the new orientation.
    void orientationChanged();

protected:
    void layoutSubviews() override;

private:
    void prepareToReport();

    QvImagePickerControllerDelegate *m_delegate;
    DidFailBlock m_didFailBlock;
    DidFinishBlock m_didFinishBlock;
    unsigned m_maximumNumberOfPhotos;
    bool m_shouldChangeStatusBarStyle = false;
    bool m_shouldShowSavedPhotosOnTop = false;
    bool m_shouldDisplaySelectionInformation;
    std::optional<std::vector<QvIPCToolbarItem>> m_toolbarItemsForSelection;
    std::vector<PhotoAsset> m_selection;
    StatusBarStyle m_oldStatusBarStyle;
    QString m_libraryFolder;
    QStringList m_extraFolders;
    std::optional<double> m_gridWidth;
    std::shared_ptr<QvIPCAlbumsController> m_albums;
};

} // namespace vimora::picker
