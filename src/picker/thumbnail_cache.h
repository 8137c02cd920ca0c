#pragma once

// Thumbnails of library photos, made on a pool of worker threads and kept on disk in the
// application home so a second look at an album needs no decoding. Requests answer on the
// main thread; the newest request is served first, so the rows on screen come before the
// ones scrolled past.

#include <functional>
#include <memory>

#include <QImage>
#include <QFileInfo>
#include <QString>

#include "picker/photo_library_model.h"

namespace vimora::picker {

class ThumbnailCache
{
public:
    using Ready = std::function<void(const QImage &thumbnail)>;

    /// The disk copies' budget unless told otherwise: about two thousand 150-pixel thumbnails.
    static constexpr qint64 kDefaultDiskLimit = qint64(128) << 20;

    /// side: the square thumbnail's side in pixels. Disk copies go to folder, which holds at
    /// most diskLimit bytes of them: past it the least recently used go first.
    ThumbnailCache(const QString &folder, int side, qint64 diskLimit = kDefaultDiskLimit);
    ~ThumbnailCache();
    ThumbnailCache(const ThumbnailCache &) = delete;
    ThumbnailCache &operator=(const ThumbnailCache &) = delete;

    int side() const;
    /// A thumbnail already in memory, or a null image.
    QImage cached(const QString &path) const;
    /// Makes (or reads back) the thumbnail off the main thread and hands it to ready on the
    /// main thread; an unreadable photo gives a null image. A path already asked for and
    /// not yet answered is not decoded twice.
    void request(const QString &path, Ready ready);
    /// Drops every request not yet started (a new album, a closed picker).
    void cancelPending();
    /// Forgets the thumbnails held in memory (the disk copies stay).
    void clearMemory();
    /// Waits for the workers to go idle (tests, benchmarks).
    void waitForDone();
    /// Bytes of thumbnails on disk as the cache counts them (-1 before its first write).
    qint64 diskBytes() const;

    /// The disk file that holds a photo's thumbnail (keyed by path, size and modification
    /// time, so an edited photo gets a new one).
    QString diskPath(const QString &path) const;
    /// What the last listing of an album folder found to be pictures, keyed by file name,
    /// size and modification time: a file that still matches needs no header read.
    KnownPicture knownPictures(const QString &folder) const;
    /// Keeps an album's listing for knownPictures (skipped when nothing changed).
    void rememberAlbum(const QString &folder, const std::vector<PhotoAsset> &photos);
    /// Cuts a photo down to a square thumbnail: the centre square, scaled to side pixels.
    static QImage makeThumbnail(const QString &path, int side);

    /// The process's cache in the application home.
    static ThumbnailCache &shared();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace vimora::picker
