// Every file of the bad-input corpus through every reader of user and disk data: the photo
// intake on the real screens, the working-file slots, resources and property lists, the
// artwork manifest and vimora-fx. Each must end in a picture, "no picture" or a clear message,
// never a crash or a hang, and must leave the files it was given as they were.
#include <map>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "app/photo_intake.h"
#include "editor/cut_image.h"
#include "manifest.h"
#include "platform/app_home.h"
#include "platform/property_list.h"
#include "platform/resources.h"
#include "store/working_files.h"

using namespace vimora;

namespace {

// Made once for the whole run: the script draws a 10 000 px gradient and calls ImageMagick often.
const QString &corpusDir()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        QProcess script;
        script.start(QStringLiteral("python3"), {QStringLiteral(VIMORA_CORPUS_SCRIPT), dir.path() + "/corpus"});
        return script.waitForFinished(120000) && script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0;
    }();
    static const QString path = made ? dir.path() + "/corpus" : QString();
    return path;
}

QFileInfoList corpus()
{
    return QDir(corpusDir()).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Name -> content hash (folders by name only) of everything under a folder.
std::map<QString, QByteArray> fingerprint(const QString &folder)
{
    std::map<QString, QByteArray> prints;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray hash = "folder";
        if (it.fileInfo().isFile() && file.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        prints[QDir(folder).relativeFilePath(path)] = hash;
    }
    return prints;
}

class CorpusTest : public test::AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_FALSE(corpusDir().isEmpty()) << "the corpus script failed";
        before = fingerprint(corpusDir());
    }
    void TearDown() override
    {
        WorkingFiles::shared().forget();
        EXPECT_EQ(fingerprint(corpusDir()), before) << "a corpus file was changed";
        AppTest::TearDown();
    }
    std::map<QString, QByteArray> before;
};

} // namespace

TEST_F(CorpusTest, HoldsAtLeastFiftyFiles)
{
    EXPECT_GE(corpus().size(), 50);
}

TEST_F(CorpusTest, PhotoIntakeOpensTheEditorOrSaysWhyNot)
{
    for (const QFileInfo &file : corpus()) {
        SCOPED_TRACE(file.fileName().toStdString());
        launch(DeviceProfile::Phone480);
        log.clear();
        tapOn(*top().categoryButton(1));
        ASSERT_TRUE(picker->pending);
        const PhotoPicker::Result picked = readPickedPhoto(file.absoluteFilePath());
        picker->pending(picked);
        host->advance(1);
        if (picked.damaged) {
            // A file that ends early asks first; Continue opens what could be read.
            ui::AlertView *notice = root().intake().damagedPhotoNotice();
            ASSERT_NE(notice, nullptr);
            host->tap(notice->convertRectTo(notice->buttonAtIndex(PhotoIntake::kNoticeContinueIndex)->frame(), nullptr).center());
            root().intake().waitForIntake();
            host->advance(1);
        }

        if (picked.photo.isNull()) {
            EXPECT_TRUE(host->hasModal());
            EXPECT_FALSE(log.filter(QStringLiteral("intake: ") + picked.error).isEmpty()) << qPrintable(log.join('\n'));
            EXPECT_TRUE(editorViews().cutImgView->isHidden());
            EXPECT_FALSE(shell().cateViewTop->isHidden()); // the home's controls are offered again
        } else {
            EXPECT_FALSE(host->hasModal());
            EXPECT_FALSE(editorViews().cutImgView->isHidden());
            const Picture origin = WorkingFiles::shared().originLoad();
            ASSERT_FALSE(origin.isNull());
            EXPECT_LE(std::max(origin.size().width(), origin.size().height()), 1500);
            // EXIF orientations 5 to 8 turn the 120 x 80 scene a quarter.
            static const QRegularExpression quarterTurned(QStringLiteral("^orientation-[5-8]\\.jpg$"));
            if (file.fileName().startsWith(QLatin1String("orientation-")) && file.fileName() != QLatin1String("orientation-9.jpg")) {
                EXPECT_EQ(origin.size().width() < origin.size().height(), quarterTurned.match(file.fileName()).hasMatch());
            }
        }
        WorkingFiles::shared().flush();
    }
}

TEST_F(CorpusTest, ASlotFileReplacedByAnyFileLoadsAsAPictureOrNone)
{
    WorkingFiles &files = WorkingFiles::shared();
    const QString slotFile = WorkingFiles::path(WorkingFiles::Slot::Word);
    QImage good(3, 2, QImage::Format_ARGB32_Premultiplied);
    good.fill(0xff336699);
    for (const QFileInfo &file : corpus()) {
        SCOPED_TRACE(file.fileName().toStdString());
        files.forget();
        QFile::remove(slotFile);
        QDir(slotFile).removeRecursively();
        if (file.isDir())
            QDir().mkpath(slotFile);
        else
            ASSERT_TRUE(QFile::copy(file.absoluteFilePath(), slotFile));

        const Picture loaded = files.simple2Load();
        if (!loaded.isNull()) {
            EXPECT_GT(loaded.pixelWidth() * loaded.pixelHeight(), 0);
        }
        if (file.isDir())
            continue;

        // The next save replaces the bad file whole.
        files.simple2Save(Picture(good));
        files.forget();
        EXPECT_EQ(files.simple2Load().bitmap(), good);
    }
}

TEST_F(CorpusTest, PropertyListsAreReadOnlyWhenTheyAreArraysOfStrings)
{
    const QStringList readable = {"binary.plist", "empty-array.plist"};
    for (const QFileInfo &file : corpus()) {
        SCOPED_TRACE(file.fileName().toStdString());
        const std::optional<QStringList> strings = readStringArrayPlist(file.absoluteFilePath());
        if (readable.contains(file.fileName())) {
            EXPECT_TRUE(strings.has_value());
        } else if (file.suffix() == QLatin1String("plist") && file.fileName() != QLatin1String("invalid-utf8.plist")) {
            EXPECT_FALSE(strings.has_value());
        }
    }
    EXPECT_EQ(readStringArrayPlist(corpusDir() + "/binary.plist").value_or(QStringList()).size(), 11);
}

TEST_F(CorpusTest, BadResourceFilesLookUpAsMissing)
{
    const QString original = Resources::directory();
    QTemporaryDir bundle;
    for (const QFileInfo &file : corpus()) {
        SCOPED_TRACE(file.fileName().toStdString());
        for (const QString &name : {QStringLiteral("frameE.plist"), QStringLiteral("pic.png"), QStringLiteral("pic@2x.png")}) {
            const QString target = bundle.path() + '/' + name;
            QFile::remove(target);
            QDir(target).removeRecursively();
            if (file.isDir())
                QDir().mkpath(target);
            else
                QFile::copy(file.absoluteFilePath(), target);
        }
        Resources::setDirectory(bundle.path());

        const QStringList list = Resources::stringArray(QStringLiteral("frameE"));
        const std::optional<QStringList> direct = readStringArrayPlist(bundle.path() + "/frameE.plist");
        EXPECT_EQ(list, direct.value_or(QStringList()));
        const Picture picture = Resources::imageNamed(QStringLiteral("pic.png"));
        if (!picture.isNull()) {
            EXPECT_GT(picture.pixelWidth() * picture.pixelHeight(), 0);
        }
    }
    Resources::setDirectory(original);
}

TEST_F(CorpusTest, ManifestReaderRefusesBrokenTables)
{
    for (const QFileInfo &file : corpus()) {
        SCOPED_TRACE(file.fileName().toStdString());
        const std::optional<artwork::Manifest> manifest = artwork::loadManifest(file.absoluteFilePath());
        if (file.fileName().startsWith(QLatin1String("manifest-"))) {
            ASSERT_TRUE(manifest.has_value());
            EXPECT_FALSE(manifest->errors.isEmpty());
            EXPECT_TRUE(manifest->entries.empty());
        }
    }
}

TEST_F(CorpusTest, FilterRunnerFailsCleanlyOnEitherInput)
{
    QTemporaryDir work;
    const QString output = work.path() + "/earlier.png";
    const QString whole = corpusDir() + "/whole.png";
    int runs = 0;
    for (const QFileInfo &file : corpus()) {
        SCOPED_TRACE(file.fileName().toStdString());
        for (const QStringList &arguments :
             {QStringList{file.absoluteFilePath(), output, "CIMaskToAlpha"},
              QStringList{whole, output, "CIMultiplyBlendMode", "inputBackgroundImage=" + file.absoluteFilePath()}}) {
            // An earlier result the user keeps: a failed run must not truncate it.
            QFile::remove(output);
            ASSERT_TRUE(QFile::copy(whole, output));
            const QByteArray earlier = fingerprint(work.path())["earlier.png"];

            QProcess fx;
            fx.start(QStringLiteral(VIMORA_FX), arguments);
            ASSERT_TRUE(fx.waitForFinished(120000)) << "hung: " << qPrintable(arguments.join(' '));
            ++runs;
            ASSERT_EQ(fx.exitStatus(), QProcess::NormalExit) << qPrintable(fx.readAllStandardError());
            const QString errors = QString::fromUtf8(fx.readAllStandardError());
            if (fx.exitCode() != 0) {
                // 1: the input failed; 2: the second picture, a parameter, was refused.
                EXPECT_TRUE(fx.exitCode() == 1 || fx.exitCode() == 2) << qPrintable(errors);
                EXPECT_TRUE(errors.contains(QLatin1String("vimora-fx: ")) && errors.contains(file.fileName())) << qPrintable(errors);
                EXPECT_EQ(fingerprint(work.path())["earlier.png"], earlier);
            }
        }
    }
    EXPECT_EQ(runs, 2 * corpus().size());
}
