#include "store/working_files.h"

#include <QDir>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"

namespace vimora {

namespace {
constexpr const char *kFileNames[WorkingFiles::kSlotCount] = {"Origin.png", "Tem.png", "word.png",
                                                              "adjust.png", "yoos.png", "s1.png"};

// A PNG keeps neither scale nor orientation tag; premultiplied pixels survive its round trip.
Picture asTheFileHoldsIt(const Picture &picture)
{
    if (picture.isNull() || (picture.scale() == 1.0 && picture.orientation() == Orientation::Up))
        return picture;
    return Picture(picture.uprightBitmap());
}
} // namespace

WorkingFiles &WorkingFiles::shared()
{
    static WorkingFiles files;
    return files;
}

WorkingFiles::WorkingFiles()
    : m_fileWriter(writeFileAtomically)
{
}

WorkingFiles::~WorkingFiles()
{
    flush();
}

QString WorkingFiles::fileName(Slot slot)
{
    return QString::fromLatin1(kFileNames[int(slot)]);
}

QString WorkingFiles::path(Slot slot)
{
    return AppHome::tempDir() + '/' + fileName(slot);
}

void WorkingFiles::save(Slot slot, const Picture &picture)
{
    enqueue(slot, picture, false);
}

void WorkingFiles::saveKeepingBytes(Slot slot, const Picture &picture)
{
    enqueue(slot, picture, true);
}

void WorkingFiles::enqueue(Slot slot, const Picture &given, bool keepBytes)
{
    const Picture picture = asTheFileHoldsIt(given);
    {
        std::lock_guard lock(m_mutex);
        const int i = int(slot);
        m_current[size_t(i)] = picture;
        Pending &p = m_pending[size_t(i)];
        p.picture = picture;
        p.sequence = ++m_sequence;
        p.queued = true;
        p.keepBytes = keepBytes;
    }
    // One write per save; each takes the oldest slot waiting, so a slot saved twice before
    // its write is written once, with its newest picture, and the spare write finds nothing.
    m_writer.post([this]() -> ui::JobRunner::Apply {
        writeOldest();
        return {};
    });
}

Picture WorkingFiles::load(Slot slot)
{
    {
        std::lock_guard lock(m_mutex);
        const Picture &current = m_current[size_t(int(slot))];
        if (!current.isNull())
            return current;
    }
    Picture picture = readPicture(path(slot));
    if (!picture.isNull()) {
        std::lock_guard lock(m_mutex);
        if (m_current[size_t(int(slot))].isNull())
            m_current[size_t(int(slot))] = picture;
    }
    return picture;
}

void WorkingFiles::flush()
{
    m_writer.waitForWork();
}

void WorkingFiles::forget()
{
    flush();
    std::lock_guard lock(m_mutex);
    for (Picture &p : m_current)
        p = Picture();
}

void WorkingFiles::setFileWriter(FileWriter writer)
{
    flush();
    std::lock_guard lock(m_mutex);
    m_fileWriter = writer ? std::move(writer) : FileWriter(writeFileAtomically);
}

QByteArray WorkingFiles::imgData()
{
    flush();
    std::lock_guard lock(m_mutex);
    return m_imgData;
}

void WorkingFiles::writeOldest()
{
    std::unique_lock lock(m_mutex);
    // Oldest queued slot first, so files appear in the order they were saved.
    int next = -1;
    for (int i = 0; i < kSlotCount; ++i)
        if (m_pending[size_t(i)].queued && (next < 0 || m_pending[size_t(i)].sequence < m_pending[size_t(next)].sequence))
            next = i;
    if (next < 0)
        return;
    Pending job = m_pending[size_t(next)];
    m_pending[size_t(next)].queued = false;
    m_pending[size_t(next)].picture = Picture();
    const FileWriter writeFile = m_fileWriter;
    lock.unlock();

    // A null picture writes nothing: the slot keeps its last file, as the encoder fails.
    const QByteArray bytes = encodePng(job.picture);
    const QString target = path(Slot(next));
    if (!bytes.isEmpty()) {
        const bool written = writeFile(target, bytes);
        // A full disk fails every save after the first; one line says so.
        if (!written && !m_writeFailing)
            logLine(QStringLiteral("could not write %1").arg(target));
        m_writeFailing = !written;
    }

    lock.lock();
    if (job.keepBytes && !bytes.isEmpty())
        m_imgData = bytes;
}

} // namespace vimora
