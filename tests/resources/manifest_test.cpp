#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "generator.h"
#include "manifest.h"

namespace vimora::artwork {
namespace {

TEST(ManifestParsing, ReadsRowsAndSkipsCommentsAndBlankLines)
{
    const Manifest manifest = parseManifest(QStringLiteral("# a comment\n"
                                                           "\n"
                                                           "longBtn.png\t100x50\tcontrols\tbackground\tbuttons\ta violet pill\n"
                                                           "wordE.plist\t-\tlists\tlist\tfonts\tfamily names\n"));

    ASSERT_TRUE(manifest.errors.isEmpty()) << manifest.errors.join('\n').toStdString();
    ASSERT_EQ(manifest.entries.size(), 2u);
    EXPECT_EQ(manifest.entries[0].name, "longBtn.png");
    EXPECT_EQ(manifest.entries[0].size, QSize(100, 50));
    EXPECT_TRUE(manifest.entries[0].isPicture());
    EXPECT_TRUE(manifest.entries[1].isList());
    EXPECT_FALSE(manifest.entries[1].size.isValid());
    EXPECT_EQ(manifest.find("wordE.plist"), &manifest.entries[1]);
    EXPECT_EQ(manifest.find("nothing.png"), nullptr);
}

TEST(ManifestParsing, RejectsEveryMalformedRowAndKeepsTheRest)
{
    const char *bad[] = {
        "short.png\t10x10\tg\tpicture\tused",                 // five cells
        "zero.png\t0x10\tg\tpicture\tused\tshows",            // zero width
        "half.png\t10x\tg\tpicture\tused\tshows",             // no height
        "role.png\t10x10\tg\tsticker\tused\tshows",           // unknown role
        "list.plist\t10x10\tg\tlist\tused\tshows",            // a list with a size
        "pic.png\t-\tg\tpicture\tused\tshows",                // a picture without one
        "../escape.png\t10x10\tg\tpicture\tused\tshows",      // leaves the folder
        "/root.png\t10x10\tg\tpicture\tused\tshows",          // absolute
        "good.png\t10x10\tg\tpicture\tused\tshows",           // duplicate of the good row
    };
    QString text = QStringLiteral("good.png\t10x10\tg\tpicture\tused\tshows\n");
    for (const char *row : bad)
        text += QString::fromUtf8(row) + '\n';

    const Manifest manifest = parseManifest(text);

    EXPECT_EQ(manifest.errors.size(), int(std::size(bad))) << manifest.errors.join('\n').toStdString();
    ASSERT_EQ(manifest.entries.size(), 1u);
    EXPECT_EQ(manifest.entries[0].name, "good.png");
}

TEST(ManifestParsing, ScaledNamesPutTheSuffixBeforeTheExtensionOfTheLastPart)
{
    EXPECT_EQ(scaledName("longBtn.png", 1), "longBtn.png");
    EXPECT_EQ(scaledName("longBtn.png", 2), "longBtn@2x.png");
    EXPECT_EQ(scaledName("mask10x.jpg", 2), "mask10x@2x.jpg");
    EXPECT_EQ(scaledName("words/0s.png", 2), "words/0s@2x.png");
    EXPECT_EQ(scaledName("QvIPC-Checkmark-iPad", 2), "QvIPC-Checkmark-iPad@2x");
    EXPECT_EQ(scaledName("v1.0/plain", 2), "v1.0/plain@2x");
}

TEST(ManifestAndDrawings, TheCommittedManifestParsesAndMatchesTheDrawingCode)
{
    const auto manifest = loadManifest(QStringLiteral(VIMORA_MANIFEST));

    ASSERT_TRUE(manifest.has_value());
    EXPECT_TRUE(manifest->errors.isEmpty()) << manifest->errors.join('\n').toStdString();
    const QStringList problems = consistencyProblems(*manifest);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
}

TEST(ManifestAndDrawings, ConsistencyCheckNamesARowWithoutADrawing)
{
    auto manifest = *loadManifest(QStringLiteral(VIMORA_MANIFEST));
    manifest.entries.push_back({"undrawn.png", QSize(10, 10), "g", "picture", "", ""});
    manifest.entries.erase(std::find_if(manifest.entries.begin(), manifest.entries.end(),
                                        [](const ManifestEntry &e) { return e.name == "longBtn.png"; }));

    const QStringList problems = consistencyProblems(manifest);

    EXPECT_TRUE(problems.contains("no drawing for undrawn.png")) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.contains("drawing longBtn.png is not in the manifest")) << problems.join('\n').toStdString();
}

TEST(Rendering, ScaleTwoDrawsTwiceThePixelsAndUnknownNamesDrawNothing)
{
    const ManifestEntry handle{"moveHandBtnX.png", QSize(35, 35), "controls", "picture", "", ""};

    const QImage one = renderPicture(handle, 1);
    const QImage two = renderPicture(handle, 2);
    const QImage unknown = renderPicture({"nothing.png", QSize(10, 10), "g", "picture", "", ""}, 1);

    EXPECT_EQ(one.size(), QSize(35, 35));
    EXPECT_EQ(two.size(), QSize(70, 70));
    EXPECT_TRUE(unknown.isNull());
}

TEST(Generating, RefusesAManifestThatDisagreesWithTheDrawingsAndWritesNothing)
{
    QTemporaryDir out;
    Manifest partial;
    partial.entries.push_back({"longBtn.png", QSize(100, 50), "controls", "background", "", ""});

    const QStringList problems = generate(partial, {out.path(), QString()});

    EXPECT_FALSE(problems.isEmpty());
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}

TEST(Generating, ContactSheetIsWrittenButReportedIncompleteWhenAPictureIsMissing)
{
    QTemporaryDir resources;
    Manifest manifest;
    manifest.entries.push_back({"absent.png", QSize(20, 20), "controls", "picture", "", ""});
    const QString sheet = resources.path() + "/sheet.png";

    const bool complete = writeContactSheet(manifest, resources.path(), sheet);

    EXPECT_FALSE(complete);
    EXPECT_GT(QFileInfo(sheet).size(), 0);
}

} // namespace
} // namespace vimora::artwork
