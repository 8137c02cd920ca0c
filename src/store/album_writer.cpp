#include "store/album_writer.h"

#include <cerrno>
#include <cstring>
#include <exception>

#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "imaging/codec.h"
#include "platform/photo_picker.h"
#include "store/new_file.h"

namespace vimora {

namespace {

// Lossless for text and alpha. The user waits for "Saved": zlib level 1 in strips on every core,
// stored as RGB where opaque, gives a smaller file than the single-stream encoder's RGBA at
// level 3 in well under its time (bench_saving).
constexpr int kLibraryPngCompression = kFastPngCompression;
// How many " 2", " 3" … endings are tried before a name counts as unobtainable.
constexpr int kMaxNameTries = 10000;

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool ensureFolder(const QString &folder, QString *error)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (QFileInfo::exists(folder)) {
        *error = QStringLiteral("The photo library %1 is a file, not a folder").arg(folder);
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Could not create the photo library folder %1").arg(folder);
        return false;
    }
    return true;
}

QString cameraRollName()
{
    return QStringLiteral("Vimora %1.png")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss")));
}

AlbumSaveResult writeToCameraRoll(const QString &library, const Picture &image)
{
    if (image.isNull() || image.bitmap().isNull())
        return {{}, {}, QStringLiteral("There is no picture to save")};
    QString error;
    if (!ensureFolder(library, &error))
        return {{}, {}, error};
    const Picture upright = image.orientation() == Orientation::Up ? image : Picture(image.uprightBitmap());
    const QByteArray bytes = encodePngStrips(upright, kLibraryPngCompression);
    if (bytes.isEmpty())
        return {{}, {}, QStringLiteral("The picture could not be encoded")};
    const NewFile written = writeNewFile(library, cameraRollName(), bytes);
    if (!written.error.isEmpty())
        return {{}, {}, written.error};
    return {QUrl::fromLocalFile(written.path), {}, {}};
}

// The album folder, matched by exact name among the library's entries (a case-folding file
// system would otherwise hand back a differently spelt album), created when missing.
bool albumFolder(const QString &library, const QString &albumName, QString *folder, QString *error)
{
    if (!ensureFolder(library, error))
        return false;
    const QString path = library + '/' + albumName;
    const QStringList entries =
        QDir(library).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (entries.contains(albumName)) {
        if (!QFileInfo(path).isDir()) {
            *error = QStringLiteral("“%1” in the photo library is a file, not an album").arg(albumName);
            return false;
        }
        *folder = path;
        return true;
    }
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        // Made meanwhile by another writer: use it.
        if (errno == EEXIST && QFileInfo(path).isDir()
            && QDir(library).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).contains(albumName)) {
            *folder = path;
            return true;
        }
        *error = QStringLiteral("Could not create the album “%1” in %2: %3").arg(albumName, library, systemReason());
        return false;
    }
    *folder = path;
    return true;
}

AlbumSaveResult addToAlbum(const QString &library, const QUrl &assetUrl, const QString &albumName)
{
    AlbumSaveResult result{assetUrl, {}, {}};
    if (const QString problem = AlbumWriter::albumNameProblem(albumName); !problem.isEmpty()) {
        result.error = problem;
        return result;
    }
    const QString asset = assetUrl.isLocalFile() ? assetUrl.toLocalFile() : QString();
    const QFileInfo assetInfo(asset);
    if (asset.isEmpty() || !assetInfo.isFile()) {
        result.error = QStringLiteral("The picture %1 is not in the photo library").arg(assetUrl.toDisplayString());
        return result;
    }
    QString folder;
    if (!albumFolder(library, albumName, &folder, &result.error))
        return result;

    const QString canonicalAsset = assetInfo.canonicalFilePath();
    // Relative, so the library folder can move as a whole.
    const QByteArray target = QFile::encodeName(QDir(folder).relativeFilePath(assetInfo.absoluteFilePath()));
    for (int n = 1; n <= kMaxNameTries; ++n) {
        const QString link = folder + '/' + numberedFileName(assetInfo.fileName(), n);
        if (::symlink(target.constData(), QFile::encodeName(link).constData()) == 0) {
            result.album = albumName;
            return result;
        }
        if (errno != EEXIST) {
            // A file system without links (a memory card): the album keeps a copy instead.
            if ((errno == EPERM || errno == ENOTSUP || errno == ENOSYS) && QFile::copy(asset, link)) {
                result.album = albumName;
                return result;
            }
            result.error =
                QStringLiteral("Could not add the picture to the album “%1”: %2").arg(albumName, systemReason());
            return result;
        }
        if (QFileInfo(link).canonicalFilePath() == canonicalAsset) {
            result.album = albumName;
            return result;
        }
    }
    result.error = QStringLiteral("No free name left in the album “%1”").arg(albumName);
    return result;
}

} // namespace

AlbumWriter::AlbumWriter(QString libraryFolder)
    : m_libraryFolder(std::move(libraryFolder))
{ }

AlbumWriter::~AlbumWriter() = default;

QString AlbumWriter::libraryFolder() const
{
    return m_libraryFolder.isEmpty() ? PhotoLibrary::folder() : m_libraryFolder;
}

void AlbumWriter::waitForWrites()
{
    m_worker.waitForWork();
}

QString AlbumWriter::albumNameProblem(const QString &albumName)
{
    if (albumName.trimmed().isEmpty())
        return QStringLiteral("An album needs a name");
    if (albumName.contains('/') || albumName.contains(QChar(0)) || albumName == QLatin1String(".")
        || albumName == QLatin1String(".."))
        return QStringLiteral("“%1” cannot be an album name: it may not contain “/” or be “.” or “..”").arg(albumName);
    if (albumName.startsWith('.'))
        return QStringLiteral("“%1” cannot be an album name: a name starting with “.” would be hidden").arg(albumName);
    if (QFile::encodeName(albumName).size() > 255)
        return QStringLiteral("The album name is too long");
    return {};
}

void AlbumWriter::post(std::function<AlbumSaveResult()> work, AlbumCompletion completion)
{
    // A write that throws still answers, so the screen that asked is told and stops waiting.
    m_worker.run<AlbumSaveResult>(
        [work = std::move(work)]() -> AlbumSaveResult {
            try {
                return work();
            } catch (const std::exception &e) {
                return {{}, {}, QStringLiteral("The picture could not be saved: %1").arg(QString::fromLocal8Bit(e.what()))};
            } catch (...) {
                return {{}, {}, QStringLiteral("The picture could not be saved.")};
            }
        },
        std::move(completion));
}

void AlbumWriter::saveImage(const Picture &image, const QString &albumName, AlbumCompletion completion)
{
    const QString library = libraryFolder();
    post(
        [library, image, albumName] {
            // Refused before anything is written, so a bad name leaves no stray picture.
            if (const QString problem = albumNameProblem(albumName); !problem.isEmpty())
                return AlbumSaveResult{{}, {}, problem};
            const AlbumSaveResult written = writeToCameraRoll(library, image);
            if (!written.succeeded())
                return written;
            return addToAlbum(library, written.assetUrl, albumName);
        },
        std::move(completion));
}

void AlbumWriter::saveImage(
    std::function<Picture()> makeImage, const QString &whyNull, const QString &albumName, AlbumCompletion completion)
{
    const QString library = libraryFolder();
    post(
        [library, makeImage = std::move(makeImage), whyNull, albumName] {
            if (const QString problem = albumNameProblem(albumName); !problem.isEmpty())
                return AlbumSaveResult{{}, {}, problem};
            const Picture image = makeImage ? makeImage() : Picture();
            if (image.isNull())
                return AlbumSaveResult{{}, {}, whyNull};
            const AlbumSaveResult written = writeToCameraRoll(library, image);
            if (!written.succeeded())
                return written;
            return addToAlbum(library, written.assetUrl, albumName);
        },
        std::move(completion));
}

void AlbumWriter::addAssetURL(const QUrl &assetUrl, const QString &albumName, AlbumCompletion completion)
{
    const QString library = libraryFolder();
    post([library, assetUrl, albumName] { return addToAlbum(library, assetUrl, albumName); }, std::move(completion));
}

void AlbumWriter::writeImageToSavedPhotosAlbum(const Picture &image, AlbumCompletion completion)
{
    const QString library = libraryFolder();
    post([library, image] { return writeToCameraRoll(library, image); }, std::move(completion));
}

void AlbumWriter::writeImageToSavedPhotosAlbum(
    std::function<Picture()> makeImage, const QString &whyNull, AlbumCompletion completion)
{
    const QString library = libraryFolder();
    post(
        [library, makeImage = std::move(makeImage), whyNull] {
            const Picture image = makeImage ? makeImage() : Picture();
            if (image.isNull())
                return AlbumSaveResult{{}, {}, whyNull};
            return writeToCameraRoll(library, image);
        },
        std::move(completion));
}

} // namespace vimora
