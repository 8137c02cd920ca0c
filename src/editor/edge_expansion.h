#pragma once

// Edge expansion in the options panel's preview: arrows on the photo layer, and a chosen
// edge strip of the photo repeated outwards from the layer until the preview frame is full.

#include <functional>
#include <memory>
#include <vector>

#include <QPointF>

#include "imaging/picture.h"
#include "ui/button.h"
#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

// The arrows' tags: which edge strip is repeated, and outwards from which side.
inline constexpr int kExpandDownTag = 6;  // the bottom strip, below the layer
inline constexpr int kExpandUpTag = 7;    // the top strip, above it
inline constexpr int kExpandLeftTag = 8;  // the left strip, left of it
inline constexpr int kExpandRightTag = 9; // the right strip, right of it

/// Copies of a strip laid at most, whatever the sizes.
inline constexpr int kMostStripCopies = 100;

class EdgeExpansion
{
public:
    explicit EdgeExpansion(ScreenViews &views);
    /// Where an arrow reads the photo its strip comes from.
    void setPhotoSource(std::function<Picture()> source) { m_photoSource = std::move(source); }

    /// Shows the arrows on the layer: up and down for a layer that overflows the frame
    /// vertically, left and right otherwise. The panel's controls step aside meanwhile.
    void cutApart(ui::ImageView &preview, ui::ImageView &layer, bool overflowsVertically);
    /// One expansion with the arrow's tag, from the edge strip of photo (the job's first).
    void cutApartExcute(int arrowTag, const Picture &photo);
    /// The arrows on screen, for the layer they were put on.
    bool isOffering() const { return !m_arrows.empty(); }

private:
    void setPanelControlsHidden(bool hidden);
    void removeArrows();

    ScreenViews &m_views;
    std::weak_ptr<ui::ImageView> m_preview;
    std::weak_ptr<ui::ImageView> m_layer;
    std::vector<std::shared_ptr<ui::Button>> m_arrows;
    std::function<Picture()> m_photoSource;
};

} // namespace vimora
