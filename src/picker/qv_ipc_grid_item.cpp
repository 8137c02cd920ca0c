#include "picker/qv_ipc_grid_item.h"

#include "picker/grid_layout.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "ui/tap_recognizer.h"

namespace vimora::picker {

namespace {
const QColor kSelectionTint(255, 255, 255, 90);

// Thousands of items share one decoded picture.
Picture checkmarkPicture()
{
    static const Picture tablet = Resources::imageNamed(QStringLiteral("QvIPC-Checkmark-iPad"));
    static const Picture phone = Resources::imageNamed(QStringLiteral("QvIPC-Checkmark-iPhone"));
    return isDeviceiPad() ? tablet : phone;
}
} // namespace

QvIPCGridItem::QvIPCGridItem(const PhotoAsset &asset)
    : View(QRectF(0, 0, GridLayout::kItemSide, GridLayout::kItemSide))
    , m_asset(asset)
    , m_thumbnail(std::make_shared<ui::ImageView>(QRectF(0, 0, GridLayout::kItemSide, GridLayout::kItemSide)))
    , m_selectionView(std::make_shared<ui::View>(QRectF(0, 0, GridLayout::kItemSide, GridLayout::kItemSide)))
    , m_checkmark(std::make_shared<ui::ImageView>(QRectF(GridLayout::kCheckmarkOrigin, QSizeF(GridLayout::kCheckmarkSide, GridLayout::kCheckmarkSide))))
{
    setBackgroundColor(kPlaceholderColour);
    m_thumbnail->setContentMode(ui::ContentMode::ScaleAspectFill);
    m_thumbnail->setClipsToBounds(true);
    addSubview(m_thumbnail);
    m_selectionView->setBackgroundColor(kSelectionTint);
    m_selectionView->setUserInteractionEnabled(false);
    addSubview(m_selectionView);
    m_checkmark->setImage(checkmarkPicture());
    m_checkmark->setUserInteractionEnabled(false);
    addSubview(m_checkmark);
    showSelection();
    addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &) { toggle(); }));
}

void QvIPCGridItem::setAsset(const PhotoAsset &asset)
{
    if (asset == m_asset)
        return;
    m_asset = asset;
    m_thumbnail->setImage({});
}

void QvIPCGridItem::setThumbnail(const QImage &thumbnail)
{
    if (!thumbnail.isNull())
        m_thumbnail->setImage(Picture(thumbnail, thumbnail.width() / GridLayout::kItemSide));
}

bool QvIPCGridItem::setSelected(bool selected)
{
    if (selected == m_selected)
        return false;
    if (selected && m_delegate && !m_delegate->qvGridItemCanSelect(*this))
        return false;
    m_selected = selected;
    showSelection();
    // Taps arrive on the main thread, so the delegate hears at once.
    if (m_delegate)
        m_delegate->qvGridItem(*this, selected ? 1 : -1);
    return true;
}

void QvIPCGridItem::showSelection()
{
    m_selectionView->setHidden(!m_selected);
    m_checkmark->setHidden(!m_selected);
}

} // namespace vimora::picker
