#pragma once

// The photo library as the picker sees it: albums are folders, photos are the decodable
// pictures directly inside them. Everything here reads the disk and may be called from any
// thread; nothing recurses, so symlink loops cannot trap it.

#include <functional>
#include <vector>

#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace vimora::picker {

/// The kinds of album the list distinguishes when ordering.
enum class AlbumType { Album = 2, SavedPhotos = 16, PhotoStream = 32 };

/// A photo of the library. Two assets are the same photo when their URLs are equal.
struct PhotoAsset
{
    QUrl url;
    QString path() const { return url.toLocalFile(); }
    bool operator==(const PhotoAsset &other) const { return url == other.url; }
};

struct PhotoAlbum
{
    QString name;
    QString folder;
    AlbumType type = AlbumType::Album;
    bool operator==(const PhotoAlbum &) const = default;
};

/// Whether a file is a picture we can decode (header check only: cheap enough for 10 000).
bool isDecodablePicture(const QString &path);

/// Says a file is a picture without reading it (a thumbnail made from it earlier).
using KnownPicture = std::function<bool(const QFileInfo &file)>;

/// The photos of an album folder, by file name; zero-byte, unreadable and non-picture files
/// are left out. A missing folder has none.
std::vector<PhotoAsset> albumPhotos(const QString &folder, const KnownPicture &known = {});

/// The albums of a library: its top folder as saved photos, every sub-folder, then each
/// extra folder (the user's pictures folder) that exists and is not the library itself.
/// A library folder that does not exist is created empty.
std::vector<PhotoAlbum> libraryAlbums(const QString &libraryFolder, const QStringList &extraFolders);

/// Album list order: with savedOnTop, saved photos first, then albums of type 17 or more,
/// then the rest; otherwise the order given.
std::vector<PhotoAlbum> orderedAlbums(const std::vector<PhotoAlbum> &albums, bool savedOnTop);

/// The user's pictures folder, offered as one more album.
QString userPicturesFolder();

} // namespace vimora::picker
