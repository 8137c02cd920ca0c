#pragma once

// The picker's second screen: one album's photos as a grid of ticked or unticked
// thumbnails, Done on the right and the selection buttons in the toolbar.

#include <memory>
#include <vector>

#include "picker/grid_layout.h"
#include "picker/photo_library_model.h"
#include "picker/qv_ipc_grid_item.h"
#include "ui/job_runner.h"
#include "ui/navigation_screen.h"
#include "ui/table_view.h"

namespace vimora::picker {

class QvImagePickerController;

class QvIPCAssetsController : public ui::NavigationScreen, public ui::TableViewDataSource, public QvIPCGridItemDelegate
{
public:
    QvIPCAssetsController(QvImagePickerController &picker, const PhotoAlbum &assetsGroup);
    ~QvIPCAssetsController() override;

    const PhotoAlbum &assetsGroup() const { return m_album; }
    const std::vector<QvIPCGridItemPtr> &elements() const { return m_items; }
    bool isLoaded() const { return m_loaded; }
    ui::BarButtonItem &doneButton() const { return *m_done; }
    /// The photos ticked in this grid: a grid left by Back takes its ticks with it.
    int numberOfSelections() const { return m_numberOfSelections; }
    std::shared_ptr<ui::TableView> tableView() const { return m_table; }
    GridLayout layout() const;

    /// Makes the grid items of the given photos (what the worker's answer does).
    void setAssets(const std::vector<PhotoAsset> &assets);
    void selectAll() { setAllSelected([](const PhotoAsset &) { return true; }); }
    void deselectAll() { setAllSelected([](const PhotoAsset &) { return false; }); }
    void setAllSelected(const std::function<bool(const PhotoAsset &)> &rule);
    /// Finishes with the ticked photos; with none ticked it does nothing (never a cancel).
    void doneAction();
    /// Lays the grid out again (rotation, a new width).
    void reloadGrid();

    int numberOfRowsInSection(ui::TableView &tableView, int section) override;
    ui::TableViewCellPtr cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;
    bool qvGridItemCanSelect(QvIPCGridItem &item) override;
    void qvGridItem(QvIPCGridItem &item, int didChangeNumberOfSelections) override;

protected:
    ui::ViewPtr loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

private:
    void setUpToolbar();
    void loadAssets();
    void requestThumbnail(const QvIPCGridItemPtr &item);
    void showNumberOfSelections();

    QvImagePickerController &m_picker;
    PhotoAlbum m_album;
    std::shared_ptr<ui::TableView> m_table;
    std::vector<QvIPCGridItemPtr> m_items;
    ui::BarButtonItemPtr m_done;
    bool m_loaded = false;
    int m_numberOfSelections = 0;
    /// Last: gone first, so no listing arrives at a half-destroyed controller. A listing that
    /// fails ends the picker rather than leave it loading.
    ui::JobRunner m_loader;
};

} // namespace vimora::picker
