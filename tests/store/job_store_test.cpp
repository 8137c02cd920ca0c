// The kept job: written whole or not at all, back after a quit, a damaged record set aside.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "store/cleanup.h"
#include "store/job_store.h"
#include "support/pixel_compare.h"
#include "support/temp_home.h"

using namespace vimora;

namespace {

Picture coded(int w, int h, int seed)
{
    QImage image = test::positionCoded(w, h);
    image.setPixel(0, 0, qRgba(seed, 255 - seed, seed / 2, 255));
    return Picture(image);
}

JobLayer placed(const Picture &picture, QPointF centre, int tag)
{
    JobLayer layer;
    layer.picture = picture;
    layer.center = centre;
    layer.size = picture.size();
    layer.transform = {1.5, 0.25, -0.25, 1.5, 3, -4};
    layer.alpha = 0.5;
    layer.tag = tag;
    return layer;
}

/// A job after a cut, with one text layer; seed tells two jobs apart.
JobRecord job(int seed)
{
    JobRecord record;
    record.photoNames = {QStringLiteral("B1234.jpg")};
    record.thumbNames = {QStringLiteral("B1234s.jpg")};
    record.photo = coded(12, 9, seed);
    record.shown = coded(12, 9, seed + 1);
    record.cutOut = coded(4, 3, seed + 2);
    record.piece = placed(record.cutOut, QPointF(10 + seed, 20), 666);
    record.piece->lifted = true;
    record.pieceHome = QRectF(1, 2, 4, 3);
    record.effectMode = QStringLiteral("mode1");
    JobLayer text = placed(coded(5, 2, seed + 3), QPointF(30, 40 + seed), 10000);
    text.kind = QStringLiteral("text");
    text.original = coded(5, 2, seed + 4);
    record.layers.push_back(text);
    return record;
}

testing::AssertionResult sameLayer(const JobLayer &a, const JobLayer &b)
{
    if (a.center != b.center || a.size != b.size || a.transform != b.transform || a.alpha != b.alpha || a.tag != b.tag
        || a.kind != b.kind || a.clips != b.clips || a.lifted != b.lifted)
        return testing::AssertionFailure() << "the layer tagged " << b.tag << " lies elsewhere";
    if (auto r = test::imagesEqual(a.picture.bitmap(), b.picture.bitmap()); !r)
        return r;
    if (a.original.isNull() != b.original.isNull())
        return testing::AssertionFailure() << "the original went";
    return a.original.isNull() ? testing::AssertionSuccess() : test::imagesEqual(a.original.bitmap(), b.original.bitmap());
}

testing::AssertionResult sameJob(const JobRecord &a, const JobRecord &b)
{
    if (a.photoNames != b.photoNames || a.thumbNames != b.thumbNames || a.pieceHome != b.pieceHome
        || a.effectMode != b.effectMode || a.layers.size() != b.layers.size() || a.piece.has_value() != b.piece.has_value())
        return testing::AssertionFailure() << "the record's fields differ";
    for (auto [x, y] : {std::pair{&a.photo, &b.photo}, {&a.shown, &b.shown}, {&a.cutOut, &b.cutOut}})
        if (auto r = test::imagesEqual(x->bitmap(), y->bitmap()); !r)
            return r;
    if (a.piece)
        if (auto r = sameLayer(*a.piece, *b.piece); !r)
            return r;
    for (size_t i = 0; i < a.layers.size(); ++i)
        if (auto r = sameLayer(a.layers[i], b.layers[i]); !r)
            return r;
    return testing::AssertionSuccess();
}

class JobStoreTest : public ::testing::Test
{
protected:
    QString folder() const { return dir.path(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    void writeRecord(const QByteArray &bytes)
    {
        QFile f(file(JobStore::kRecordName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList jobPictures() const { return QDir(folder()).entryList({"job-*.png"}, QDir::Files, QDir::Name); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(JobStoreTest, ASavedJobLoadsBackAsItWas)
{
    JobStore store([this] { return folder(); });

    store.save(job(0));
    store.flush();
    const JobLoad loaded = JobStore::load(folder());

    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    EXPECT_TRUE(sameJob(loaded.record, job(0)));
    EXPECT_EQ(JobStore::load(QTemporaryDir().path()).state, JobLoad::State::None);
}

TEST_F(JobStoreTest, PicturesNoRecordNamesGoAndAPictureShownAgainIsWrittenAgain)
{
    JobStore store([this] { return folder(); });
    JobRecord first = job(0);
    store.save(first);
    store.flush();
    const QStringList before = jobPictures();

    JobRecord moved = first;
    moved.piece->center += QPointF(5, 5);
    store.save(moved);
    store.flush();
    const QStringList afterMove = jobPictures();
    JobRecord merged = first;
    merged.piece.reset();
    merged.photo = coded(12, 9, 50);
    store.save(merged);
    store.flush();
    store.save(first);
    store.flush();

    EXPECT_EQ(afterMove, before) << "a move writes no picture";
    EXPECT_EQ(jobPictures().size(), before.size()) << jobPictures().join(' ').toStdString();
    const JobLoad loaded = JobStore::load(folder());
    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    EXPECT_TRUE(sameJob(loaded.record, first));
}

// Power lost part-way through a save: the writer stops after k file writes, and nothing after
// that happens (no write, no deletion). The record on disk is then the old job or the new one.
TEST_F(JobStoreTest, AWriteCutShortLeavesTheOldJobOrTheNewOneNeverAMix)
{
    const JobRecord oldJob = job(0);
    JobRecord newJob = job(100);
    newJob.layers.push_back(newJob.layers.front());
    newJob.layers.back().picture = coded(7, 3, 9);
    newJob.layers.back().tag = 10001;
    bool sawOld = false, sawNew = false;

    for (int k = 0; k <= 8; ++k) {
        QTemporaryDir home;
        {
            JobStore store([&] { return home.path(); });
            store.save(oldJob);
            store.flush();
            int writesLeft = k;
            store.setFileOps({[&](const QString &path, const QByteArray &bytes) {
                                  return writesLeft-- > 0 && writeFileAtomically(path, bytes);
                              },
                              [&](const QString &path) { return writesLeft > 0 && QFile::remove(path); }});
            store.save(newJob);
            store.flush();
        }
        const JobLoad loaded = JobStore::load(home.path());

        ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << "after " << k << " writes: " << loaded.problem.toStdString();
        const bool isNew = loaded.record.layers.size() == newJob.layers.size();
        EXPECT_TRUE(sameJob(loaded.record, isNew ? newJob : oldJob)) << "after " << k << " writes";
        (isNew ? sawNew : sawOld) = true;
    }
    EXPECT_TRUE(sawOld);
    EXPECT_TRUE(sawNew);
}

TEST_F(JobStoreTest, ASaveThatFailedOnAFullDiskIsMadeGoodByTheNext)
{
    JobStore store([this] { return folder(); });
    store.save(job(0));
    store.flush();
    const JobRecord next = job(100);
    store.setFileOps({[](const QString &, const QByteArray &) { return false; }, {}});
    store.save(next);
    store.flush();
    store.setFileOps({});

    store.save(next);
    store.flush();

    const JobLoad loaded = JobStore::load(folder());
    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    EXPECT_TRUE(sameJob(loaded.record, next)) << "the pictures that failed are written with the next save";
}

TEST_F(JobStoreTest, ADamagedRecordIsReportedWithItsReasonAndSetAside)
{
    JobStore store([this] { return folder(); });
    store.save(job(0));
    store.flush();
    QFile valid(file(JobStore::kRecordName));
    ASSERT_TRUE(valid.open(QIODevice::ReadOnly));
    const QByteArray good = valid.readAll();
    valid.close();
    const QString aPicture = jobPictures().front();
    QByteArray escaping = good;
    escaping.replace(aPicture.toUtf8(), "../settings.ini");
    QByteArray newer = good;
    newer.replace("\"version\": 1", "\"version\": 2");
    QByteArray hugeLayer = good;
    hugeLayer.replace("\"alpha\": 0.5", "\"alpha\": 1e300");

    for (const QByteArray &bad : {QByteArray("{\"format\": \"vimora-job\", \"vers"), QByteArray("[]"), escaping, newer,
                                  hugeLayer, good.left(good.size() / 2)}) {
        writeRecord(bad);
        EXPECT_EQ(JobStore::load(folder()).state, JobLoad::State::Damaged) << bad.left(200).toStdString();
    }
    writeRecord(good);
    QFile cut(file(aPicture));
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    cut.resize(cut.size() / 2);
    cut.close();
    const JobLoad truncated = JobStore::load(folder());
    const QString aside = JobStore::setAside(folder(), file("aside"));

    EXPECT_EQ(truncated.state, JobLoad::State::Damaged);
    EXPECT_TRUE(truncated.problem.contains(aPicture)) << truncated.problem.toStdString();
    EXPECT_TRUE(QFile::exists(aside));
    EXPECT_EQ(JobStore::load(folder()).state, JobLoad::State::None) << "set aside, so reported once";
}

TEST_F(JobStoreTest, UndoStepsComeBackSharingTheirPicturesAndADamagedStepCostsOnlyTheSteps)
{
    JobStore store([this] { return folder(); });
    JobRecord present = job(0);
    JobRecord before = present;
    before.piece->center -= QPointF(8, 3);
    JobRecord merged = present;
    merged.piece.reset();
    merged.pieceHome = {};
    merged.photo = coded(12, 9, 60);
    present.undoSteps = {before};
    present.redoSteps = {merged};

    store.save(present);
    store.flush();
    // The moved step adds no picture; the merged one adds its photo alone.
    EXPECT_EQ(jobPictures().size(), size_t(6));
    JobLoad loaded = JobStore::load(folder());
    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    ASSERT_EQ(loaded.record.undoSteps.size(), size_t(1));
    ASSERT_EQ(loaded.record.redoSteps.size(), size_t(1));
    EXPECT_TRUE(sameJob(loaded.record, present));
    EXPECT_TRUE(sameJob(loaded.record.undoSteps[0], before));
    EXPECT_TRUE(sameJob(loaded.record.redoSteps[0], merged));
    EXPECT_EQ(loaded.record.undoSteps[0].photo.bitmap().cacheKey(), loaded.record.photo.bitmap().cacheKey()) << "decoded once";
    // The clean-up keeps the steps' pictures.
    for (const QString &name : jobPictures())
        EXPECT_TRUE(JobStore::keptFiles(folder()).contains(name)) << name.toStdString();

    // The merged step's photo cut short: the job still resumes, without its steps.
    const QString mergedPhoto = [&] {
        QFile f(file(JobStore::kRecordName));
        f.open(QIODevice::ReadOnly);
        const QByteArray record = f.readAll();
        const int redo = record.indexOf("\"redo\"");
        const int at = record.indexOf("job-", record.indexOf("\"photo\"", redo));
        return QString::fromLatin1(record.mid(at, record.indexOf('"', at) - at));
    }();
    QFile picture(file(mergedPhoto));
    ASSERT_TRUE(picture.open(QIODevice::ReadWrite));
    picture.resize(picture.size() / 2);
    picture.close();
    loaded = JobStore::load(folder());
    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    EXPECT_TRUE(sameJob(loaded.record, present));
    EXPECT_TRUE(loaded.record.undoSteps.empty() && loaded.record.redoSteps.empty());

    // A job saved without steps leaves no step pictures behind.
    JobRecord plain = present;
    plain.undoSteps.clear();
    plain.redoSteps.clear();
    store.save(plain);
    store.flush();
    EXPECT_EQ(jobPictures().size(), size_t(5));
}

TEST_F(JobStoreTest, ASmartCutsShapeAndTheOriginalPhotoComeBackWithEachStep)
{
    JobStore store([this] { return folder(); });
    // A hole shape with soft alpha: a PNG must give every level back.
    QImage shape(4, 3, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            shape.setPixel(x, y, qRgba(0, 0, 0, (x * 3 + y) * 20));
    JobRecord present = job(0);
    present.holeShape = Picture(shape);
    present.originalPath = QStringLiteral("/photos/B1234.jpg");
    present.originalSize = QSize(4000, 3000);
    JobRecord before = present;
    before.holeShape = coded(4, 3, 90);
    present.undoSteps = {before};

    store.save(present);
    store.flush();
    const JobLoad loaded = JobStore::load(folder());
    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    EXPECT_TRUE(test::imagesEqual(loaded.record.holeShape.bitmap(), shape));
    EXPECT_EQ(loaded.record.originalPath, present.originalPath);
    EXPECT_EQ(loaded.record.originalSize, QSize(4000, 3000));
    ASSERT_EQ(loaded.record.undoSteps.size(), size_t(1));
    EXPECT_TRUE(test::imagesEqual(loaded.record.undoSteps[0].holeShape.bitmap(), before.holeShape.bitmap()));
    for (const QString &name : jobPictures())
        EXPECT_TRUE(JobStore::keptFiles(folder()).contains(name)) << name.toStdString();

    // The original is only ever read, but a record naming it other than as a whole path with a
    // size in whole pixels is not trusted.
    QFile valid(file(JobStore::kRecordName));
    ASSERT_TRUE(valid.open(QIODevice::ReadOnly));
    const QByteArray good = valid.readAll();
    valid.close();
    for (const auto &[from, to] : {std::pair{QByteArray("\"/photos/B1234.jpg\""), QByteArray("\"photos/B1234.jpg\"")},
                                   std::pair{QByteArray("4000"), QByteArray("0")}, std::pair{QByteArray("3000"), QByteArray("2.5")}}) {
        QByteArray bad = good;
        ASSERT_TRUE(bad.contains(from));
        writeRecord(bad.replace(from, to));
        EXPECT_EQ(JobStore::load(folder()).state, JobLoad::State::Damaged) << to.toStdString();
    }
}

TEST(JobCleanupTest, AQuitKeepsTheJobAndWhatItNamesAndEmptiesTheRest)
{
    test::TempHome home;
    const QString tmp = AppHome::tempDir();
    for (const char *name : {"B1234.jpg", "B1234s.jpg", "Tem.png", "stray.jpg"}) {
        QFile f(tmp + '/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    JobStore::shared().save(job(0));

    terminationCleanup();
    JobStore::shared().forget();

    const QStringList left = QDir(tmp).entryList(QDir::Files);
    EXPECT_TRUE(left.contains("job.json") && left.contains("B1234.jpg") && left.contains("B1234s.jpg"));
    EXPECT_FALSE(left.contains("Tem.png") || left.contains("stray.jpg"));
    const JobLoad loaded = JobStore::load(tmp);
    ASSERT_EQ(loaded.state, JobLoad::State::Loaded) << loaded.problem.toStdString();
    EXPECT_TRUE(sameJob(loaded.record, job(0)));

    QFile damaged(tmp + "/job.json");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not json");
    damaged.close();
    terminationCleanup();
    EXPECT_TRUE(QDir(tmp).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot)) << "a damaged record keeps nothing";
}
