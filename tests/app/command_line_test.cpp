// The command line: the device profile named or chosen from the screen, help and errors.
#include <QDir>

#include <gtest/gtest.h>

#include "app/command_line.h"

using namespace vimora;
using ui::DeviceProfile;

TEST(CommandLine, TheProfileFollowsTheScreenUnlessOneIsNamed)
{
    struct Case
    {
        std::optional<QSizeF> screen;
        DeviceProfile profile;
    };
    const Case cases[] = {{QSizeF(1366, 768), DeviceProfile::Tablet},   {QSizeF(1920, 1080), DeviceProfile::Tablet},
                          {QSizeF(768, 1024), DeviceProfile::Tablet},   {QSizeF(320, 568), DeviceProfile::Phone568},
                          {QSizeF(568, 320), DeviceProfile::Phone568},  {QSizeF(320, 480), DeviceProfile::Phone480},
                          {QSizeF(390, 844), DeviceProfile::Phone480},  {std::nullopt, DeviceProfile::Tablet},
                          {QSizeF(0, 0), DeviceProfile::Tablet}};
    for (const Case &c : cases) {
        const CommandLine line = CommandLine::parse({"vimora"}, c.screen);
        EXPECT_EQ(line.deviceProfile(), c.profile) << line.deviceReason().toStdString();
        EXPECT_TRUE(line.error().isEmpty());
    }

    const CommandLine named = CommandLine::parse({"vimora", "--device", "phone-568"}, QSizeF(1920, 1080));
    const CommandLine joined = CommandLine::parse({"vimora", "--device=phone-480"}, QSizeF(1920, 1080));
    EXPECT_EQ(named.deviceProfile(), DeviceProfile::Phone568);
    EXPECT_EQ(joined.deviceProfile(), DeviceProfile::Phone480);
    EXPECT_TRUE(named.deviceReason().contains("--device"));
}

TEST(CommandLine, AnUnknownProfileOrOptionIsAnErrorNotASilentTablet)
{
    const CommandLine unknown = CommandLine::parse({"vimora", "--device", "toaster"}, QSizeF(1920, 1080));
    const CommandLine missing = CommandLine::parse({"vimora", "--device"}, QSizeF(1920, 1080));
    const CommandLine stray = CommandLine::parse({"vimora", "--colour"}, QSizeF(1920, 1080));

    EXPECT_TRUE(unknown.error().contains("toaster"));
    for (const char *name : {"tablet", "phone-568", "phone-480"})
        EXPECT_TRUE(unknown.error().contains(name)) << name;
    EXPECT_FALSE(missing.error().isEmpty());
    EXPECT_FALSE(stray.error().isEmpty());
}

TEST(CommandLine, HelpSaysWhichProfileTheScreenGivesAndWhy)
{
    const CommandLine line = CommandLine::parse({"vimora", "--help"}, QSizeF(1366, 768));

    EXPECT_TRUE(line.helpRequested());
    EXPECT_TRUE(line.helpText().startsWith("Usage: vimora [options] [PHOTO...]\n"));
    EXPECT_TRUE(line.helpText().contains("--device"));
    EXPECT_TRUE(line.helpText().contains("tablet, as the screen (1366 x 768 points) is larger than a phone's"))
        << line.helpText().toStdString();
}

TEST(CommandLine, PhotosAreTakenAsAbsolutePathsInOrder)
{
    const QString here = QDir::currentPath();
    const CommandLine line = CommandLine::parse(
        {"vimora", "--device", "tablet", "beach.jpg", "/tmp/a b/dune.png", "file:///tmp/x%20y/sea.webp", "--", "-odd.jpg"},
        QSizeF(1920, 1080));

    ASSERT_TRUE(line.error().isEmpty()) << line.error().toStdString();
    EXPECT_EQ(line.photos(), QStringList({here + "/beach.jpg", "/tmp/a b/dune.png", "/tmp/x y/sea.webp", here + "/-odd.jpg"}));
    EXPECT_EQ(line.deviceProfile(), DeviceProfile::Tablet);
    EXPECT_TRUE(CommandLine::parse({"vimora"}, QSizeF(1920, 1080)).photos().isEmpty());
}

TEST(CommandLine, AWebAddressOrAnEmptyNameIsAnError)
{
    EXPECT_TRUE(CommandLine::parse({"vimora", "https://example.org/p.jpg"}, QSizeF(1920, 1080)).error().contains("Not a file"));
    EXPECT_FALSE(CommandLine::parse({"vimora", ""}, QSizeF(1920, 1080)).error().isEmpty());
}
