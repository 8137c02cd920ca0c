#include "picker/photo_library_model.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>

#include "imaging/parallel.h"

namespace vimora::picker {

bool isDecodablePicture(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() == 0 || !info.isReadable())
        return false;
    QImageReader reader(path);
    if (!reader.canRead())
        return false;
    const QSize size = reader.size();
    // Formats that cannot tell their size up front still count; an empty size does not.
    return !size.isValid() || !size.isEmpty();
}

std::vector<PhotoAsset> albumPhotos(const QString &folder, const KnownPicture &known)
{
    std::vector<PhotoAsset> photos;
    const QDir dir(folder);
    if (!dir.exists())
        return photos;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
    // Files the caller already knows cost nothing; the rest need their header read.
    std::vector<char> decodable(entries.size(), 0);
    QList<qsizetype> unknown;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (known && entries[i].size() > 0 && known(entries[i]))
            decodable[i] = 1;
        else
            unknown.push_back(i);
    }
    // Reading a thousand headers is most of a first listing: spread it over the cores. The
    // loop pool lets its caller, itself a job, take part, so it never waits on a busy pool.
    parallelChunks(
        int(unknown.size()),
        [&](int first, int end) {
            for (int k = first; k < end; ++k)
                decodable[unknown[k]] = isDecodablePicture(entries[unknown[k]].absoluteFilePath()) ? 1 : 0;
        },
        1);
    photos.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (decodable[i])
            photos.push_back({QUrl::fromLocalFile(entries[i].absoluteFilePath())});
    }
    return photos;
}

std::vector<PhotoAlbum> libraryAlbums(const QString &libraryFolder, const QStringList &extraFolders)
{
    std::vector<PhotoAlbum> albums;
    QDir library(libraryFolder);
    if (!library.exists())
        QDir().mkpath(libraryFolder);
    const QString libraryPath = QFileInfo(libraryFolder).canonicalFilePath();
    albums.push_back({QStringLiteral("Saved Photos"), library.absolutePath(), AlbumType::SavedPhotos});
    const QFileInfoList subfolders = library.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    for (const QFileInfo &sub : subfolders) {
        // A link back to the library or above it would only repeat photos.
        const QString target = sub.canonicalFilePath();
        if (target.isEmpty() || target == libraryPath || libraryPath.startsWith(target + QLatin1Char('/')))
            continue;
        albums.push_back({sub.fileName(), sub.absoluteFilePath(), AlbumType::Album});
    }
    for (const QString &extra : extraFolders) {
        const QFileInfo info(extra);
        if (!info.isDir() || info.canonicalFilePath() == libraryPath)
            continue;
        const bool listed = std::any_of(albums.begin(), albums.end(), [&](const PhotoAlbum &a) {
            return QFileInfo(a.folder).canonicalFilePath() == info.canonicalFilePath();
        });
        if (!listed)
            albums.push_back({info.fileName(), info.absoluteFilePath(), AlbumType::Album});
    }
    return albums;
}

std::vector<PhotoAlbum> orderedAlbums(const std::vector<PhotoAlbum> &albums, bool savedOnTop)
{
    if (!savedOnTop)
        return albums;
    std::vector<PhotoAlbum> saved, later, rest;
    for (const PhotoAlbum &album : albums) {
        const int type = static_cast<int>(album.type);
        if (album.type == AlbumType::SavedPhotos)
            saved.push_back(album);
        else if (type >= 17)
            later.push_back(album);
        else
            rest.push_back(album);
    }
    saved.insert(saved.end(), later.begin(), later.end());
    saved.insert(saved.end(), rest.begin(), rest.end());
    return saved;
}

QString userPicturesFolder()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        pictures = QDir::homePath() + QStringLiteral("/Pictures");
    return pictures;
}

} // namespace vimora::picker
