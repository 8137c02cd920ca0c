#pragma once

// The saved pictures of the document store (Documents/drawImgs): listing them, where a
// picture's thumbnail is kept, and deleting one picture with its thumbnail.

#include <QString>
#include <QStringList>

namespace vimora {

namespace saved_pictures {

/// Names of the pictures in the store, oldest first (thumbnails and hidden files left out).
QStringList list();
/// Whether name can be a stored picture's name: not empty, no folder part, not hidden.
bool isValidName(const QString &name);
QString path(const QString &name);
/// The thumbnail kept beside the picture, in the store's "Thumbnails" folder.
QString thumbnailPath(const QString &name);

enum class Removal { Removed, AlreadyGone, Refused, Failed };
/// Deletes that picture and its thumbnail, nothing else.
Removal remove(const QString &name);

} // namespace saved_pictures

} // namespace vimora
