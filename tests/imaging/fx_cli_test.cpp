// The command-line runner: its operation table, argument parsing, exact PNG output and the
// binary's messages and exit codes.
#include <cmath>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "fx_batch.h"
#include "fx_operations.h"
#include "imaging/codec.h"
#include "imaging/image_service.h"
#include "support/pixel_compare.h"

using namespace vimora;
using vimora::test::filledRaster;
using vimora::test::imagesEqual;
using vimora::test::pixelAt;
using vimora::test::positionCoded;

namespace {

struct FxRun
{
    int exitCode;
    QString out, err;
};

FxRun runFx(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VIMORA_FX_BINARY), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool savePng(const QImage &image, const QString &path)
{
    return writeFileAtomically(path, encodePng(Picture(image)));
}

} // namespace

// --- the table ---------------------------------------------------------------------------------

TEST(FxOperations, OfferEveryServiceFilterAndByteEffect)
{
    for (const FilterEntry &entry : imageServiceCatalogue())
        EXPECT_NE(fx::findOperation(std::string(entry.name)), nullptr) << entry.name;
    for (const char *name : {"doImageStuff", "imageProcess", "contrast", "contrast2", "contrast9", "contrast10", "fixImage",
                             "brightenWithValue", "gaussianBlurWithBias", "autoEnhance", "imageByApplyingMatrix",
                             "imageByApplyingGaussianBlurOfSize", "rotateInDegrees", "cropToSize", "verticalFlip"})
        EXPECT_NE(fx::findOperation(name), nullptr) << name;
    const QString listing = fx::listing();
    EXPECT_TRUE(listing.contains("CIBumpDistortion")) << "names listed";
    EXPECT_TRUE(listing.contains("inputCenter=150,150")) << "parameters with defaults";
    EXPECT_TRUE(listing.contains("inputBackgroundImage=FILE (required)"));
}

TEST(FxOperations, ValuesParseByKind)
{
    QString error;

    EXPECT_EQ(std::get<double>(*fx::parseValue(fx::ValueKind::Number, "-0.25", &error)), -0.25);
    EXPECT_EQ(std::get<QPointF>(*fx::parseValue(fx::ValueKind::Point, "10, 20.5", &error)), QPointF(10, 20.5));
    EXPECT_EQ(std::get<QRectF>(*fx::parseValue(fx::ValueKind::Rectangle, "1,2,3,4", &error)), QRectF(1, 2, 3, 4));
    EXPECT_EQ(std::get<QTransform>(*fx::parseValue(fx::ValueKind::Transform, "1,0.5,0,1,3,4", &error)),
              QTransform(1, 0.5, 0, 1, 3, 4));
    EXPECT_EQ(std::get<QSizeF>(*fx::parseValue(fx::ValueKind::Size, "640x480", &error)), QSizeF(640, 480));
    EXPECT_EQ(std::get<long long>(*fx::parseValue(fx::ValueKind::Integer, "42", &error)), 42);

    for (auto [kind, text] : {std::pair{fx::ValueKind::Number, "abc"}, {fx::ValueKind::Number, "nan"},
                              {fx::ValueKind::Point, "1"}, {fx::ValueKind::Rectangle, "1,2,3"},
                              {fx::ValueKind::Integer, "2.5"}, {fx::ValueKind::Transform, "1,0,0,1"}}) {
        EXPECT_FALSE(fx::parseValue(kind, text, &error)) << text;
        EXPECT_TRUE(error.startsWith("expected a")) << qPrintable(error);
    }
    EXPECT_FALSE(fx::parseValue(fx::ValueKind::Picture, "/no/such/file.png", &error));
    EXPECT_EQ(error, "cannot read picture '/no/such/file.png'");
}

TEST(FxOperations, ArgumentsAreCheckedAgainstTheOperation)
{
    const fx::Operation &bump = *fx::findOperation("CIBumpDistortion");
    const fx::Operation &overlay = *fx::findOperation("CIOverlayBlendMode");
    QString error;

    const auto good = fx::parseArguments(bump, {"inputScale=0.3", "inputCenter=5,6"}, &error);
    ASSERT_TRUE(good);
    EXPECT_EQ(good->number("inputScale", 0), 0.3);

    EXPECT_FALSE(fx::parseArguments(bump, {"inputSpeed=2"}, &error));
    EXPECT_EQ(error, "CIBumpDistortion has no parameter 'inputSpeed' (see vimora-fx --list)");
    EXPECT_FALSE(fx::parseArguments(bump, {"inputScale=big"}, &error));
    EXPECT_EQ(error, "bad value 'big' for inputScale: expected a number");
    EXPECT_FALSE(fx::parseArguments(bump, {"0.3"}, &error));
    EXPECT_EQ(error, "expected name=value, got '0.3'");
    EXPECT_FALSE(fx::parseArguments(overlay, {}, &error));
    EXPECT_EQ(error, "CIOverlayBlendMode needs inputBackgroundImage=FILE");
}

// --- PNG output -----------------------------------------------------------------------------------

TEST(FxOutput, PngKeepsEveryPremultipliedBytePair)
{
    // Column C, row A - 1: (A, C, C / 2, A - C), every valid pair at least once.
    QImage pairs(256, 255, QImage::Format_ARGB32_Premultiplied);
    for (int a = 1; a < 256; ++a)
        for (int c = 0; c < 256; ++c) {
            const int v = std::min(c, a);
            pairs.setPixel(c, a - 1, qRgba(v, v / 2, a - v, a));
        }
    QTemporaryDir dir;
    const QString path = dir.filePath("pairs.png");
    QString error;
    qint64 clamped = -1;

    ASSERT_TRUE(fx::writeOutput(Picture(pairs), path, &error, &clamped)) << qPrintable(error);

    EXPECT_EQ(clamped, 0);
    EXPECT_TRUE(imagesEqual(readPicture(path).bitmap(), pairs));
}

TEST(FxOutput, ColourAboveAlphaIsClampedAndCounted)
{
    QImage invalid = filledRaster(2, 1, qRgba(200, 10, 10, 100));
    invalid.setPixel(1, 0, qRgba(255, 255, 255, 0)); // an inverted transparent pixel
    qint64 clamped = 0;

    const QImage straight = fx::straightForPng(invalid, &clamped);

    EXPECT_EQ(clamped, 2);
    EXPECT_EQ(qAlpha(pixelAt(straight, 0, 0)), 100);
    EXPECT_EQ(qRed(pixelAt(straight, 0, 0)), 255);
    EXPECT_EQ(pixelAt(straight, 1, 0), 0u);
}

// --- the binary ---------------------------------------------------------------------------------

TEST(FxBinary, RunsAFilterAndReportsItsTime)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.png"), out = dir.filePath("out.png");
    ASSERT_TRUE(savePng(positionCoded(40, 30), in));

    const FxRun run = runFx({in, out, "CIAffineTransform", "inputTransform=2,0,0,2,0,0"});

    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.out.startsWith("CIAffineTransform: 40x30 -> 80x60 in ")) << qPrintable(run.out);
    EXPECT_EQ(readPicture(out).bitmap().size(), QSize(80, 60));
}

TEST(FxBinary, RunsTheLibraryFunctionsToo)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.png"), out = dir.filePath("out.png");
    ASSERT_TRUE(savePng(positionCoded(40, 30), in));

    const FxRun flip = runFx({in, out, "verticalFlip"});
    const QImage flipped = readPicture(out).bitmap();
    const FxRun crop = runFx({in, out, "cropToSize", "size=10x5", "mode=0"});

    EXPECT_EQ(flip.exitCode, 0) << qPrintable(flip.err);
    EXPECT_EQ(pixelAt(flipped, 3, 0), pixelAt(positionCoded(40, 30), 3, 29));
    EXPECT_EQ(crop.exitCode, 0) << qPrintable(crop.err);
    EXPECT_EQ(readPicture(out).bitmap().size(), QSize(10, 5));
}

TEST(FxBinary, BlendsTakeTheirSecondPicture)
{
    QTemporaryDir dir;
    const QString top = dir.filePath("top.png"), back = dir.filePath("back.png"), out = dir.filePath("out.png");
    ASSERT_TRUE(savePng(filledRaster(4, 4, qRgba(128, 128, 128, 255)), top));
    ASSERT_TRUE(savePng(filledRaster(6, 2, qRgba(128, 128, 128, 255)), back));

    const FxRun named = runFx({top, out, "CIMultiplyBlendMode", "inputBackgroundImage=" + back});
    const QImage result = readPicture(out).bitmap();
    const FxRun bare = runFx({top, out, "CIMultiplyBlendMode", back});

    EXPECT_EQ(named.exitCode, 0) << qPrintable(named.err);
    EXPECT_EQ(result.size(), QSize(6, 4));
    EXPECT_EQ(pixelAt(result, 0, 3), qRgba(61, 61, 61, 255));
    EXPECT_EQ(bare.exitCode, 0) << qPrintable(bare.err);
}

TEST(FxBinary, ExplainsWhatWentWrong)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.png"), out = dir.filePath("out.png");
    ASSERT_TRUE(savePng(positionCoded(8, 8), in));
    QFile corrupt(dir.filePath("corrupt.png"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("\x89PNG\r\n\x1a\nnot really");
    corrupt.close();

    const FxRun list = runFx({"--list"});
    const FxRun unknown = runFx({in, out, "CINoSuchFilter"});
    const FxRun badValue = runFx({in, out, "CIHueAdjust", "inputAngle=left"});
    const FxRun unreadable = runFx({corrupt.fileName(), out, "CIHueAdjust"});
    const FxRun missing = runFx({dir.filePath("none.png"), out, "CIHueAdjust"});
    const FxRun nothing = runFx({in, out, "CICrop", "inputRectangle=100,100,5,5"});
    const FxRun usage = runFx({in});

    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.out.contains("CIHueAdjust"));
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err.trimmed(), "vimora-fx: unknown operation 'CINoSuchFilter' (see vimora-fx --list)");
    EXPECT_EQ(badValue.exitCode, 2);
    EXPECT_EQ(badValue.err.trimmed(), "vimora-fx: bad value 'left' for inputAngle: expected a number");
    EXPECT_EQ(unreadable.exitCode, 1);
    // Qt's own decoder warnings may come first.
    EXPECT_TRUE(unreadable.err.trimmed().endsWith("vimora-fx: cannot read picture '" + corrupt.fileName() + "'"))
        << qPrintable(unreadable.err);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err.trimmed(), "vimora-fx: CICrop produced no picture");
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.startsWith("usage: vimora-fx"));
}

// --- several inputs into a folder ---------------------------------------------------------------

TEST(FxBatch, EachResultGetsItsOwnFileAndNoneReplacesAPicture)
{
    QString error;
    const auto plan = fx::planBatch({"a/beach.png", "b/dune.JPG", "c/sea.tif"}, "out", &error);
    ASSERT_TRUE(plan) << error.toStdString();
    ASSERT_EQ(plan->size(), 3u);
    EXPECT_EQ((*plan)[0].output, "out/beach.png");
    EXPECT_EQ((*plan)[1].output, "out/dune.jpg");
    EXPECT_EQ((*plan)[2].output, "out/sea.png");

    // Two inputs of one name would overwrite each other's result; a result in the input's own
    // folder under the input's own name would overwrite the photo.
    EXPECT_FALSE(fx::planBatch({"a/beach.png", "b/beach.png"}, "out", &error));
    EXPECT_TRUE(error.contains("a/beach.png") && error.contains("b/beach.png")) << error.toStdString();
    EXPECT_FALSE(fx::planBatch({"a/x.jpg", "a/x.jpeg"}, "out", &error));
    EXPECT_FALSE(fx::planBatch({"a/beach.png"}, "a", &error));
    EXPECT_TRUE(error.contains("replaced")) << error.toStdString();
    EXPECT_FALSE(fx::planBatch({"a/../a/beach.png"}, "a/.", &error));
}

TEST(FxBatch, ParametersEndWhereTheInputsBegin)
{
    const fx::Operation *sepia = fx::findOperation("CISepiaTone");
    ASSERT_NE(sepia, nullptr);
    // "mode=2.png" names no parameter of the operation: it is a picture.
    const auto [parameters, inputs] = fx::splitParametersAndInputs(*sepia, {"inputIntensity=0.5", "mode=2.png", "b.png"});
    EXPECT_EQ(parameters, QStringList({"inputIntensity=0.5"}));
    EXPECT_EQ(inputs, QStringList({"mode=2.png", "b.png"}));
}

TEST(FxBatch, TheProgressBarFillsInProportion)
{
    EXPECT_EQ(fx::progressBar(0, 10, 10), "[..........]  0/10");
    EXPECT_EQ(fx::progressBar(5, 10, 10), "[#####.....]  5/10");
    EXPECT_EQ(fx::progressBar(10, 10, 10), "[##########] 10/10");
    EXPECT_EQ(fx::progressBar(1, 3, 10), "[###.......] 1/3");
    EXPECT_EQ(fx::progressBar(0, 0, 4), "[####] 0/0");
}

TEST(FxCli, SeveralInputsIntoAFolderMatchOneByOneAndAFailureStopsNoOther)
{
    QTemporaryDir dir;
    QStringList inputs;
    for (int i = 0; i < 5; ++i) {
        const QString path = dir.filePath(QStringLiteral("in%1.png").arg(i));
        ASSERT_TRUE(savePng(positionCoded(40 + i, 30), path));
        inputs << path;
    }
    const QString broken = dir.filePath("broken.png");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();

    const QString out = dir.filePath("out");
    const FxRun run = runFx(QStringList{"-o", out, "-j", "3", "CISepiaTone", "inputIntensity=0.7"} + inputs + QStringList{broken});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("broken.png")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("1 of 6")) << run.err.toStdString();
    // Not a terminal: a line a picture, no bar.
    EXPECT_EQ(run.out.count("->"), 5) << run.out.toStdString();
    EXPECT_FALSE(run.err.contains("[#"));

    for (int i = 0; i < 5; ++i) {
        const QString single = dir.filePath(QStringLiteral("single%1.png").arg(i));
        ASSERT_EQ(runFx({inputs[i], single, "CISepiaTone", "inputIntensity=0.7"}).exitCode, 0);
        const QImage batch(QStringLiteral("%1/in%2.png").arg(out).arg(i));
        ASSERT_FALSE(batch.isNull()) << i;
        EXPECT_TRUE(imagesEqual(batch, QImage(single))) << i;
    }
}

TEST(FxCli, HelpForAnOperationAndMisusedFolderOptions)
{
    const FxRun help = runFx({"--help", "CIVignette"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("CIVignette (filter)")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("inputIntensity=")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("inputRadius=")) << help.out.toStdString();
    EXPECT_TRUE(runFx({"--help"}).out.contains("-o DIR"));

    EXPECT_EQ(runFx({"--help", "CINothing"}).exitCode, 2);
    EXPECT_EQ(runFx({"-o", "x", "-j", "0", "CISepiaTone", "a.png"}).exitCode, 2);
    EXPECT_EQ(runFx({"-j", "2", "a.png", "b.png", "CISepiaTone"}).exitCode, 2);
    EXPECT_EQ(runFx({"-o", "x", "CISepiaTone", "inputIntensity=0.5"}).exitCode, 2) << "no inputs";
    EXPECT_EQ(runFx({"-o", "x", "CISepiaTone", "a.png", "--repeat", "3"}).exitCode, 2);
}

TEST(FxBinary, SmartCutGivesTheShapedSubjectOrSaysThereIsNone)
{
    QTemporaryDir dir;
    const QString in = dir.filePath("in.png"), flat = dir.filePath("flat.png"), out = dir.filePath("out.png");
    // A red disc on green, grain on both so the colour models have spread to learn.
    QImage photo(160, 120, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            const int grain = (x * 7 + y * 13) % 23;
            photo.setPixel(x, y, std::hypot(x - 80, y - 60) < 30 ? qRgb(200 + grain, 40, 40) : qRgb(40, 160 + grain, 60));
        }
    ASSERT_TRUE(savePng(photo, in));
    ASSERT_TRUE(savePng(filledRaster(160, 120, qRgba(90, 90, 90, 255)), flat));

    const FxRun cut = runFx({in, out, "smartCut", "rect=40,20,80,80"});
    const QImage piece = readPicture(out).bitmap();
    const FxRun none = runFx({flat, dir.filePath("none.png"), "smartCut", "rect=40,20,80,80"});
    const FxRun bare = runFx({in, out, "smartCut"});

    EXPECT_EQ(cut.exitCode, 0) << qPrintable(cut.err);
    ASSERT_EQ(piece.size(), QSize(80, 80));
    EXPECT_EQ(qAlpha(pixelAt(piece, 2, 2)), 0);
    EXPECT_EQ(pixelAt(piece, 40, 40), pixelAt(photo, 80, 60));
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err.trimmed(), "vimora-fx: smartCut: no subject found in the rectangle");
    EXPECT_FALSE(QFile::exists(dir.filePath("none.png")));
    EXPECT_EQ(bare.exitCode, 2);
}
