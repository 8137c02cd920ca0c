#include "picker/qv_ipc_assets_controller.h"

#include <algorithm>
#include <atomic>

#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_grid_cell.h"
#include "picker/thumbnail_cache.h"
#include "platform/device.h"
#include "platform/log.h"
#include "ui/label.h"

namespace vimora::picker {

QvIPCAssetsController::QvIPCAssetsController(QvImagePickerController &picker, const PhotoAlbum &assetsGroup)
    : m_picker(picker)
    , m_album(assetsGroup)
    , m_done(std::make_shared<ui::BarButtonItem>(ui::BarButtonItem::SystemItem::Done, [this](ui::BarButtonItem &) { doneAction(); }))
    , m_loader([this](const QString &reason) { m_picker.fail(reason); })
{
    setTitle(QStringLiteral("Loading..."));
    m_done->setEnabled(false);
    navigationItem().setRightBarButtonItem(m_done);
}

QvIPCAssetsController::~QvIPCAssetsController()
{
    for (const auto &item : m_items)
        item->setDelegate(nullptr);
}

GridLayout QvIPCAssetsController::layout() const
{
    if (const auto width = m_picker.gridWidth())
        return GridLayout::forScreen(false, false, *width);
    const QSizeF screen = Device::screenSize();
    return GridLayout::forScreen(isDeviceiPad(), Device::isLandscape(), screen.width());
}

ui::ViewPtr QvIPCAssetsController::loadView()
{
    m_table = std::make_shared<ui::TableView>(QRectF(0, 0, 320, 480));
    m_table->setSeparatorStyle(ui::TableView::SeparatorStyle::None);
    m_table->setAllowsSelection(false);
    m_table->setBackgroundColor(kGridBackground);
    m_table->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
    // An album longer than the screen says so before it is scrolled.
    m_table->setKeepsScrollIndicatorsShown(true);
    m_table->setRowHeight(layout().rowHeight());
    m_table->setDataSource(this);
    return m_table;
}

void QvIPCAssetsController::viewDidLoad()
{
    setUpToolbar();
    loadAssets();
}

void QvIPCAssetsController::setUpToolbar()
{
    const auto &custom = m_picker.toolbarItemsForSelection();
    std::vector<ui::BarButtonItemPtr> items;
    // Where one photo at most can be chosen, "all" means nothing.
    const bool single = m_picker.maximumNumberOfPhotos() == 1;
    if ((!custom || custom->empty()) && !single) {
        items.push_back(std::make_shared<ui::BarButtonItem>(QStringLiteral("Select All"), ui::BarButtonItem::Style::Bordered,
                                                            [this](ui::BarButtonItem &) { selectAll(); }));
        items.push_back(std::make_shared<ui::BarButtonItem>(ui::BarButtonItem::SystemItem::FlexibleSpace));
        items.push_back(std::make_shared<ui::BarButtonItem>(QStringLiteral("Deselect All"), ui::BarButtonItem::Style::Bordered,
                                                            [this](ui::BarButtonItem &) { deselectAll(); }));
    } else if (custom) {
        for (const QvIPCToolbarItem &item : *custom) {
            auto rule = item.block;
            item.barButtonItem->setAction([this, rule](ui::BarButtonItem &) {
                setAllSelected([rule](const PhotoAsset &asset) { return rule && rule(asset); });
            });
            items.push_back(item.barButtonItem);
        }
    }
    setToolbarItems(items);
}

void QvIPCAssetsController::viewDidAppear(bool)
{
    // Given but empty means the caller wants no selection buttons at all.
    const auto &custom = m_picker.toolbarItemsForSelection();
    if (auto *navigation = navigationController())
        navigation->setToolbarHidden((custom && custom->empty()) || toolbarItems().empty());
}

void QvIPCAssetsController::loadAssets()
{
    const QString folder = m_album.folder;
    m_loader.post([this, folder]() -> ui::JobRunner::Apply {
        const KnownPicture listedBefore = ThumbnailCache::shared().knownPictures(folder);
        std::atomic<bool> changed = false;
        std::vector<PhotoAsset> assets = albumPhotos(folder, [&](const QFileInfo &file) {
            if (listedBefore(file))
                return true;
            changed = true;
            return false;
        });
        return [this, folder, assets, changed = bool(changed)] {
            setAssets(assets);
            // After the hand-off, so the grid does not wait for it.
            if (changed)
                m_loader.post([folder, assets]() -> ui::JobRunner::Apply {
                    ThumbnailCache::shared().rememberAlbum(folder, assets);
                    return {};
                });
        };
    });
}

void QvIPCAssetsController::setAssets(const std::vector<PhotoAsset> &assets)
{
    for (const auto &item : m_items)
        item->setDelegate(nullptr);
    m_items.clear();
    m_items.reserve(assets.size());
    m_numberOfSelections = 0;
    const auto &ticked = m_picker.selection();
    const unsigned maximum = m_picker.maximumNumberOfPhotos();
    for (const PhotoAsset &asset : assets) {
        auto item = std::make_shared<QvIPCGridItem>(asset);
        // Photos given as already ticked count towards the maximum like any tick.
        const bool room = maximum == 0 || unsigned(m_numberOfSelections) < maximum;
        if (room && std::find(ticked.begin(), ticked.end(), asset) != ticked.end() && item->setSelected(true))
            ++m_numberOfSelections;
        item->setDelegate(this);
        m_items.push_back(std::move(item));
    }
    m_loaded = true;
    setTitle(m_album.name);
    showNumberOfSelections();
    reloadGrid();
    // Opens at the first photos, where a reader starts.
    if (m_table)
        m_table->setContentOffset(m_table->minimumContentOffset());
}

void QvIPCAssetsController::reloadGrid()
{
    if (!m_table)
        return;
    m_table->setRowHeight(layout().rowHeight());
    m_table->reloadData();
}

void QvIPCAssetsController::setAllSelected(const std::function<bool(const PhotoAsset &)> &rule)
{
    // Unticks first, so the ticks the rule asks for are not refused by the maximum.
    std::vector<char> wanted;
    wanted.reserve(m_items.size());
    for (const auto &item : m_items)
        wanted.push_back(rule(item->asset()) ? 1 : 0);
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (!wanted[i])
            m_items[i]->setSelected(false);
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (wanted[i])
            m_items[i]->setSelected(true);
}

void QvIPCAssetsController::doneAction()
{
    logLine(QStringLiteral("doneAction"));
    std::vector<PhotoAsset> picked;
    for (const auto &item : m_items) {
        if (item->isSelected())
            picked.push_back(item->asset());
    }
    // Nothing ticked is no answer: the user is still choosing.
    if (picked.empty())
        return;
    m_picker.finishPicking(picked);
}

int QvIPCAssetsController::numberOfRowsInSection(ui::TableView &, int)
{
    return layout().rowCount(int(m_items.size()));
}

ui::TableViewCellPtr QvIPCAssetsController::cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath)
{
    auto cell = std::static_pointer_cast<QvIPCGridCell>(tableView.dequeueReusableCellWithIdentifier(QvIPCGridCell::kReuseIdentifier));
    if (!cell)
        cell = std::make_shared<QvIPCGridCell>();
    const GridLayout grid = layout();
    const int first = grid.firstInRow(indexPath.row);
    const int count = grid.countInRow(indexPath.row, int(m_items.size()));
    std::vector<QvIPCGridItemPtr> rowItems(m_items.begin() + first, m_items.begin() + first + count);
    cell->setItems(rowItems, grid);
    for (const auto &item : rowItems)
        requestThumbnail(item);
    return cell;
}

void QvIPCAssetsController::requestThumbnail(const QvIPCGridItemPtr &item)
{
    if (item->hasThumbnail())
        return;
    ThumbnailCache &cache = ThumbnailCache::shared();
    const QString path = item->asset().path();
    // A thumbnail already in memory shows in this frame; the rest arrive later.
    if (const QImage known = cache.cached(path); !known.isNull()) {
        item->setThumbnail(known);
        return;
    }
    std::weak_ptr<QvIPCGridItem> weak = item;
    cache.request(path, [weak, path](const QImage &thumbnail) {
        if (const auto live = weak.lock(); live && live->asset().path() == path)
            live->setThumbnail(thumbnail);
    });
}

bool QvIPCAssetsController::qvGridItemCanSelect(QvIPCGridItem &)
{
    const unsigned maximum = m_picker.maximumNumberOfPhotos();
    return maximum == 0 || unsigned(m_numberOfSelections) < maximum;
}

void QvIPCAssetsController::qvGridItem(QvIPCGridItem &, int didChangeNumberOfSelections)
{
    m_numberOfSelections = std::max(0, m_numberOfSelections + didChangeNumberOfSelections);
    showNumberOfSelections();
}

void QvIPCAssetsController::showNumberOfSelections()
{
    m_done->setEnabled(m_numberOfSelections > 0);
    if (m_picker.shouldDisplaySelectionInformation())
        navigationItem().setPrompt(QStringLiteral("(%1/%2)").arg(m_numberOfSelections).arg(m_items.size()));
}

} // namespace vimora::picker
