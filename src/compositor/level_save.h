#pragma once

// Saving the composition into the album "Nerelda" at one of three levels. The level menu
// offers "Low", "Medium" and "High", each with the size it writes; a level renders the
// background layer and everything over it, the whole picture as shown, at k times the saved
// picture's own size (k = 0.5, 1, 2), through a scaled painter, so no view moves and the
// screen's layout is the same before and after. The encoding and the write run off the UI
// thread in the album writer.

#include <functional>
#include <memory>
#include <optional>

#include <QSizeF>
#include <QString>

#include "compositor/compositor_geometry.h"
#include "imaging/picture.h"

namespace vimora {

struct ScreenViews;
class AlbumWriter;

class LevelSave
{
public:
    using Tell = std::function<void(const QString &title, const QString &message)>;
    /// beforeSave: closes the level menu and rebuilds the toolbar (actionbtn).
    LevelSave(ScreenViews &views, std::function<void()> beforeSave, Tell tell);

    void setAlbumWriter(AlbumWriter *writer) { m_writer = writer; }
    /// The size the levels multiply (the saved picture's); the background picture's when
    /// none is given or it gives an empty size.
    void setPictureSize(std::function<QSizeF()> pictureSize) { m_pictureSize = std::move(pictureSize); }

    /// The size in pixels a level writes (empty when there is nothing to save).
    QSize levelSize(SaveLevel level) const;
    /// A level's button title: "High — 4096 × 2560".
    QString levelCaption(SaveLevel level) const;

    /// Shows the three level buttons in the panel view (descripImg).
    void justSaveToAlbum();
    /// Saves at the level named by the sender's title (any title but "Low" and "Medium" is
    /// "High"). False when nothing was written (no background picture, a failed capture).
    bool effectLevel(const QString &senderTitle) { return effectLevel(saveLevelForTitle(senderTitle)); }
    bool effectLevel(SaveLevel level);

    /// The last saved picture's size in pixels (empty before any): what the user will find.
    QSize lastSavedSize() const { return m_lastSavedSize; }

private:
    ScreenViews &m_views;
    std::function<void()> m_beforeSave;
    Tell m_tell;
    std::optional<QSizeF> factors(SaveLevel level) const;
    QSizeF pictureSize() const;

    AlbumWriter *m_writer = nullptr;
    std::function<QSizeF()> m_pictureSize;
    QSize m_lastSavedSize;
};

} // namespace vimora
