// Renders the effect flows on the headless host into PNG files for looking at:
//   effect_screenshots <output folder>
// tablet and phone-480: the piece's step-one and step-two panels, the whole photo spread,
// shadowed and scattered, and its step-two panel.

#include <QDir>

#include "editor/adjust_panel.h"
#include "editor/cut_image.h"
#include "editor/view_tags.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "ui/button.h"
#include "ui/headless_host.h"
#include "ui/slider.h"
#include "ui/switch.h"
#include "support/screenshot_tool.h"

using namespace vimora;

namespace {

void shoot(DeviceProfile profile, const QString &prefix, const QString &out)
{
    test::ScreenshotStage stage(profile, AppHome::tempDir());
    ui::HeadlessHost &host = stage.host;
    const std::shared_ptr<ScreenViews> &views = stage.views;

    CutImage editor(views);
    editor.awakeFromNib();
    editor.getNumOfArray({QStringLiteral("D1001.jpg")}, {});
    const auto save = [&](const QString &name) {
        editor.waitForEffects();
        host.advance(1);
        host.render().save(QDir(out).filePath(prefix + name + QStringLiteral(".png")));
    };
    const auto centreOf = [](const ui::View *view) { return view->convertPointTo(view->bounds().center(), nullptr); };
    const auto slide = [&](int tag, double value) {
        auto *slider = dynamic_cast<ui::Slider *>(editor.adjustPanel().control(tag));
        if (!slider)
            return;
        const double y = slider->bounds().center().y();
        host.drag(slider->convertPointTo(QPointF(slider->thumbCenterForValue(slider->value()), y), nullptr),
                  slider->convertPointTo(QPointF(slider->thumbCenterForValue(value), y), nullptr));
        editor.waitForEffects();
        host.advance(0);
    };
    const auto press = [&](const QString &title) {
        for (const ui::ViewPtr &v : views->descripImg->subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == title) {
                host.tap(centreOf(b));
                editor.waitForEffects();
                host.advance(0);
                return;
            }
    };
    const auto toolbar = [&](const QString &title) {
        for (const ui::ViewPtr &v : views->selectTopView->subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == title)
                host.tap(centreOf(b));
    };

    // A wide rectangle a little off centre, cut.
    const QPointF corner = centreOf(views->cutImgView->viewWithTag(kCropHandleBottomRightTag));
    host.drag(corner, corner + QPointF(60, 30));
    host.tap(centreOf(views->cutImgView->viewWithTag(kDoneButtonTag)));
    host.advance(1);

    toolbar(QStringLiteral("Color"));
    slide(kPieceScaleTag, 0.25);
    slide(kPieceRotationTag, 15);
    save(QStringLiteral("piece-step-one"));
    press(QStringLiteral("Next"));
    slide(kHueTag, 1.2);
    save(QStringLiteral("piece-step-two"));
    press(QStringLiteral("Done"));
    host.advance(1);

    toolbar(QStringLiteral("ChangeFoto"));
    slide(kWholeScaleTag, 1.35);
    for (int tag : {kShadowSwitchTag, kShatteringSwitchTag})
        if (ui::Control *toggle = editor.adjustPanel().control(tag))
            host.tap(centreOf(toggle));
    host.advance(0.6);
    save(QStringLiteral("scattered"));
    press(QStringLiteral("Next"));
    slide(kDistortionTag, 0.6);
    save(QStringLiteral("whole-step-two"));
    WorkingFiles::shared().flush();
}

} // namespace

int main(int argc, char **argv)
{
    // The adjust panel opens clear of the piece on every device, the middle phone included.
    return vimora::test::runScreenshotTool(argc, argv, "effect_screenshots", QStringLiteral("effects-tablet-"),
                                           QStringLiteral("effects-phone-480-"), shoot, QStringLiteral("effects-phone-568-"));
}
