#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QUrl>

#include "imaging/picture.h"
#include "ui/job_runner.h"

namespace vimora {

/// What an album write came to. On success assetUrl is the picture's file in the library's
/// camera roll (its top folder) and album the album it was added to (empty for a camera-roll
/// write); on failure error says why, in words fit for the user ("… : No space left on
/// device"), and assetUrl is set when the picture reached the camera roll before the failure.
struct AlbumSaveResult
{
    QUrl assetUrl;
    QString album;
    QString error;
    bool succeeded() const { return error.isEmpty(); }
};

/// Called once per request, on the thread that made the writer (the UI thread).
using AlbumCompletion = std::function<void(const AlbumSaveResult &)>;

/// Writes pictures into the folder photo library: a picture is a PNG file in the library
/// folder (the camera roll), an album a sub-folder holding relative links to its pictures.
///
/// Every request returns at once; one background thread encodes and writes, in the order
/// asked, and the completion follows on the writer's own thread. Files appear atomically
/// (written under a hidden temporary name, then renamed) and never replace an existing file:
/// a taken name makes the next free one be drawn. An album is found by its exact name (case
/// and every character), created when missing, never duplicated. A missing library folder is
/// created. Names that could leave the library ("/", ".", "..", a leading dot, empty) are
/// refused with an error; a file standing where the album folder should be is an error too.
class AlbumWriter
{
public:
    /// An empty folder means the photo library's folder at the time of each request.
    explicit AlbumWriter(QString libraryFolder = {});
    /// Waits for the writes in flight; completions not yet delivered are dropped.
    ~AlbumWriter();
    AlbumWriter(const AlbumWriter &) = delete;
    AlbumWriter &operator=(const AlbumWriter &) = delete;

    /// Writes the picture (upright) into the camera roll, then adds it to the album.
    void saveImage(const Picture &image, const QString &albumName, AlbumCompletion completion);
    /// The same for a picture made on the writer's thread; a null picture fails with whyNull
    /// as the error and writes nothing.
    void saveImage(std::function<Picture()> makeImage, const QString &whyNull, const QString &albumName,
        AlbumCompletion completion);
    /// Adds a picture already in the library to the album; adding it twice is no error and
    /// makes no second entry.
    void addAssetURL(const QUrl &assetUrl, const QString &albumName, AlbumCompletion completion);
    /// Writes the picture into the camera roll only.
    void writeImageToSavedPhotosAlbum(const Picture &image, AlbumCompletion completion);
    /// The same for a picture made on the writer's thread (read from a file, cropped), so the
    /// UI thread does not wait for it; a null picture fails with whyNull as the error.
    void writeImageToSavedPhotosAlbum(
        std::function<Picture()> makeImage, const QString &whyNull, AlbumCompletion completion);

    /// Why a name cannot be an album, or empty when it can.
    static QString albumNameProblem(const QString &albumName);

    /// The folder written to (the photo library's current folder when none was given).
    QString libraryFolder() const;
    /// Blocks until every queued write is done (their completions are then on their way).
    void waitForWrites();

private:
    void post(std::function<AlbumSaveResult()> work, AlbumCompletion completion);

    QString m_libraryFolder;
    ui::JobRunner m_worker;
};

} // namespace vimora
