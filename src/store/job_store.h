#pragma once

// The editor's job kept on disk, so that it survives a quit, a crash or a power loss: a small
// versioned JSON record ("job.json") beside the working files in tmp/, naming the pictures it
// needs ("job-N.png", never rewritten once named) and where they lie.
//
// A save returns at once; one background writer puts the new pictures on disk (each synced),
// then replaces the record atomically, then deletes the pictures no record needs any more. So
// whenever the writing stops, the record on disk is the old job or the new one, complete.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "imaging/picture.h"
#include "ui/job_runner.h"

namespace vimora {

/// A picture laid over the photo: the cut piece or a text layer. Geometry in the photo view's
/// points: centre, bounds size and the view's transform (a, b, c, d, tx, ty).
struct JobLayer
{
    Picture picture;
    /// A text layer's picture before rotation and distortion (null for the piece).
    Picture original;
    /// "text" or "word" (a word-art picture); empty for the piece.
    QString kind;
    QPointF center;
    QSizeF size;
    std::array<double, 6> transform{1, 0, 0, 1, 0, 0};
    double alpha = 1;
    int tag = 0;
    bool clips = true;
    /// The piece's lifted look (its shadow).
    bool lifted = false;
};

struct JobRecord
{
    static constexpr int kVersion = 1;

    /// The job's photos and thumbnails in tmp/, as the editor was started on them.
    QStringList photoNames;
    QStringList thumbNames;
    /// The photo being edited (the working file Origin).
    Picture photo;
    /// What the photo view shows: the photo, or the photo with the cut's black hole.
    Picture shown;
    /// The plain cut-out (the working file Tem as cut); null before the cut.
    Picture cutOut;
    std::optional<JobLayer> piece;
    /// Where the piece was cut from, in the photo view: re-entering the piece starts there.
    QRectF pieceHome;
    /// A smart cut's hole over pieceHome: black with the subject's coverage (null for a
    /// rectangle's cut). The hole of a render from the original takes this shape.
    Picture holeShape;
    /// The photo as picked (a path outside tmp/, only ever read) and its upright size; empty
    /// when unknown. Original-size saves render from it.
    QString originalPath;
    QSize originalSize;
    /// "", "mode1" or "mode2": what the last effect flow worked on.
    QString effectMode;
    std::vector<JobLayer> layers;
    /// The photo's name as the user knows it (the window title shows it); empty when unknown.
    QString title;
    /// Whether the job has changes no save has taken yet.
    bool unsaved = false;
    /// The editor's undo steps, oldest first, and its redo steps, the next one last. A step is
    /// a whole job state without steps of its own; its pictures are shared with the job's
    /// wherever they did not change, in memory and on disk.
    std::vector<JobRecord> undoSteps;
    std::vector<JobRecord> redoSteps;
};

/// What a start finds in tmp/.
struct JobLoad
{
    enum class State { None, Loaded, Damaged };
    State state = State::None;
    JobRecord record;
    /// Why a damaged record cannot be used.
    QString problem;
};

class JobStore
{
public:
    static constexpr const char *kRecordName = "job.json";

    /// The store of the current temporary directory.
    static JobStore &shared();
    explicit JobStore(std::function<QString()> folder);
    ~JobStore();
    JobStore(const JobStore &) = delete;
    JobStore &operator=(const JobStore &) = delete;

    /// Keeps record as the job; the latest one given wins.
    void save(const JobRecord &record);
    /// Blocks until the latest record is on disk (or its write failed).
    void flush();
    /// Forgets which pictures are on disk (tmp/ was emptied): the next save writes them all.
    void forget();

    /// Reads the record and decodes every picture it names. A record that cannot be read
    /// whole is Damaged, with the reason; no record is None. Undo steps that cannot be read are
    /// dropped (and logged): the job itself is still good.
    static JobLoad load(const QString &folder);
    /// The same without decoding: the record and the headers of its pictures are checked,
    /// its pictures are stand-ins, its undo steps are left unread. Quick enough for a start.
    static JobLoad peek(const QString &folder);
    /// The files of tmp/ the record on disk needs (itself included); empty without a record.
    static QStringList keptFiles(const QString &folder);
    /// Moves a damaged record out of tmp/ into asideFolder (deleting it when it cannot be
    /// moved) and returns where it went (empty when deleted).
    static QString setAside(const QString &folder, const QString &asideFolder);

    /// After a load: these pictures are on disk under these names and need no writing.
    void adopt(const JobRecord &record, const QString &folder);

    /// File operations; a test stands in a writer that dies part-way through a save.
    struct FileOps
    {
        std::function<bool(const QString &path, const QByteArray &bytes)> write;
        std::function<bool(const QString &path)> remove;
    };
    void setFileOps(FileOps ops);

private:
    struct Pending
    {
        QString folder; // resolved on the UI thread: the writer reads no shared settings
        QByteArray recordBytes;
        std::vector<std::pair<QString, Picture>> pictures; // not yet on disk
        std::set<QString> referenced;
    };
    static JobLoad read(const QString &folder, bool decode);
    QString nameFor(const Picture &picture, std::map<qint64, QString> &used, Pending &pending);
    /// On the writer's thread: writes the record waiting, if any.
    void writePending();

    std::function<QString()> m_folder;
    // UI thread: the name each picture of the latest record has.
    std::map<qint64, QString> m_names;
    std::uint64_t m_counter = 0;
    bool m_counterSeeded = false;

    std::mutex m_mutex;
    std::optional<Pending> m_pending;
    std::set<QString> m_onDisk;    // job pictures known to be on disk
    std::set<QString> m_unwritten; // pictures named but not written: named afresh next time
    QByteArray m_lastRecord;       // UI thread: the record last given, to skip repeats
    bool m_failing = false;     // the last write failed
    bool m_failureToTell = false; // told on the UI thread, once until a write succeeds
    FileOps m_ops;
    ui::JobRunner m_writer; // last: it finishes its writes while the rest still exists
};

} // namespace vimora
