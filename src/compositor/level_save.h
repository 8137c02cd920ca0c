#pragma once

// Saving the composition into the album "Nerelda" at one of three levels. The level menu
// offers "Low", "Medium" and "High"; a level renders the background layer and everything over
// it at k times the background picture's resolution (k = 0.5, 1, 2), through a scaled
// painter, so no view moves and the screen's layout is the same before and after. The
// encoding and the write run off the UI thread in the album writer.

#include <functional>
#include <memory>

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

    /// Shows the three level buttons in the panel view (descripImg).
    void justSaveToAlbum();
    /// Saves at the level named by the sender's title (any title but "Low" and "Medium" is
    /// "High"). False when nothing was written (no background picture, a failed capture).
    bool effectLevel(const QString &senderTitle);

    /// The composition as the level save renders it: the background layer's frame and what
    /// lies over it in the main view, scaled by factors and by the capture level's scale.
    static Picture renderComposition(const ScreenViews &views, QSizeF factors, int captureLevel, DeviceProfile profile);

    /// The last saved picture's size in pixels (empty before any): what the user will find.
    QSize lastSavedSize() const { return m_lastSavedSize; }

private:
    ScreenViews &m_views;
    std::function<void()> m_beforeSave;
    Tell m_tell;
    AlbumWriter *m_writer = nullptr;
    QSize m_lastSavedSize;
};

} // namespace vimora
