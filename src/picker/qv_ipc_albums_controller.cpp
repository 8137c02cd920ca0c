#include "picker/qv_ipc_albums_controller.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include "picker/grid_layout.h"
#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_assets_controller.h"
#include "picker/thumbnail_cache.h"
#include "platform/log.h"
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
    , m_loader([this](const QString &reason) {
        m_loading = false;
        m_picker.fail(reason);
    })
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
    const QString library = m_picker.libraryFolder();
    const QStringList extra = m_picker.extraAlbumFolders();
    const bool savedOnTop = m_picker.shouldShowSavedPhotosOnTop();
    m_loading = true;
    // The counts of a listing this one replaces are no longer wanted.
    m_loader.clearPending();
    m_loader.post([this, generation, library, extra, savedOnTop]() -> ui::JobRunner::Apply {
        QDir().mkpath(library);
        if (!QFileInfo(library).isDir() || !QFileInfo(library).isReadable()) {
            const QString error = QStringLiteral("The photo library \"%1\" cannot be read.").arg(library);
            return [this, generation, error] {
                if (generation != *m_generation)
                    return;
                m_loading = false;
                logLine(QStringLiteral("A problem occured. Error: %1").arg(error));
                m_picker.fail(error);
            };
        }
        const std::vector<PhotoAlbum> albums = orderedAlbums(libraryAlbums(library, extra), savedOnTop);
        return [this, generation, albums] {
            if (generation == *m_generation)
                countAlbums(generation, albums);
        };
    });
}

void QvIPCAlbumsController::countAlbums(int generation, const std::vector<PhotoAlbum> &albums)
{
    // One job per album, so the table fills as the counts come in.
    for (size_t i = 0; i < albums.size(); ++i) {
        const PhotoAlbum album = albums[i];
        const bool first = i == 0, last = i + 1 == albums.size();
        m_loader.post([this, generation, album, first, last]() -> ui::JobRunner::Apply {
            // Pictures the album's last listing vouches for (same name, size and time) skip their header read.
            const std::vector<PhotoAsset> photos =
                albumPhotos(album.folder, ThumbnailCache::shared().knownPictures(album.folder));
            const AlbumSummary summary{album, int(photos.size()), photos.empty() ? QString() : photos.back().path()};
            return [this, generation, summary, first, last] {
                if (generation != *m_generation)
                    return;
                if (first)
                    m_albums.clear();
                m_albums.push_back(summary);
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
            };
        });
    }
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
