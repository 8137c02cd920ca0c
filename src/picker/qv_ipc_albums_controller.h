#pragma once

// The picker's first screen: the library's albums with their photo counts and posters.
// The albums are read on a worker thread; the list follows changes to the library folder.

#include <map>
#include <memory>
#include <vector>

#include <QObject>

#include "picker/photo_library_model.h"
#include "ui/job_runner.h"
#include "ui/navigation_screen.h"
#include "ui/table_view.h"

class QFileSystemWatcher;

namespace vimora::picker {

class QvImagePickerController;
class QvIPCAssetsController;

struct AlbumSummary
{
    PhotoAlbum album;
    int photoCount = 0;
    QString posterPath; // the album's last photo, empty when it has none
};

class QvIPCAlbumsController : public ui::NavigationScreen, public ui::TableViewDataSource, public ui::TableViewDelegate
{
public:
    explicit QvIPCAlbumsController(QvImagePickerController &picker);
    ~QvIPCAlbumsController() override;

    const std::vector<AlbumSummary> &assetGroups() const { return m_albums; }
    std::shared_ptr<ui::TableView> tableView() const { return m_table; }
    /// Reads the albums again (on a worker thread; the table follows album by album).
    void reloadAlbums();
    /// True while a read of the library is under way.
    bool isLoading() const { return m_loading; }
    /// Extra items for this screen's toolbar (the intake's "Other location...").
    void setExtraToolbarItems(const std::vector<ui::BarButtonItemPtr> &items);
    /// Opens the grid of a row's album.
    std::shared_ptr<QvIPCAssetsController> openAlbum(int row);

    int numberOfRowsInSection(ui::TableView &tableView, int section) override;
    ui::TableViewCellPtr cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;

protected:
    ui::ViewPtr loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

private:
    void watchLibrary();
    /// Counts the photos of each album listed, off the UI thread, album by album.
    void countAlbums(int generation, const std::vector<PhotoAlbum> &albums);

    QvImagePickerController &m_picker;
    std::shared_ptr<ui::TableView> m_table;
    std::vector<AlbumSummary> m_albums;
    std::unique_ptr<QObject> m_context;
    QFileSystemWatcher *m_watcher = nullptr;
    std::shared_ptr<int> m_generation = std::make_shared<int>(0);
    bool m_loading = false;
    std::map<const ui::TableViewCell *, QString> m_cellPosters;
    /// Last: gone first, so no listing arrives at a half-destroyed controller. A listing that
    /// fails ends the picker as an unreadable library does.
    ui::JobRunner m_loader;
};

} // namespace vimora::picker
