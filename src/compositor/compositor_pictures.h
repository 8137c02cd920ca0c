#pragma once

// The compositor's own working pictures: the background as it was opened, the base its
// effects build on, and the cut-out it laid as it came in. They are held in memory and kept
// in a folder of the compositor's own under the working folder, written off the UI thread;
// the editor's working files are never read or written through them.

#include <array>

#include <QString>

#include "imaging/picture.h"
#include "ui/job_runner.h"

namespace vimora {

class CompositorPictures
{
public:
    enum class Kind {
        Original,   // the saved picture as opened: Save To Album writes it
        Base,       // what the background effects start from; a kept effect moves it on
        TopOriginal // the cut-out as it was laid, before any effect on it
    };
    static constexpr int kKindCount = 3;

    CompositorPictures();
    ~CompositorPictures();
    CompositorPictures(const CompositorPictures &) = delete;
    CompositorPictures &operator=(const CompositorPictures &) = delete;

    /// The compositor's working folder.
    static QString folder();
    static QString path(Kind kind);

    void set(Kind kind, const Picture &picture);
    Picture get(Kind kind) const { return m_pictures[std::size_t(kind)]; }
    /// Forgets every picture and empties the folder.
    void clear();
    /// Waits until every write asked for is on disk.
    void flush();

private:
    std::array<Picture, kKindCount> m_pictures;
    ui::JobRunner m_writer;
};

} // namespace vimora
