// Renders the editor's screens on the headless host into PNG files for looking at:
//   editor_screenshots <output folder>
// tablet and phone-480, each with the crop rectangle, after the cut, with the options panel
// and the built-in image panel, the feathering buttons, the colour panel, the finishing toolbar
// with the naming strip and the date stamps, Undo and Redo after an undone move; then a smart
// cut pulsing along its edge, dragged off its hole, and the same after a Remove stroke across
// its top.

#include <cmath>
#include <random>

#include <QDir>

#include "editor/cut_image.h"
#include "editor/lifted_piece.h"
#include "editor/view_tags.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/headless_host.h"
#include "support/screenshot_tool.h"

using namespace vimora;

namespace {

/// Taps Replace on the question about the cut piece.
void answerReplace(ui::HeadlessHost &host)
{
    for (const ui::ViewPtr &layer : host.window().subviews())
        for (const ui::ViewPtr &view : layer->subviews())
            if (auto *alert = dynamic_cast<ui::AlertView *>(view.get()))
                if (ui::Button *replace = alert->buttonAtIndex(alert->firstOtherButtonIndex())) {
                    host.tap(replace->convertPointTo(replace->bounds().center(), nullptr));
                    host.advance(1);
                    return;
                }
}

/// A photo-like picture: a shaded, grained orange ball on a mottled green ground.
QImage ballPhoto()
{
    QImage image(1600, 1200, QImage::Format_ARGB32_Premultiplied);
    std::mt19937 grain(9);
    std::normal_distribution<double> noise(0, 9);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double d = std::hypot(x - 800.0, y - 600.0) / 230;
            const double mottle = 25 * std::sin(x * 0.011 + std::cos(y * 0.017)) * std::cos(y * 0.009);
            auto c = [&](double v) { return std::clamp(int(v + noise(grain)), 0, 255); };
            if (d <= 1) {
                const double shade = 1.1 - 0.45 * std::hypot(x - 720.0, y - 520.0) / 300;
                image.setPixel(x, y, qRgb(c(235 * shade), c(120 * shade), c(40 * shade)));
            } else {
                image.setPixel(x, y, qRgb(c(60 + mottle), c(130 + mottle), c(70 + mottle / 2)));
            }
        }
    return image;
}

void shootSmartCut(const QSizeF &screen, const QString &prefix, const QString &out)
{
    ui::HeadlessHost host(screen, 2.0);
    auto views = ScreenViews::create(screen);
    host.setRootView(views->rootView);
    WorkingFiles::shared().forget();
    writeFileAtomically(QDir(AppHome::tempDir()).filePath(QStringLiteral("D1002.jpg")), encodeJpeg(Picture(ballPhoto()), 0.92));
    CutImage editor(views);
    editor.awakeFromNib();
    editor.getNumOfArray({QStringLiteral("D1002.jpg")}, {});
    auto centreOf = [&](int tag) {
        const ui::View *view = views->cutImgView->viewWithTag(tag);
        return view ? view->convertPointTo(view->bounds().center(), nullptr) : QPointF();
    };
    auto save = [&](const QString &name) {
        host.advance(1);
        host.render().save(QDir(out).filePath(prefix + name + QStringLiteral(".png")));
    };
    host.advance(1);
    host.tap(centreOf(kSmartCutTag));
    editor.segmentationRunner().waitForIdle();
    // Within the pulse: the outline along the subject's edge.
    host.advance(LiftedPiece::kPulseSeconds * 0.7);
    host.render().save(QDir(out).filePath(prefix + QStringLiteral("editor-smart-cut-pulse.png")));
    const QPointF piece = centreOf(kPieceTag);
    const double away = screen.width() / 6;
    host.drag(piece, piece + QPointF(-away, -away));
    save(QStringLiteral("editor-smart-cut"));

    host.tap(centreOf(kRemoveBrushTag));
    if (const ui::View *cut = views->cutImgView->viewWithTag(kPieceTag)) {
        const QRectF b = cut->bounds();
        host.drag(cut->convertPointTo(QPointF(b.width() * 0.2, b.height() * 0.3), nullptr),
                  cut->convertPointTo(QPointF(b.width() * 0.8, b.height() * 0.3), nullptr));
    }
    editor.segmentationRunner().waitForIdle();
    save(QStringLiteral("editor-smart-cut-touch-up"));
    WorkingFiles::shared().flush();
}

void shoot(DeviceProfile profile, const QString &prefix, const QString &out)
{
    test::ScreenshotStage stage(profile, AppHome::tempDir());
    ui::HeadlessHost &host = stage.host;
    const std::shared_ptr<ScreenViews> &views = stage.views;

    CutImage editor(views);
    editor.awakeFromNib();
    editor.getNumOfArray({QStringLiteral("D1001.jpg")}, {});
    auto save = [&](const QString &name, double settle = 1) {
        host.advance(settle);
        host.render().save(QDir(out).filePath(prefix + name + QStringLiteral(".png")));
    };

    // Move the rectangle a little off centre and widen it, as a user would.
    auto centreOf = [&](int tag) {
        const ui::View *view = views->cutImgView->viewWithTag(tag);
        return view ? view->convertPointTo(view->bounds().center(), nullptr) : QPointF();
    };
    const QPointF centre = centreOf(kCropRectangleTag);
    host.drag(centre, centre + QPointF(-30, -15));
    const QPointF corner = centreOf(kCropHandleBottomRightTag);
    host.drag(corner, corner + QPointF(40, 20));
    save(QStringLiteral("editor-rectangle"));

    host.tap(centreOf(kDoneButtonTag));
    save(QStringLiteral("editor-cut-lifted"), 0.3); // while the outline pulses
    const QPointF piece = centreOf(kPieceTag);
    host.drag(piece, piece + QPointF(25, 40));
    save(QStringLiteral("editor-cut"));
    // The move taken back: Undo and Redo both have a step.
    host.drag(piece + QPointF(25, 40), piece + QPointF(-20, 60));
    host.advance(0.1);
    editor.undo();
    save(QStringLiteral("editor-undo-redo"));
    editor.redo();
    editor.showTwoBtns();
    save(QStringLiteral("editor-toolbar-names"));
    editor.selectView();
    save(QStringLiteral("editor-date-stamps"));
    views->wordView->setHidden(true);
    editor.hideTwoBtns();

    editor.prepareToCut2();
    save(QStringLiteral("editor-builtin-images"));
    editor.excuteThePrepare(5);
    save(QStringLiteral("editor-replace-question"));
    answerReplace(host);
    save(QStringLiteral("editor-options-panel"));
    auto tapTagged = [&](const ui::View &within, int tag) {
        if (const ui::View *view = const_cast<ui::View &>(within).viewWithTag(tag))
            host.tap(view->convertPointTo(view->bounds().center(), nullptr));
        host.advance(1);
    };
    editor.preView2(1);
    save(QStringLiteral("editor-options-panel-1"));
    tapTagged(*views->descripImg2, kGradientTag);
    save(QStringLiteral("editor-feathering"));
    editor.gradientMe(2); // top: both vertical edges fade
    save(QStringLiteral("editor-feathering-top"));
    editor.gradientMe(5);
    save(QStringLiteral("editor-feathering-ok"));
    tapTagged(*views->descripImg2, kColorPickerTag);
    if (const ui::ViewPtr palette = editor.colourPicker().colorPickerView())
        host.tap(palette->convertPointTo(QPointF(70, 160), nullptr));
    save(QStringLiteral("editor-colour-panel"));
    WorkingFiles::shared().flush();

    shootSmartCut(Device::portraitScreenSize(profile), prefix, out);
}

} // namespace

int main(int argc, char **argv)
{
    return vimora::test::runScreenshotTool(argc, argv, "editor_screenshots", QStringLiteral("tablet-"), QStringLiteral("phone480-"), shoot);
}
