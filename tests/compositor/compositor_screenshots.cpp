// Renders the compositor's screens on the headless host into PNG files for looking at:
//   compositor_screenshots <output folder>
// tablet and phone-480: the option bar over a saved picture, the toolbar, the adjust panel,
// a laid cut-out with its reflection, the further effects and the level menu.

#include <QDir>

#include "compositor/back_photo.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "ui/headless_host.h"
#include "support/screenshot_tool.h"

using namespace vimora;

namespace {

void shoot(DeviceProfile profile, const QString &prefix, const QString &out)
{
    test::ScreenshotStage stage(profile, AppHome::drawImgsDir());
    ui::HeadlessHost &host = stage.host;
    const std::shared_ptr<ScreenViews> &views = stage.views;
    const Picture &photo = stage.photo;
    // A cut-out as the editor would have left it.
    const QSizeF s = photo.size();
    WorkingFiles::shared().simpleSave(Picture(photo.uprightBitmap().copy(int(s.width() * 0.3), int(s.height() * 0.25),
                                                                         int(s.width() * 0.35), int(s.height() * 0.45))));

    BackPhoto back(views);
    back.awakeFromNib();
    auto save = [&](const QString &name) {
        back.effects().waitForIdle([&] { host.runPending(); });
        host.advance(1);
        host.render().save(QDir(out).filePath(prefix + name + QStringLiteral(".png")));
    };

    back.showSelectPhoto(QStringLiteral("D1001.jpg"));
    save(QStringLiteral("compositor-option-bar"));
    back.actionbtn();
    save(QStringLiteral("compositor-toolbar"));
    back.guideToScale(100);
    back.filterSelect(7);
    save(QStringLiteral("compositor-adjust-panel"));
    back.combineImg();
    back.layTopPicture();
    back.reflectiMe();
    back.actionbtn();
    save(QStringLiteral("compositor-cut-out"));
    back.command(CompositorCommand::More);
    save(QStringLiteral("compositor-more"));
    back.shot();
    save(QStringLiteral("compositor-tip"));
    back.doneAndUndo();
    save(QStringLiteral("compositor-undo-done"));
    back.actionbtn();
    back.justSaveToAlbum();
    save(QStringLiteral("compositor-levels"));
    WorkingFiles::shared().flush();
}

} // namespace

int main(int argc, char **argv)
{
    return vimora::test::runScreenshotTool(argc, argv, "compositor_screenshots", QStringLiteral("tablet-"), QStringLiteral("phone480-"), shoot);
}
