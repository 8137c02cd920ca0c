#pragma once

// An editor on the headless host with a throw-away home: the screen views, the controller,
// and helpers that write photos into tmp/ and find views on the screen.

#include <memory>

#include <QDir>
#include <QImage>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include "editor/cut_image.h"
#include "editor/view_tags.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "store/job_store.h"
#include "store/working_files.h"
#include "support/screen_driver.h"
#include "support/temp_home.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/scroll_view.h"
#include "ui/headless_host.h"

namespace vimora::test {

/// Every pixel tells where it came from: red x % 256, green y % 256, blue the high parts.
inline QImage codedPhoto(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8));
    }
    return image;
}

class EditorScreen
{
public:
    explicit EditorScreen(DeviceProfile profile)
        : profile((Device::setProfile(profile), Device::setOrientation(InterfaceOrientation::Portrait), profile))
        , host(Device::portraitScreenSize(profile))
        , views(ScreenViews::create(Device::portraitScreenSize(profile)))
    {
        WorkingFiles::shared().forget();
        host.setRootView(views->rootView);
        editor = std::make_unique<CutImage>(views);
        editor->awakeFromNib();
    }
    ~EditorScreen()
    {
        editor.reset();
        WorkingFiles::shared().flush();
        WorkingFiles::shared().forget();
        // The kept job is written into this test's home: done before the home goes.
        JobStore::shared().forget();
    }

    QString tmp(const QString &name) const { return QDir(AppHome::tempDir()).filePath(name); }
    /// Writes a lossless photo into tmp/ under name.
    void writePhoto(const QString &name, const QImage &image) const
    {
        ASSERT_TRUE(writeFileAtomically(tmp(name), encodePng(Picture(image))));
    }
    void startJob(const QString &name) { editor->getNumOfArray({name}, {}); }

    /// A view of the editor layer (photo, rectangle, handles, piece, buttons) by its tag.
    template <class T = ui::ImageView> T *editorView(int tag) const
    {
        return dynamic_cast<T *>(views->cutImgView->viewWithTag(tag));
    }
    ui::ImageView *photoView() const { return editorView(kPhotoViewTag); }
    ui::ImageView *rectangle() const { return editorView(kCropRectangleTag); }
    ui::ImageView *piece() const { return editorView(kPieceTag); }
    ui::Button *doneButton() const { return editorView<ui::Button>(kDoneButtonTag); }
    ui::ImageView *stampLayer() const { return editorView(kStampLayerTag); }
    /// The options panel's preview frame and the photo layer inside it.
    ui::ImageView *preview() const { return dynamic_cast<ui::ImageView *>(views->descripImg2->viewWithTag(kPreviewFrameTag)); }
    ui::ImageView *photoLayer() const
    {
        ui::ImageView *frame = preview();
        for (const ui::ViewPtr &v : frame ? frame->subviews() : std::vector<ui::ViewPtr>{})
            if (auto *layer = dynamic_cast<ui::ImageView *>(v.get()); layer && v->tag() == 0)
                return layer;
        return nullptr;
    }
    ui::ImageView *hint() const { return dynamic_cast<ui::ImageView *>(views->mainView->viewWithTag(kHintStripTag)); }
    /// The alert on screen, or nullptr.
    ui::AlertView *shownAlert() { return test::shownAlert(host); }
    /// Taps the alert's button with that title.
    void answer(const QString &title) { ASSERT_TRUE(test::answerAlert(host, title)); }
    void tap(const ui::View &view) { host.tap(centreOnScreen(view)); }
    /// A key as the window delivers it: to the focused view, up its superviews, then to the
    /// screen's overlays.
    bool pressKey(int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        return host.pressKey(&event);
    }
    ui::ScrollView *pickerScroll(ui::View &panel) const { return dynamic_cast<ui::ScrollView *>(panel.viewWithTag(kPickerScrollTag)); }
    /// A point of a view in window coordinates.
    static QPointF onScreen(const ui::View &view, QPointF local) { return view.convertPointTo(local, nullptr); }
    static QPointF centreOnScreen(const ui::View &view) { return test::centreOnScreen(view); }
    /// The file on disk once pending writes are done.
    static QImage fileImage(WorkingFiles::Slot slot)
    {
        WorkingFiles::shared().flush();
        return readPicture(WorkingFiles::path(slot)).bitmap();
    }
    ui::Button *toolbarButton(const QString &title) const
    {
        for (const ui::ViewPtr &v : views->selectTopView->subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == title)
                return b;
        return nullptr;
    }

    DeviceProfile profile;
    TempHome home;
    ui::HeadlessHost host;
    std::shared_ptr<ScreenViews> views;
    std::unique_ptr<CutImage> editor;
};

} // namespace vimora::test
