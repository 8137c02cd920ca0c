#include "store/job_store.h"

#include <algorithm>
#include <cmath>

#include <fcntl.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"

namespace vimora {

namespace {
const QString kFormat = QStringLiteral("vimora-job");
// Far beyond any real job; a record asking for more is damaged, not obeyed.
constexpr int kMostLayers = 1000;
constexpr int kMostPhotos = 1000;
constexpr int kMostSteps = 100;
constexpr double kLargestCoordinate = 1e6;

const QRegularExpression &pictureNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^job-(\\d{1,18})\\.png$"));
    return pattern;
}

// A name the record may use: a plain file of tmp/, never a path out of it.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != QLatin1String(".")
           && name != QLatin1String("..");
}

qint64 identity(const Picture &picture)
{
    return picture.bitmap().cacheKey();
}

QJsonArray numbers(std::initializer_list<double> values)
{
    QJsonArray array;
    for (double v : values)
        array.append(v);
    return array;
}

void syncFolder(const QString &folder)
{
    // The rename that replaced the record is durable only once the folder is.
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// --- Reading, strictly: any doubt makes the record damaged ---

struct Reader
{
    QString folder;
    bool decode = true; // false: only the files' headers are read
    QString problem;
    std::map<QString, Picture> decoded;

    bool fail(const QString &why)
    {
        if (problem.isEmpty())
            problem = why;
        return false;
    }

    bool number(const QJsonValue &v, double &out, double limit = kLargestCoordinate)
    {
        if (!v.isDouble() || !std::isfinite(v.toDouble()) || std::abs(v.toDouble()) > limit)
            return fail(QStringLiteral("a number is missing or out of range"));
        out = v.toDouble();
        return true;
    }

    bool numbersInto(const QJsonValue &v, double *out, int count)
    {
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() != count)
            return fail(QStringLiteral("a list of %1 numbers is missing").arg(count));
        for (int i = 0; i < count; ++i)
            if (!number(a.at(i), out[i]))
                return false;
        return true;
    }

    bool picture(const QJsonValue &v, Picture &out, bool required)
    {
        if (v.isUndefined() || v.isNull()) {
            if (required)
                return fail(QStringLiteral("a picture is missing"));
            out = Picture();
            return true;
        }
        const QString name = v.toString();
        if (!v.isString() || !isPlainName(name))
            return fail(QStringLiteral("a picture name is not a file of tmp/"));
        if (const auto it = decoded.find(name); it != decoded.end()) {
            out = it->second;
            return true;
        }
        if (decode) {
            out = readPicture(folder + QLatin1Char('/') + name);
        } else {
            // A stand-in of the size the header gives; the pixels are read on resuming.
            const QSize size = QImageReader(folder + QLatin1Char('/') + name).size();
            out = size.isValid() && !size.isEmpty() ? Picture(QImage(1, 1, QImage::Format_ARGB32_Premultiplied)) : Picture();
        }
        if (out.isNull())
            return fail(QStringLiteral("%1 cannot be read").arg(name));
        decoded[name] = out;
        return true;
    }

    bool names(const QJsonValue &v, QStringList &out)
    {
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() > kMostPhotos)
            return fail(QStringLiteral("a list of names is missing"));
        for (const QJsonValue &n : a) {
            if (!n.isString() || !isPlainName(n.toString()))
                return fail(QStringLiteral("a photo name is not a file of tmp/"));
            out << n.toString();
        }
        return true;
    }

    bool layer(const QJsonValue &v, JobLayer &out)
    {
        if (!v.isObject())
            return fail(QStringLiteral("a layer is not an object"));
        const QJsonObject o = v.toObject();
        double centre[2], size[2];
        if (!picture(o.value(QLatin1String("picture")), out.picture, true) || !picture(o.value(QLatin1String("original")), out.original, false)
            || !numbersInto(o.value(QLatin1String("center")), centre, 2) || !numbersInto(o.value(QLatin1String("size")), size, 2)
            || !numbersInto(o.value(QLatin1String("transform")), out.transform.data(), 6) || !number(o.value(QLatin1String("alpha")), out.alpha, 1))
            return false;
        if (size[0] < 0 || size[1] < 0 || out.alpha < 0)
            return fail(QStringLiteral("a layer has a negative size or alpha"));
        double tag = 0;
        if (!number(o.value(QLatin1String("tag")), tag))
            return false;
        out.center = QPointF(centre[0], centre[1]);
        out.size = QSizeF(size[0], size[1]);
        out.tag = int(tag);
        out.kind = o.value(QLatin1String("kind")).toString();
        out.clips = o.value(QLatin1String("clips")).toBool(true);
        out.lifted = o.value(QLatin1String("lifted")).toBool(false);
        return true;
    }

    bool original(const QJsonValue &v, JobRecord &job)
    {
        if (v.isUndefined())
            return true;
        const QJsonObject o = v.toObject();
        const QString path = o.value(QLatin1String("path")).toString();
        double size[2];
        if (!v.isObject() || !QDir::isAbsolutePath(path) || !numbersInto(o.value(QLatin1String("size")), size, 2))
            return fail(QStringLiteral("the original photo is not an absolute path with a size"));
        if (size[0] < 1 || size[1] < 1 || size[0] != std::floor(size[0]) || size[1] != std::floor(size[1]))
            return fail(QStringLiteral("the original photo's size is not whole pixels"));
        job.originalPath = path;
        job.originalSize = QSize(int(size[0]), int(size[1]));
        return true;
    }

    /// One job state: the whole record, or one of its undo steps.
    bool step(const QJsonObject &o, JobRecord &job)
    {
        const QJsonValue pieceValue = o.value(QLatin1String("piece"));
        const QJsonArray layers = o.value(QLatin1String("layers")).toArray();
        bool ok = names(o.value(QLatin1String("photos")), job.photoNames) && names(o.value(QLatin1String("thumbs")), job.thumbNames)
                  && picture(o.value(QLatin1String("photo")), job.photo, true) && picture(o.value(QLatin1String("shown")), job.shown, true)
                  && picture(o.value(QLatin1String("cutOut")), job.cutOut, false);
        if (ok && layers.size() > kMostLayers)
            ok = fail(QStringLiteral("the record has %1 layers").arg(layers.size()));
        if (ok && !pieceValue.isUndefined()) {
            JobLayer piece;
            double home[4];
            ok = layer(pieceValue, piece) && numbersInto(o.value(QLatin1String("pieceHome")), home, 4);
            if (ok) {
                job.piece = piece;
                job.pieceHome = QRectF(home[0], home[1], home[2], home[3]);
                ok = picture(o.value(QLatin1String("holeShape")), job.holeShape, false);
            }
        }
        if (ok)
            ok = original(o.value(QLatin1String("original")), job);
        for (int i = 0; ok && i < layers.size(); ++i) {
            JobLayer kept;
            ok = layer(layers.at(i), kept);
            job.layers.push_back(kept);
        }
        job.effectMode = o.value(QLatin1String("effectMode")).toString();
        return ok;
    }

    bool steps(const QJsonValue &v, std::vector<JobRecord> &out)
    {
        if (v.isUndefined())
            return true;
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() > kMostSteps)
            return fail(QStringLiteral("a list of undo steps is damaged"));
        for (const QJsonValue &s : a) {
            JobRecord kept;
            if (!s.isObject() || !step(s.toObject(), kept))
                return fail(problem.isEmpty() ? QStringLiteral("an undo step is not an object") : problem);
            out.push_back(std::move(kept));
        }
        return true;
    }
};

QJsonObject layerJson(const JobLayer &layer, const std::function<QString(const Picture &)> &name)
{
    QJsonObject o;
    o.insert(QLatin1String("picture"), name(layer.picture));
    if (!layer.original.isNull())
        o.insert(QLatin1String("original"), name(layer.original));
    if (!layer.kind.isEmpty())
        o.insert(QLatin1String("kind"), layer.kind);
    o.insert(QLatin1String("center"), numbers({layer.center.x(), layer.center.y()}));
    o.insert(QLatin1String("size"), numbers({layer.size.width(), layer.size.height()}));
    const auto &t = layer.transform;
    o.insert(QLatin1String("transform"), numbers({t[0], t[1], t[2], t[3], t[4], t[5]}));
    o.insert(QLatin1String("alpha"), layer.alpha);
    o.insert(QLatin1String("tag"), layer.tag);
    o.insert(QLatin1String("clips"), layer.clips);
    if (layer.lifted)
        o.insert(QLatin1String("lifted"), true);
    return o;
}

void stepNames(const QJsonObject &o, QStringList &out)
{
    for (const char *key : {"photo", "shown", "cutOut", "holeShape"})
        if (o.value(QLatin1String(key)).isString())
            out << o.value(QLatin1String(key)).toString();
    QJsonArray layers = o.value(QLatin1String("layers")).toArray();
    if (o.value(QLatin1String("piece")).isObject())
        layers.prepend(o.value(QLatin1String("piece")));
    for (const QJsonValue &l : layers)
        for (const char *key : {"picture", "original"})
            if (l.toObject().value(QLatin1String(key)).isString())
                out << l.toObject().value(QLatin1String(key)).toString();
    for (const char *key : {"photos", "thumbs"})
        for (const QJsonValue &n : o.value(QLatin1String(key)).toArray())
            out << n.toString();
}

QJsonObject stepJson(const JobRecord &record, const std::function<QString(const Picture &)> &name)
{
    QJsonObject o;
    o.insert(QLatin1String("photos"), QJsonArray::fromStringList(record.photoNames));
    o.insert(QLatin1String("thumbs"), QJsonArray::fromStringList(record.thumbNames));
    if (!record.photo.isNull())
        o.insert(QLatin1String("photo"), name(record.photo));
    if (!record.shown.isNull())
        o.insert(QLatin1String("shown"), name(record.shown));
    if (!record.cutOut.isNull())
        o.insert(QLatin1String("cutOut"), name(record.cutOut));
    if (record.piece && !record.piece->picture.isNull()) {
        o.insert(QLatin1String("piece"), layerJson(*record.piece, name));
        const QRectF h = record.pieceHome;
        o.insert(QLatin1String("pieceHome"), numbers({h.x(), h.y(), h.width(), h.height()}));
        if (!record.holeShape.isNull())
            o.insert(QLatin1String("holeShape"), name(record.holeShape));
    }
    if (!record.originalPath.isEmpty() && !record.originalSize.isEmpty()) {
        QJsonObject original;
        original.insert(QLatin1String("path"), record.originalPath);
        original.insert(QLatin1String("size"), numbers({double(record.originalSize.width()), double(record.originalSize.height())}));
        o.insert(QLatin1String("original"), original);
    }
    o.insert(QLatin1String("effectMode"), record.effectMode);
    QJsonArray layers;
    for (const JobLayer &layer : record.layers)
        if (!layer.picture.isNull())
            layers.append(layerJson(layer, name));
    o.insert(QLatin1String("layers"), layers);
    return o;
}

void recordNames(const QJsonObject &o, QStringList &out)
{
    stepNames(o, out);
    // The undo steps' pictures are kept as long as the record names them.
    for (const char *key : {"undo", "redo"})
        for (const QJsonValue &step : o.value(QLatin1String(key)).toArray())
            stepNames(step.toObject(), out);
    out.removeIf([](const QString &n) { return !isPlainName(n); });
    out.removeDuplicates();
}

std::optional<QJsonObject> readRecordObject(const QString &folder, QString *problem)
{
    QFile file(folder + QLatin1Char('/') + QLatin1String(JobStore::kRecordName));
    if (!file.exists())
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &error) : QJsonDocument();
    const QJsonObject o = doc.object();
    if (!doc.isObject())
        *problem = QStringLiteral("the record is not JSON");
    else if (o.value(QLatin1String("format")).toString() != kFormat)
        *problem = QStringLiteral("the record is not a job");
    else if (o.value(QLatin1String("version")).toInt(-1) != JobRecord::kVersion)
        *problem = QStringLiteral("the record has version %1").arg(o.value(QLatin1String("version")).toVariant().toString());
    return o;
}
} // namespace

JobStore &JobStore::shared()
{
    static JobStore store([] { return AppHome::tempDir(); });
    return store;
}

JobStore::JobStore(std::function<QString()> folder)
    : m_folder(std::move(folder))
{
    setFileOps({});
}

JobStore::~JobStore()
{
    flush();
}

void JobStore::setFileOps(FileOps ops)
{
    flush();
    std::lock_guard lock(m_mutex);
    m_ops.write = ops.write ? std::move(ops.write) : [](const QString &path, const QByteArray &bytes) { return writeFileAtomically(path, bytes); };
    m_ops.remove = ops.remove ? std::move(ops.remove) : [](const QString &path) { return QFile::remove(path); };
}

QString JobStore::nameFor(const Picture &picture, std::map<qint64, QString> &used, Pending &pending)
{
    const qint64 key = identity(picture);
    if (const auto it = used.find(key); it != used.end())
        return it->second;
    if (const auto it = m_names.find(key); it != m_names.end()) {
        used[key] = it->second;
        return it->second;
    }
    if (!m_counterSeeded) {
        // Past every number on disk, so a new picture never replaces one a record names.
        for (const QString &file : QDir(pending.folder).entryList({QStringLiteral("job-*.png")}, QDir::Files))
            if (const auto match = pictureNamePattern().match(file); match.hasMatch())
                m_counter = std::max<std::uint64_t>(m_counter, match.captured(1).toULongLong());
        m_counterSeeded = true;
    }
    const QString name = QStringLiteral("job-%1.png").arg(++m_counter);
    used[key] = name;
    pending.pictures.emplace_back(name, picture);
    return name;
}

void JobStore::save(const JobRecord &record)
{
    const QString folder = m_folder();
    {
        std::lock_guard lock(m_mutex);
        if (m_failureToTell)
            logLine(QStringLiteral("could not keep the job in %1").arg(folder));
        m_failureToTell = false;
        for (auto it = m_names.begin(); it != m_names.end();)
            it = m_unwritten.count(it->second) ? m_names.erase(it) : std::next(it);
        if (!m_unwritten.empty())
            m_lastRecord.clear();
        m_unwritten.clear();
    }
    Pending pending;
    pending.folder = folder;
    std::map<qint64, QString> used;
    const auto name = [&](const Picture &p) { return nameFor(p, used, pending); };

    QJsonObject o = stepJson(record, name);
    o.insert(QLatin1String("format"), kFormat);
    o.insert(QLatin1String("version"), JobRecord::kVersion);
    if (!record.title.isEmpty())
        o.insert(QLatin1String("title"), record.title);
    if (record.unsaved)
        o.insert(QLatin1String("unsaved"), true);
    for (const auto &[key, steps] : {std::pair{"undo", &record.undoSteps}, std::pair{"redo", &record.redoSteps}}) {
        if (steps->empty())
            continue;
        QJsonArray list;
        for (const JobRecord &step : *steps)
            list.append(stepJson(step, name));
        o.insert(QLatin1String(key), list);
    }

    pending.recordBytes = QJsonDocument(o).toJson(QJsonDocument::Indented);
    if (pending.recordBytes == m_lastRecord && pending.pictures.empty())
        return;
    m_lastRecord = pending.recordBytes;
    for (const auto &[key, file] : used)
        pending.referenced.insert(file);
    for (const QString &photo : record.photoNames + record.thumbNames)
        pending.referenced.insert(photo);
    // Only the latest record's pictures keep their names: one dropped and later shown again
    // is written afresh, so no record ever names a file the writer has deleted.
    m_names = std::move(used);

    {
        std::lock_guard lock(m_mutex);
        if (m_pending) {
            // Not taken yet: its pictures still wanted by this record are written with it.
            for (auto &p : m_pending->pictures)
                if (pending.referenced.count(p.first))
                    pending.pictures.push_back(std::move(p));
        }
        m_pending = std::move(pending);
    }
    // A write still waiting takes the newest record, so a burst of saves writes once or twice.
    m_writer.post([this]() -> ui::JobRunner::Apply {
        writePending();
        return {};
    });
}

void JobStore::flush()
{
    m_writer.waitForWork();
}

void JobStore::forget()
{
    flush();
    m_names.clear();
    m_lastRecord.clear();
    m_counterSeeded = false;
    std::lock_guard lock(m_mutex);
    m_onDisk.clear();
}

void JobStore::adopt(const JobRecord &record, const QString &folder)
{
    // The names are read back from the record on disk: the decoded pictures are new objects.
    QString problem;
    const auto o = readRecordObject(folder, &problem);
    if (!o || !problem.isEmpty())
        return;
    const auto remember = [this](const Picture &picture, const QJsonValue &name) {
        if (!picture.isNull() && name.isString())
            m_names[identity(picture)] = name.toString();
    };
    const auto rememberStep = [&](const JobRecord &step, const QJsonObject &s) {
        remember(step.photo, s.value(QLatin1String("photo")));
        remember(step.shown, s.value(QLatin1String("shown")));
        remember(step.cutOut, s.value(QLatin1String("cutOut")));
        remember(step.holeShape, s.value(QLatin1String("holeShape")));
        if (step.piece)
            remember(step.piece->picture, s.value(QLatin1String("piece")).toObject().value(QLatin1String("picture")));
        const QJsonArray layers = s.value(QLatin1String("layers")).toArray();
        for (size_t i = 0; i < step.layers.size() && int(i) < layers.size(); ++i) {
            remember(step.layers[i].picture, layers.at(int(i)).toObject().value(QLatin1String("picture")));
            remember(step.layers[i].original, layers.at(int(i)).toObject().value(QLatin1String("original")));
        }
    };
    rememberStep(record, *o);
    for (const auto &[key, steps] : {std::pair{"undo", &record.undoSteps}, std::pair{"redo", &record.redoSteps}}) {
        const QJsonArray kept = o->value(QLatin1String(key)).toArray();
        for (size_t i = 0; i < steps->size() && int(i) < kept.size(); ++i)
            rememberStep((*steps)[i], kept.at(int(i)).toObject());
    }
    QStringList kept;
    recordNames(*o, kept);
    std::lock_guard lock(m_mutex);
    for (const QString &name : kept)
        if (pictureNamePattern().match(name).hasMatch())
            m_onDisk.insert(name);
}

void JobStore::writePending()
{
    std::unique_lock lock(m_mutex);
    if (!m_pending)
        return;
    Pending job = std::move(*m_pending);
    m_pending.reset();
    const FileOps ops = m_ops;
    const QString folder = job.folder;
    lock.unlock();

    // Pictures first, the record last: until the record is replaced, the old one and
    // every picture it names stay as they were.
    bool written = true;
    std::vector<QString> added;
    for (const auto &[name, picture] : job.pictures) {
        if (!written)
            break;
        const QByteArray bytes = encodePng(picture);
        written = !bytes.isEmpty() && ops.write(folder + QLatin1Char('/') + name, bytes);
        if (written)
            added.push_back(name);
    }
    if (written) {
        // A picture named by an earlier save may have failed meanwhile: never name a
        // file that is not there.
        std::lock_guard check(m_mutex);
        for (const QString &name : job.referenced)
            if (pictureNamePattern().match(name).hasMatch() && !m_onDisk.count(name)
                && std::find(added.begin(), added.end(), name) == added.end()) {
                m_unwritten.insert(name);
                written = false;
            }
    }
    written = written && ops.write(folder + QLatin1Char('/') + QLatin1String(kRecordName), job.recordBytes);
    if (written)
        syncFolder(folder);

    lock.lock();
    // A full disk fails every save after the first; one line says so.
    if (!written && !m_failing)
        m_failureToTell = true;
    m_failing = !written;
    m_onDisk.insert(added.begin(), added.end());
    if (!written)
        for (const auto &[name, picture] : job.pictures)
            if (!m_onDisk.count(name))
                m_unwritten.insert(name);
    if (written) {
        // What neither this record nor the one waiting names is no longer needed.
        std::vector<QString> unneeded;
        for (const QString &name : m_onDisk)
            if (!job.referenced.count(name) && !(m_pending && m_pending->referenced.count(name)))
                unneeded.push_back(name);
        lock.unlock();
        for (const QString &name : unneeded)
            ops.remove(folder + QLatin1Char('/') + name);
        lock.lock();
        for (const QString &name : unneeded)
            m_onDisk.erase(name);
    }
}

JobLoad JobStore::load(const QString &folder)
{
    return read(folder, true);
}

JobLoad JobStore::peek(const QString &folder)
{
    return read(folder, false);
}

JobLoad JobStore::read(const QString &folder, bool decode)
{
    JobLoad result;
    QString problem;
    const auto o = readRecordObject(folder, &problem);
    if (!o)
        return result;
    result.state = JobLoad::State::Damaged;
    if (!problem.isEmpty()) {
        result.problem = problem;
        return result;
    }
    Reader r{folder, decode, {}, {}};
    JobRecord &job = result.record;
    if (!r.step(*o, job)) {
        result.problem = r.problem;
        result.record = {};
        return result;
    }
    job.title = o->value(QLatin1String("title")).toString();
    job.unsaved = o->value(QLatin1String("unsaved")).toBool(false);
    if (decode) {
        // The steps share the job's pictures (one decode each); a damaged step list costs
        // the undo steps, not the job.
        Reader steps = r;
        if (!steps.steps(o->value(QLatin1String("undo")), job.undoSteps) || !steps.steps(o->value(QLatin1String("redo")), job.redoSteps)) {
            job.undoSteps.clear();
            job.redoSteps.clear();
            logLine(QStringLiteral("the kept job's undo steps are dropped: %1").arg(steps.problem));
        }
    }
    result.state = JobLoad::State::Loaded;
    return result;
}

QStringList JobStore::keptFiles(const QString &folder)
{
    QString problem;
    const auto o = readRecordObject(folder, &problem);
    if (!o || !problem.isEmpty())
        return {};
    QStringList names{QLatin1String(kRecordName)};
    recordNames(*o, names);
    return names;
}

QString JobStore::setAside(const QString &folder, const QString &asideFolder)
{
    const QString record = folder + QLatin1Char('/') + QLatin1String(kRecordName);
    const QString aside = asideFolder + QStringLiteral("/job-%1.json").arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz")));
    if (QDir().mkpath(asideFolder) && QFile::rename(record, aside))
        return aside;
    QFile::remove(record);
    return {};
}

} // namespace vimora
