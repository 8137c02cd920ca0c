#pragma once

// Saving a finished picture into an album of the photo library and telling the user, the
// same way on every screen: the user hears once the write is done, never before, so a failed
// write is never announced as saved.

#include <functional>

#include <QString>

#include "imaging/picture.h"
#include "store/album_writer.h"

namespace vimora {

/// The album every save of the editor goes to (the compositor's finished picture too).
inline const QString kEditorAlbum = QStringLiteral("Quorlan");
/// The album of the compositor's level saves.
inline const QString kCompositorAlbum = QStringLiteral("Nerelda");

/// The title of every notice that says a picture was not saved.
inline const QString kNotSavedTitle = QStringLiteral("Not saved");

/// What the user is told of a finished write: "Save" / "Saved in <album>", or kNotSavedTitle
/// with the reason.
struct AlbumSaveNotice
{
    QString title;
    QString message;
};
AlbumSaveNotice albumSaveNotice(const AlbumSaveResult &result);

using TellUser = std::function<void(const QString &title, const QString &message)>;

/// Writes picture into album through writer. Once the write is done, finished runs (the
/// busy spinner goes off there), the outcome is logged ("success!" or "Big error: …") and
/// the user is told through tell; saved runs after that, only when the picture was written.
void saveToAlbumAndTell(AlbumWriter &writer, const Picture &picture, const QString &album, TellUser tell,
                        std::function<void()> finished = {}, std::function<void()> saved = {});

} // namespace vimora
