#pragma once

// One selectable thumbnail of the grid. The grid it belongs to keeps the count of ticked
// items and enforces the picker's maximum.

#include <memory>

#include "picker/photo_library_model.h"
#include "ui/image_view.h"
#include "ui/view.h"

namespace vimora::picker {

class QvIPCGridItem;

class QvIPCGridItemDelegate
{
public:
    virtual ~QvIPCGridItemDelegate() = default;
    /// Asked before an item is ticked.
    virtual bool qvGridItemCanSelect(QvIPCGridItem &item) = 0;
    /// An item was ticked (didChangeNumberOfSelections +1) or unticked (-1).
    virtual void qvGridItem(QvIPCGridItem &item, int didChangeNumberOfSelections) = 0;
};

class QvIPCGridItem : public ui::View
{
public:
    explicit QvIPCGridItem(const PhotoAsset &asset = {});

    const PhotoAsset &asset() const { return m_asset; }
    void setAsset(const PhotoAsset &asset);
    bool isSelected() const { return m_selected; }
    /// Ticks (after asking the delegate) or unticks, telling the delegate. Returns whether
    /// the state changed.
    bool setSelected(bool selected);
    /// What a tap does.
    void toggle() { setSelected(!m_selected); }
    void setDelegate(QvIPCGridItemDelegate *delegate) { m_delegate = delegate; }

    /// Shows a thumbnail (a null image leaves the placeholder).
    void setThumbnail(const QImage &thumbnail);
    bool hasThumbnail() const { return !m_thumbnail->image().isNull(); }
    const ui::View &checkmarkView() const { return *m_checkmark; }
    const ui::View &selectionView() const { return *m_selectionView; }

private:
    void showSelection();

    PhotoAsset m_asset;
    bool m_selected = false;
    QvIPCGridItemDelegate *m_delegate = nullptr;
    std::shared_ptr<ui::ImageView> m_thumbnail;
    std::shared_ptr<ui::View> m_selectionView;
    std::shared_ptr<ui::ImageView> m_checkmark;
};

using QvIPCGridItemPtr = std::shared_ptr<QvIPCGridItem>;

} // namespace vimora::picker
