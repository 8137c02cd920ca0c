#pragma once

// The body shared by the screenshot tools: an application, a throw-away home, the output
// folder from the command line, and the screens shot on a tablet and on a small phone.

#include <cstdio>
#include <functional>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "screenkit/screen_views.h"
#include "store/working_files.h"
#include "ui/headless_host.h"

namespace vimora::test {

/// A profile's screen on the headless host at two device pixels a point, with the
/// application's views and no working files, and the sample photo written as "D1001.jpg"
/// into photoFolder for a screen to open.
class ScreenshotStage
{
public:
    ScreenshotStage(DeviceProfile profile, const QString &photoFolder)
        : m_screen((Device::setProfile(profile), Device::portraitScreenSize(profile)))
        , host(m_screen, 2.0)
        , views(ScreenViews::create(m_screen))
        , photo(Resources::imageNamed(QStringLiteral("frame08.jpg")))
    {
        host.setRootView(views->rootView);
        WorkingFiles::shared().forget();
        writeFileAtomically(QDir(photoFolder).filePath(QStringLiteral("D1001.jpg")), encodeJpeg(photo, 0.9));
    }

private:
    QSizeF m_screen;

public:
    ui::HeadlessHost host;
    std::shared_ptr<ScreenViews> views;
    const Picture photo;
};

using ShootScreens = std::function<void(DeviceProfile profile, const QString &prefix, const QString &out)>;

/// Runs shoot for the tablet and the 480-point phone, naming the files with the prefixes.
/// A non-empty middlePhonePrefix shoots the 568-point phone too.
inline int runScreenshotTool(int argc, char **argv, const char *toolName, const QString &tabletPrefix,
                             const QString &phonePrefix, const ShootScreens &shoot, const QString &middlePhonePrefix = {})
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", toolName);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    QTemporaryDir home;
    AppHome::setRoot(home.path());
    shoot(DeviceProfile::Tablet, tabletPrefix, out);
    shoot(DeviceProfile::Phone480, phonePrefix, out);
    if (!middlePhonePrefix.isEmpty())
        shoot(DeviceProfile::Phone568, middlePhonePrefix, out);
    return 0;
}

} // namespace vimora::test
