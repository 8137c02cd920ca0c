// Runs the manifest against the generated resource folder, and the lookups the screens make.
#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include "imaging/codec.h"
#include "manifest.h"
#include "platform/resources.h"

namespace vimora::artwork {

// Names failing cases by their resource rather than their bytes.
void PrintTo(const ManifestEntry &entry, std::ostream *out)
{
    *out << entry.name.toStdString();
}

namespace {

QString resourceDir()
{
    const QString env = qEnvironmentVariable("VIMORA_RESOURCES");
    return env.isEmpty() ? QStringLiteral(VIMORA_DEFAULT_RESOURCES) : env;
}

const Manifest &manifest()
{
    static const Manifest loaded = loadManifest(QStringLiteral(VIMORA_MANIFEST)).value_or(Manifest{});
    return loaded;
}

std::vector<ManifestEntry> pictureEntries()
{
    std::vector<ManifestEntry> pictures;
    for (const ManifestEntry &entry : manifest().entries)
        if (entry.isPicture())
            pictures.push_back(entry);
    return pictures;
}

QImage decoded(const QString &name, int scale)
{
    const Picture picture = readPicture(resourceDir() + '/' + scaledName(name, scale));
    return picture.isNull() ? QImage() : picture.bitmap();
}

/// Fonts need a GUI application; one for the whole binary.
class ResourceEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "resources_test";
            static char *argv[] = {name, nullptr};
            m_app = new QGuiApplication(argc, argv);
        }
        Resources::setDirectory(resourceDir());
    }

private:
    QGuiApplication *m_app = nullptr;
};
const auto *const kEnvironment = testing::AddGlobalTestEnvironment(new ResourceEnvironment);

// --- Every picture of the manifest, at both scales. -----------------------------------------

class GeneratedPicture : public testing::TestWithParam<ManifestEntry>
{
};

TEST_P(GeneratedPicture, ExistsDecodesAndHasTheManifestSizeAtBothScales)
{
    const ManifestEntry &entry = GetParam();

    for (int scale : {1, 2}) {
        const QImage image = decoded(entry.name, scale);
        ASSERT_FALSE(image.isNull()) << qPrintable(scaledName(entry.name, scale)) << " is missing or does not decode";
        EXPECT_EQ(image.size(), entry.size * scale) << qPrintable(scaledName(entry.name, scale));
    }
}

TEST_P(GeneratedPicture, ShowsSomethingAndLooksAlikeAtBothScales)
{
    const ManifestEntry &entry = GetParam();
    const QImage one = decoded(entry.name, 1);
    const QImage two = decoded(entry.name, 2);
    ASSERT_FALSE(one.isNull());
    ASSERT_FALSE(two.isNull());

    // Not blank: some pixel differs from the first one.
    const QRgb first = one.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < one.height() && !varied; ++y)
        for (int x = 0; x < one.width() && !varied; ++x)
            varied = one.pixel(x, y) != first;
    EXPECT_TRUE(varied) << qPrintable(entry.name) << " is a single colour";

    // The scale-2 drawing reduced to scale 1 is the same picture: a drawing that ignored the
    // painter's scale (pixel coordinates, fixed pixel sizes) differs by far more than this.
    const QImage reduced = two.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double total = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb a = one.pixel(x, y), b = reduced.pixel(x, y);
            total += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) +
                     std::abs(qAlpha(a) - qAlpha(b));
        }
    const double mean = total / (4.0 * one.width() * one.height());
    // Anti-aliased edges, text and JPEG noise differ a little between the two drawings; the
    // halftone preview, all small dots, differs most (about 12). A drawing that ignores the
    // scale leaves a quarter of the scale-2 picture empty: 30 and more.
    EXPECT_LT(mean, 16.0) << qPrintable(entry.name) << " (mean " << mean << ") differs between its scale-1 and scale-2 drawings";
}

std::string caseName(const testing::TestParamInfo<ManifestEntry> &info)
{
    std::string name = info.param.name.toStdString();
    std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Manifest, GeneratedPicture, testing::ValuesIn(pictureEntries()), caseName);

// --- Lookups the screens make. ---------------------------------------------------------------

TEST(ResourceLookup, EveryManifestNameResolvesWithoutAMissingResource)
{
    ASSERT_FALSE(manifest().entries.empty());
    Resources::clearMissingNames();

    for (const ManifestEntry &entry : manifest().entries) {
        if (entry.isPicture())
            EXPECT_FALSE(Resources::imageNamed(entry.name).isNull()) << qPrintable(entry.name);
        else if (entry.isList())
            EXPECT_FALSE(Resources::stringArray(entry.name.chopped(6)).isEmpty()) << qPrintable(entry.name);
        else
            EXPECT_TRUE(QFileInfo(Resources::path(entry.name)).size() > 0) << qPrintable(entry.name);
    }

    EXPECT_TRUE(Resources::missingNames().isEmpty()) << qPrintable(Resources::missingNames().join(", "));
}

TEST(ResourceLookup, WordPicturesLiveBesideTheButtonBackgroundsOfTheSameNumber)
{
    const Picture buttonZero = Resources::imageNamed("0.png");
    const Picture buttonTwo = Resources::imageNamed("2.png");
    const Picture wordZero = Resources::imageNamed("words/0.png");
    const Picture wordTwo = Resources::imageNamed("words/2.png");

    ASSERT_FALSE(buttonZero.isNull() || buttonTwo.isNull() || wordZero.isNull() || wordTwo.isNull());
    EXPECT_EQ(buttonZero.size(), QSizeF(80, 40));
    EXPECT_EQ(buttonTwo.size(), QSizeF(32, 32));
    EXPECT_EQ(wordZero.size(), QSizeF(130, 130));
    EXPECT_EQ(wordTwo.size(), QSizeF(130, 130));
}

TEST(ResourceLookup, ScaleTwoPicturesKeepTheirSizeInPoints)
{
    Resources::setDirectory(resourceDir()); // drops cached scale-1 pictures
    Resources::setPreferredScale(2);

    const Picture button = Resources::imageNamed("longBtn.png");
    const Picture mask = Resources::imageNamed("mask10x.jpg");
    const Picture thumb = Resources::imageNamed("words/5s.png");

    Resources::setPreferredScale(1);
    ASSERT_FALSE(button.isNull() || mask.isNull() || thumb.isNull());
    EXPECT_EQ(button.scale(), 2.0);
    EXPECT_EQ(button.size(), QSizeF(100, 50));
    EXPECT_EQ(button.pixelWidth(), 200);
    EXPECT_EQ(mask.size(), QSizeF(320, 240));
    EXPECT_EQ(thumb.size(), QSizeF(90, 90));
}

TEST(ResourceLookup, PickerCheckmarksResolveByTheirBareNames)
{
    Resources::clearMissingNames();

    const Picture tablet = Resources::imageNamed("QvIPC-Checkmark-iPad");
    const Picture phone = Resources::imageNamed("QvIPC-Checkmark-iPhone");

    EXPECT_EQ(tablet.size(), QSizeF(28, 28));
    EXPECT_EQ(phone.size(), QSizeF(28, 28));
    EXPECT_TRUE(Resources::missingNames().isEmpty());
}

// --- Property lists. -------------------------------------------------------------------------

TEST(PropertyLists, BuiltInImagesPairFullSizePicturesWithThumbnails)
{
    const QStringList full = Resources::stringArray("frameE");
    const QStringList thumbs = Resources::stringArray("frameEs");

    ASSERT_GE(full.size(), 2);
    ASSERT_EQ(full.size(), thumbs.size());
    // Entry 0 is the "from the photo library" tile in both lists.
    EXPECT_EQ(full[0], thumbs[0]);
    for (int i = 1; i < full.size(); ++i) {
        const Picture picture = Resources::imageNamed(full[i]);
        const Picture thumb = Resources::imageNamed(thumbs[i]);
        ASSERT_FALSE(picture.isNull() || thumb.isNull()) << qPrintable(full[i]);
        EXPECT_EQ(picture.size(), QSizeF(1280, 960)) << qPrintable(full[i]);
        EXPECT_EQ(thumb.size().width(), 156) << qPrintable(thumbs[i]);
        EXPECT_NEAR(thumb.size().height() / 156.0, picture.size().height() / picture.size().width(), 0.01);
    }
}

TEST(PropertyLists, WordListNamesInstalledFamiliesEachWithItsPictures)
{
    const QStringList words = Resources::stringArray("wordE");

    ASSERT_GE(words.size(), 16);
    ASSERT_GT(words.size(), 13); // entry 13 is the starting font
    QStringList distinct = words;
    EXPECT_EQ(distinct.removeDuplicates(), 0);
    for (int i = 0; i < words.size(); ++i) {
        // The font database may add a foundry ("C059 [urw]") to the family it resolved.
        const QString resolved = QFontInfo(QFont(words[i])).family().section(" [", 0, 0);
        EXPECT_EQ(resolved, words[i]) << "not an installed family: " << qPrintable(words[i]);
        EXPECT_FALSE(Resources::imageNamed(QStringLiteral("words/%1.png").arg(i)).isNull()) << i;
        EXPECT_FALSE(Resources::imageNamed(QStringLiteral("words/%1s.png").arg(i)).isNull()) << i;
    }
}

TEST(PropertyLists, PromotionsPairPicturesWithPagesThatExist)
{
    const QStringList addresses = Resources::stringArray("ads");
    const QStringList pictures = Resources::stringArray("adImg");

    ASSERT_FALSE(pictures.isEmpty());
    ASSERT_EQ(addresses.size(), pictures.size());
    for (int i = 0; i < pictures.size(); ++i) {
        EXPECT_FALSE(Resources::imageNamed(pictures[i]).isNull()) << qPrintable(pictures[i]);
        // Addresses are pages shipped in the resource folder, relative to it.
        EXPECT_TRUE(QFileInfo(resourceDir() + '/' + addresses[i]).isFile()) << qPrintable(addresses[i]);
    }
}

// --- Pictures read by code, not only shown. --------------------------------------------------

struct MaskCase
{
    const char *name;
    bool top, bottom, left, right;
};

class FeatheringMask : public testing::TestWithParam<MaskCase>
{
};

TEST_P(FeatheringMask, IsOpaqueGreyBlackInTheMiddleAndWhiteOnlyAtItsNamedEdges)
{
    const MaskCase c = GetParam();
    const QImage mask = decoded(c.name, 1);
    ASSERT_FALSE(mask.isNull());
    const int w = mask.width(), h = mask.height();
    auto grey = [&](int x, int y) {
        const QRgb p = mask.pixel(x, y);
        EXPECT_EQ(qAlpha(p), 255);
        // JPEG keeps a grey picture grey to within its rounding.
        EXPECT_LE(std::abs(qRed(p) - qGreen(p)) + std::abs(qGreen(p) - qBlue(p)), 4);
        return qGreen(p);
    };
    // JPEG noise: a few levels either way.
    auto expectEdge = [&](int x, int y, bool faded, const char *edge) {
        if (faded) {
            EXPECT_GE(grey(x, y), 245) << edge;
        } else {
            EXPECT_LE(grey(x, y), 10) << edge;
        }
    };

    EXPECT_LE(grey(w / 2, h / 2), 6);
    expectEdge(w / 2, 0, c.top, "top");
    expectEdge(w / 2, h - 1, c.bottom, "bottom");
    expectEdge(0, h / 2, c.left, "left");
    expectEdge(w - 1, h / 2, c.right, "right");
    // The fade runs smoothly inward from a named edge: never brighter further in.
    if (c.left) {
        for (int x = 1; x < w / 2; ++x)
            EXPECT_LE(grey(x, h / 2), grey(x - 1, h / 2) + 3) << "at x " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Masks, FeatheringMask,
                         testing::Values(MaskCase{"mask10x.jpg", true, true, false, false},
                                         MaskCase{"mask10.jpg", true, false, false, false},
                                         MaskCase{"mask10b.jpg", false, true, false, false},
                                         MaskCase{"mask10y.jpg", false, false, true, true},
                                         MaskCase{"mask10c.jpg", false, false, false, true},
                                         MaskCase{"mask10a.jpg", false, false, true, false}),
                         [](const testing::TestParamInfo<MaskCase> &info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

class ColourPalette : public testing::TestWithParam<const char *>
{
};

TEST_P(ColourPalette, OffersPrimariesSecondariesWhiteBlackAndGrey)
{
    const QImage palette = decoded(GetParam(), 1);
    ASSERT_FALSE(palette.isNull());
    const QRgb targets[] = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(0, 0, 255),   qRgb(255, 255, 0), qRgb(0, 255, 255),
                            qRgb(255, 0, 255), qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 128, 0)};
    // JPEG softens pure colours at the field's steepest spots; a pick this close reads as the colour.
    const int tolerance = 24;

    for (const QRgb target : targets) {
        bool found = false;
        for (int y = 0; y < palette.height() && !found; ++y)
            for (int x = 0; x < palette.width() && !found; ++x) {
                const QRgb p = palette.pixel(x, y);
                found = qAlpha(p) == 255 && std::abs(qRed(p) - qRed(target)) <= tolerance &&
                        std::abs(qGreen(p) - qGreen(target)) <= tolerance && std::abs(qBlue(p) - qBlue(target)) <= tolerance;
            }
        EXPECT_TRUE(found) << GetParam() << " has no pixel near " << std::hex << target;
    }
}

INSTANTIATE_TEST_SUITE_P(Palettes, ColourPalette, testing::Values("colorpickerBig.png", "colorpicker.jpg"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             return std::string(info.param).substr(0, std::string(info.param).find('.'));
                         });

} // namespace
} // namespace vimora::artwork
