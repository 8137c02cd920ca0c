#pragma once

#include <functional>

#include "picker/photo_library_model.h"
#include "ui/bar_button_item.h"

namespace vimora::picker {

/// A custom selection button for the grid's toolbar: pressing it ticks every photo its
/// rule accepts and unticks the others.
struct QvIPCToolbarItem
{
    using SelectionRule = std::function<bool(const PhotoAsset &asset)>;

    ui::BarButtonItemPtr barButtonItem;
    SelectionRule block;

    static QvIPCToolbarItem make(const QString &title, SelectionRule rule)
    {
        return {std::make_shared<ui::BarButtonItem>(title, ui::BarButtonItem::Style::Bordered), std::move(rule)};
    }
};

} // namespace vimora::picker
