#include "picker/thumbnail_cache.h"

#include <array>
#include <deque>
#include <mutex>
#include <unordered_map>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSaveFile>

#include "platform/app_home.h"
#include "ui/job_runner.h"

namespace vimora::picker {

namespace {
// Enough for a few screens of a tablet grid; older thumbnails are read back from disk.
constexpr std::size_t kMemoryLimit = 600;
constexpr int kWorkers = 2;

QString diskFile(const QString &folder, int side, const QFileInfo &info)
{
    const QByteArray key = QStringLiteral("%1|%2|%3|%4")
                               .arg(info.absoluteFilePath())
                               .arg(info.size())
                               .arg(info.lastModified().toMSecsSinceEpoch())
                               .arg(side)
                               .toUtf8();
    return folder + QLatin1Char('/') + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
           + QStringLiteral(".thumb");
}

// Disk thumbnails are raw pixels behind a small header: reading one back is a single read,
// where decoding a compressed copy cost more than all the rest of showing it.
constexpr quint32 kThumbnailMagic = 0x56544831;
constexpr qint64 kThumbnailHeader = 3 * sizeof(quint32);

qint64 thumbnailFileSize(int side)
{
    return kThumbnailHeader + qint64(side) * side * 3;
}

QImage readThumbnail(const QString &path, int side)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    quint32 header[3] = {};
    if (file.read(reinterpret_cast<char *>(header), kThumbnailHeader) != kThumbnailHeader || header[0] != kThumbnailMagic
        || header[1] != quint32(side) || header[2] != quint32(side))
        return {};
    QImage image(side, side, QImage::Format_RGB888);
    if (image.isNull() || file.size() != kThumbnailHeader + image.sizeInBytes())
        return {};
    if (file.read(reinterpret_cast<char *>(image.bits()), image.sizeInBytes()) != image.sizeInBytes())
        return {};
    // Its modification time is its last use: the budget's pruning drops the longest unused.
    file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return image.convertToFormat(QImage::Format_RGB32);
}

bool writeThumbnail(const QString &path, const QImage &thumbnail)
{
    const QImage pixels = thumbnail.convertToFormat(QImage::Format_RGB888);
    const quint32 header[3] = {kThumbnailMagic, quint32(pixels.width()), quint32(pixels.height())};
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly)
           && out.write(reinterpret_cast<const char *>(header), kThumbnailHeader) == kThumbnailHeader
           && out.write(reinterpret_cast<const char *>(pixels.constBits()), pixels.sizeInBytes()) == pixels.sizeInBytes()
           && out.commit();
}

/// Bytes of the thumbnail files in folder.
qint64 thumbnailBytes(const QString &folder)
{
    qint64 total = 0;
    for (const QFileInfo &info : QDir(folder).entryInfoList({QStringLiteral("*.thumb")}, QDir::Files))
        total += info.size();
    return total;
}

/// Removes the least recently used thumbnails until at most target bytes remain; the bytes left.
qint64 pruneThumbnails(const QString &folder, qint64 target)
{
    QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.thumb")}, QDir::Files, QDir::Time | QDir::Reversed);
    qint64 total = 0;
    for (const QFileInfo &info : files)
        total += info.size();
    for (const QFileInfo &info : files) {
        if (total <= target)
            break;
        if (QFile::remove(info.absoluteFilePath()))
            total -= info.size();
    }
    return total;
}

// File name -> (size, modification time) of the pictures an album listing found.
using AlbumIndex = QHash<QString, QPair<qint64, qint64>>;
constexpr quint32 kIndexMagic = 0x56414931; // bumped whenever the layout changes

QString indexFile(const QString &folder, const QString &album)
{
    const QByteArray key = QFileInfo(album).absoluteFilePath().toUtf8();
    return folder + QStringLiteral("/albums/") + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
           + QStringLiteral(".idx");
}

AlbumIndex readIndex(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QDataStream in(&file);
    quint32 magic = 0;
    AlbumIndex index;
    in >> magic;
    if (magic != kIndexMagic)
        return {};
    in >> index;
    // A torn or foreign file only costs the header reads it would have saved.
    return in.status() == QDataStream::Ok ? index : AlbumIndex();
}
} // namespace

struct ThumbnailCache::State
{
    QString folder;
    int side = 0;
    qint64 diskLimit = 0;
    qint64 diskBytes = -1; // counted from the folder at the first write
    /// Each job serves the newest request, so jobs are interchangeable: the next goes to the
    /// next maker in turn.
    std::array<ui::JobRunner, kWorkers> makers;
    std::size_t nextMaker = 0;
    std::mutex mutex;
    std::deque<QString> pending; // newest at the back
    std::unordered_map<QString, std::vector<Ready>> waiting;
    std::unordered_map<QString, QImage> memory;
    std::deque<QString> memoryOrder;

    void remember(const QString &path, const QImage &image)
    {
        if (memory.emplace(path, image).second) {
            memoryOrder.push_back(path);
            while (memoryOrder.size() > kMemoryLimit) {
                memory.erase(memoryOrder.front());
                memoryOrder.pop_front();
            }
        }
    }

    /// Counts a file just written and, over the budget, prunes down to three quarters of it so
    /// the folder is not listed again at every write. Runs on a worker.
    void wrote(qint64 bytes)
    {
        std::lock_guard lock(diskMutex);
        if (diskBytes < 0)
            diskBytes = thumbnailBytes(folder);
        else
            diskBytes += bytes;
        if (diskBytes > diskLimit)
            diskBytes = pruneThumbnails(folder, diskLimit / 4 * 3);
    }
    std::mutex diskMutex;
};

ThumbnailCache::ThumbnailCache(const QString &folder, int side, qint64 diskLimit)
    : m_state(std::make_shared<State>())
{
    m_state->folder = folder;
    m_state->side = side;
    m_state->diskLimit = std::max<qint64>(diskLimit, 0);
    QDir().mkpath(folder);
}

ThumbnailCache::~ThumbnailCache()
{
    cancelPending();
    waitForDone();
}

int ThumbnailCache::side() const
{
    return m_state->side;
}

QImage ThumbnailCache::cached(const QString &path) const
{
    std::lock_guard lock(m_state->mutex);
    const auto it = m_state->memory.find(path);
    return it == m_state->memory.end() ? QImage() : it->second;
}

QString ThumbnailCache::diskPath(const QString &path) const
{
    return diskFile(m_state->folder, m_state->side, QFileInfo(path));
}

KnownPicture ThumbnailCache::knownPictures(const QString &folder) const
{
    auto index = std::make_shared<const AlbumIndex>(readIndex(indexFile(m_state->folder, folder)));
    return [index](const QFileInfo &file) {
        const auto it = index->constFind(file.fileName());
        return it != index->constEnd() && it->first == file.size() && it->second == file.lastModified().toMSecsSinceEpoch();
    };
}

void ThumbnailCache::rememberAlbum(const QString &folder, const std::vector<PhotoAsset> &photos)
{
    AlbumIndex index;
    index.reserve(qsizetype(photos.size()));
    for (const PhotoAsset &photo : photos) {
        const QFileInfo info(photo.path());
        index.insert(info.fileName(), {info.size(), info.lastModified().toMSecsSinceEpoch()});
    }
    const QString path = indexFile(m_state->folder, folder);
    if (readIndex(path) == index)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return;
    QDataStream stream(&out);
    stream << kIndexMagic << index;
    if (stream.status() == QDataStream::Ok)
        out.commit();
}

QImage ThumbnailCache::makeThumbnail(const QString &path, int side)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && !full.isEmpty()) {
        // Decoding at a reduced size lets JPEG skip most of the work.
        const double scale = std::max(double(side) / full.width(), double(side) / full.height());
        if (scale < 1.0)
            reader.setScaledSize(QSize(std::max(side, int(full.width() * scale + 0.5)), std::max(side, int(full.height() * scale + 0.5))));
    }
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {};
    const int edge = std::min(image.width(), image.height());
    image = image.copy((image.width() - edge) / 2, (image.height() - edge) / 2, edge, edge);
    if (edge != side)
        image = image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_RGB32);
}

void ThumbnailCache::request(const QString &path, Ready ready)
{
    {
        std::lock_guard lock(m_state->mutex);
        const auto known = m_state->memory.find(path);
        if (known != m_state->memory.end()) {
            ready(known->second);
            return;
        }
        auto &callbacks = m_state->waiting[path];
        callbacks.push_back(std::move(ready));
        if (callbacks.size() > 1)
            return;
        m_state->pending.push_back(path);
    }
    std::weak_ptr<State> weak = m_state;
    ui::JobRunner &maker = m_state->makers[m_state->nextMaker++ % kWorkers];
    maker.post([weak]() -> ui::JobRunner::Apply {
        const auto state = weak.lock();
        if (!state)
            return {};
        QString next;
        {
            std::lock_guard lock(state->mutex);
            if (state->pending.empty())
                return {};
            next = state->pending.back();
            state->pending.pop_back();
        }
        // Each job serves the newest request, not necessarily the one that queued it.
        const QString file = diskFile(state->folder, state->side, QFileInfo(next));
        QImage image = readThumbnail(file, state->side);
        if (image.isNull()) {
            image = makeThumbnail(next, state->side);
            if (!image.isNull()) {
                // The folder may have been cleared away since the cache began.
                QDir().mkpath(state->folder);
                if (writeThumbnail(file, image))
                    state->wrote(thumbnailFileSize(state->side));
            }
        }
        return [weak, next, image] {
            const auto state = weak.lock();
            if (!state)
                return;
            std::vector<Ready> callbacks;
            {
                std::lock_guard lock(state->mutex);
                if (!image.isNull())
                    state->remember(next, image);
                auto it = state->waiting.find(next);
                if (it == state->waiting.end())
                    return;
                callbacks = std::move(it->second);
                state->waiting.erase(it);
            }
            for (auto &ready : callbacks)
                ready(image);
        };
    });
}

void ThumbnailCache::cancelPending()
{
    std::lock_guard lock(m_state->mutex);
    m_state->pending.clear();
    m_state->waiting.clear();
}

void ThumbnailCache::clearMemory()
{
    std::lock_guard lock(m_state->mutex);
    m_state->memory.clear();
    m_state->memoryOrder.clear();
}

void ThumbnailCache::waitForDone()
{
    for (ui::JobRunner &maker : m_state->makers)
        maker.waitForWork();
}

qint64 ThumbnailCache::diskBytes() const
{
    std::lock_guard lock(m_state->diskMutex);
    return m_state->diskBytes;
}

ThumbnailCache &ThumbnailCache::shared()
{
    // Two-point items at 75 points: 150 pixels serve every device at either density.
    static ThumbnailCache cache(AppHome::root() + QStringLiteral("/Thumbnails"), 150);
    return cache;
}

} // namespace vimora::picker
