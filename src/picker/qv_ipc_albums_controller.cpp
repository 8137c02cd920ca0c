#include "picker/qv_ipc_albums_controller.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QThreadPool>

#include "picker/grid_layout.h"
#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_assets_controller.h"
#include "picker/thumbnail_cache.h"
#include "platform/log.h"
#include "ui/clock.h"
#include "ui/image_view.h"
#include "ui/label.h"

namespace vimora::picker {

namespace {
const QString kAlbumCell = QStringLiteral("QvIPCAlbumCell");
constexpr double kPosterSide = 50;
} // namespace

QvIPCAlbumsController::QvIPCAlbumsController(QvImagePickerController &picker)
    : m_picker(picker)
    , m_context(std::make_unique<QObject>())
{
    setTitle(QStringLiteral("Albums"));
    navigationItem().setLeftBarButtonItem(std::make_shared<ui::BarButtonItem>(
        ui::BarButtonItem::SystemItem::Cancel, [this](ui::BarButtonItem &) { m_picker.cancel(); }));
}

QvIPCAlbumsController::~QvIPCAlbumsController()
{
    ++*m_generation;
}

ui::ViewPtr QvIPCAlbumsController::loadView()
{
    m_table = std::make_shared<ui::TableView>(QRectF(0, 0, 320, 480));
    m_table->setRowHeight(GridLayout::kAlbumRowHeight);
    m_table->setBackgroundColor(kGridBackground);
    m_table->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    return m_table;
}

void QvIPCAlbumsController::viewDidLoad()
{
    watchLibrary();
    reloadAlbums();
}

void QvIPCAlbumsController::viewDidAppear(bool)
{
    if (auto *navigation = navigationController())
        navigation->setToolbarHidden(toolbarItems().empty());
}

void QvIPCAlbumsController::setExtraToolbarItems(const std::vector<ui::BarButtonItemPtr> &items)
{
    setToolbarItems(items);
    if (auto *navigation = navigationController(); navigation && navigation->topScreen().get() == this)
        navigation->setToolbarHidden(items.empty());
}

void QvIPCAlbumsController::watchLibrary()
{
    m_watcher = new QFileSystemWatcher(m_context.get());
    QObject::connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_context.get(), [this](const QString &) { reloadAlbums(); });
}

void QvIPCAlbumsController::reloadAlbums()
{
    const int generation = ++*m_generation;
    std::weak_ptr<int> alive = m_generation;
    const QString library = m_picker.libraryFolder();
    const QStringList extra = m_picker.extraAlbumFolders();
    const bool savedOnTop = m_picker.shouldShowSavedPhotosOnTop();
    m_loading = true;
    auto stillWanted = [this, alive, generation] {
        const auto live = alive.lock();
        return live && *live == generation;
    };
    QThreadPool::globalInstance()->start([this, stillWanted, library, extra, savedOnTop] {
        QDir().mkpath(library);
        if (!QFileInfo(library).isDir() || !QFileInfo(library).isReadable()) {
            const QString error = QStringLiteral("The photo library \"%1\" cannot be read.").arg(library);
            ui::postToMainThread([this, stillWanted, error] {
                if (!stillWanted())
                    return;
                m_loading = false;
                logLine(QStringLiteral("A problem occured. Error: %1").arg(error));
                m_picker.fail(error);
            });
            return;
        }
        const std::vector<PhotoAlbum> albums = orderedAlbums(libraryAlbums(library, extra), savedOnTop);
        std::vector<AlbumSummary> summaries;
        for (const PhotoAlbum &album : albums) {
            // Pictures the album's last listing vouches for (same name, size and time) skip their header read.
            const std::vector<PhotoAsset> photos =
                albumPhotos(album.folder, ThumbnailCache::shared().knownPictures(album.folder));
            summaries.push_back({album, int(photos.size()), photos.empty() ? QString() : photos.back().path()});
            const bool last = summaries.size() == albums.size();
            ui::postToMainThread([this, stillWanted, summaries, last] {
                if (!stillWanted())
                    return;
                m_albums = summaries;
                m_loading = !last;
                if (m_table)
                    m_table->reloadData();
                if (last && m_watcher) {
                    // Watch the library and every album so a photo added anywhere shows.
                    if (!m_watcher->directories().isEmpty())
                        m_watcher->removePaths(m_watcher->directories());
                    QStringList folders;
                    for (const AlbumSummary &summary : m_albums)
                        folders << summary.album.folder;
                    m_watcher->addPaths(folders);
                }
            });
        }
    });
}

int QvIPCAlbumsController::numberOfRowsInSection(ui::TableView &, int)
{
    return int(m_albums.size());
}

ui::TableViewCellPtr QvIPCAlbumsController::cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kAlbumCell);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Subtitle, kAlbumCell);
    const AlbumSummary &summary = m_albums.at(std::size_t(indexPath.row));
    cell->textLabel().setText(summary.album.name);
    cell->detailTextLabel().setText(QString::number(summary.photoCount));
    cell->setAccessoryType(ui::TableViewCell::AccessoryType::DisclosureIndicator);
    // An empty poster keeps the text where the picture will go.
    static const Picture blank = [] {
        QImage image{int(kPosterSide), int(kPosterSide), QImage::Format_ARGB32_Premultiplied};
        image.fill(kPlaceholderColour);
        return Picture(image);
    }();
    cell->imageView().setImage(blank);
    m_cellPosters[cell.get()].clear();
    if (!summary.posterPath.isEmpty()) {
        std::weak_ptr<ui::TableViewCell> weak = cell;
        std::weak_ptr<int> alive = m_generation;
        const QString poster = summary.posterPath;
        m_cellPosters[cell.get()] = poster;
        // A reused cell may show another album by the time the poster arrives.
        auto show = [this, alive, weak, poster](const QImage &thumbnail) {
            const auto live = weak.lock();
            if (!live || !alive.lock() || thumbnail.isNull() || m_cellPosters[live.get()] != poster)
                return;
            live->imageView().setImage(Picture(thumbnail, thumbnail.width() / kPosterSide));
            live->layoutParts();
        };
        const QImage known = ThumbnailCache::shared().cached(poster);
        if (!known.isNull())
            show(known);
        else
            ThumbnailCache::shared().request(poster, show);
    }
    cell->layoutParts();
    return cell;
}

void QvIPCAlbumsController::didSelectRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath)
{
    logLine(QStringLiteral("did select"));
    tableView.deselectRowAtIndexPath(indexPath, false);
    openAlbum(indexPath.row);
}

std::shared_ptr<QvIPCAssetsController> QvIPCAlbumsController::openAlbum(int row)
{
    if (row < 0 || row >= int(m_albums.size()))
        return nullptr;
    auto grid = std::make_shared<QvIPCAssetsController>(m_picker, m_albums[std::size_t(row)].album);
    if (auto *navigation = navigationController())
        navigation->pushScreen(grid, true);
    return grid;
}

} // namespace vimora::picker
