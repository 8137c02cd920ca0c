#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>

#include <QByteArray>
#include <QString>

#include "imaging/picture.h"
#include "ui/job_runner.h"

namespace vimora {

/// The fixed-name PNG files through which screens hand pictures to each other.
///
/// A save returns at once: the picture, turned the way its file will hold it (pixels upright,
/// scale 1), becomes what the slot's load returns, so a load gives the same picture before and
/// after a restart. A single background writer encodes it (fast PNG) and replaces the file
/// atomically, in order, latest picture per slot wins; a failing write leaves the earlier file
/// whole and is logged once until a write succeeds again. flush() waits for the writer; the
/// clean-up, direct file readers and the end of the process call it. A missing or corrupt file
/// loads as no picture.
class WorkingFiles
{
public:
    enum class Slot { Origin, Tem, Word, Adjust, Yoos, S1 };
    static constexpr int kSlotCount = 6;

    static WorkingFiles &shared();
    ~WorkingFiles();

    static QString fileName(Slot slot);
    /// The slot's file in the current temporary directory.
    static QString path(Slot slot);

    void save(Slot slot, const Picture &picture);
    Picture load(Slot slot);
    /// Blocks until every queued write is on disk.
    void flush();
    /// Drops what the slots remember, so loads read the files again (after the clean-up).
    void forget();

    // The editor's named pairs; all but originSave keep the encoded bytes in imgData.
    void originSave(const Picture &p) { save(Slot::Origin, p); }
    Picture originLoad() { return load(Slot::Origin); }
    void simpleSave(const Picture &p) { saveKeepingBytes(Slot::Tem, p); }
    Picture simpleLoad() { return load(Slot::Tem); }
    void simple2Save(const Picture &p) { saveKeepingBytes(Slot::Word, p); }
    Picture simple2Load() { return load(Slot::Word); }
    void simple3Save(const Picture &p) { saveKeepingBytes(Slot::Adjust, p); }
    Picture simple3Load() { return load(Slot::Adjust); }
    void simple4Save(const Picture &p) { saveKeepingBytes(Slot::Yoos, p); }
    Picture simple4Load() { return load(Slot::Yoos); }
    void simple10Save(const Picture &p) { saveKeepingBytes(Slot::S1, p); }
    Picture simple10Load() { return load(Slot::S1); }

    /// The PNG bytes of the editor's last write (empty before any).
    QByteArray imgData();

    /// Replaces the file writer (atomic by default); a test stands in a full disk with it.
    using FileWriter = std::function<bool(const QString &path, const QByteArray &bytes)>;
    void setFileWriter(FileWriter writer);

private:
    WorkingFiles();
    void saveKeepingBytes(Slot slot, const Picture &picture);
    void enqueue(Slot slot, const Picture &picture, bool keepBytes);
    /// On the writer's thread: writes the slot saved longest ago, if any is waiting.
    void writeOldest();

    struct Pending
    {
        Picture picture;
        std::uint64_t sequence = 0;
        bool queued = false;
        bool keepBytes = false;
    };

    std::mutex m_mutex;
    std::array<Picture, kSlotCount> m_current;   // what load returns without decoding
    std::array<Pending, kSlotCount> m_pending;
    std::uint64_t m_sequence = 0;
    bool m_writeFailing = false;  // writer thread only: logged already, quiet until a write succeeds
    FileWriter m_fileWriter;
    QByteArray m_imgData;
    ui::JobRunner m_writer; // last: it finishes its writes while the rest still exists
};

} // namespace vimora
