#pragma once

// A compositor on a headless screen with a throw-away home and photo library, and the
// pictures its tests lay as background.

#include <memory>
#include <string>
#include <typeinfo>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "compositor/back_photo.h"
#include "compositor/compositor_controls.h"
#include "support/fake_picker.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "store/album_writer.h"
#include "store/working_files.h"
#include "support/pixel_compare.h"
#include "support/screen_driver.h"
#include "support/temp_home.h"
#include "ui/alert_view.h"
#include "ui/headless_host.h"

namespace vimora::test {

/// A picture whose left and right halves differ, so a moved or mirrored copy shows.
inline Picture twoTonePicture(int w, int h, QColor left = Qt::red, QColor right = Qt::blue)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(right);
    QPainter p(&image);
    p.fillRect(QRectF(0, 0, w / 2.0, h), left);
    p.end();
    return Picture(image);
}

class CompositorTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setLogSink([this](const QString &line) { log << line; });
        useDevice(DeviceProfile::Tablet);
    }
    void TearDown() override
    {
        if (back)
            back->effects().waitForIdle([this] { host->runPending(); });
        back.reset();
        writer.reset();
        WorkingFiles::shared().flush();
        setLogSink(nullptr);
        PhotoPicker::setCurrent(nullptr);
        Device::setProfile(DeviceProfile::Tablet);
        Device::setOrientation(InterfaceOrientation::Portrait);
    }

    void useDevice(DeviceProfile profile)
    {
        back.reset();
        Device::setProfile(profile);
        Device::setOrientation(InterfaceOrientation::Portrait);
        host = std::make_unique<ui::HeadlessHost>(Device::screenSize());
        const double side = Device::windowSide(profile);
        views = ScreenViews::create(QSizeF(side, side));
        host->setRootView(views->rootView);
        picker = FakePicker::install();
        back = std::make_unique<BackPhoto>(views);
        back->awakeFromNib();
        writer = std::make_unique<AlbumWriter>(library.path());
        back->setAlbumWriter(writer.get());
        back->setExitHandler([this] { ++exits; });
    }

    /// Stores picture in the document store under name and opens it as the background.
    void openSaved(const Picture &picture, const QString &name = QStringLiteral("D2000.jpg"))
    {
        ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + '/' + name, encodeJpeg(picture, 1.0)));
        back->showSelectPhoto(name);
    }

    /// A background that is exactly picture (no JPEG loss), in the layer and as the base.
    void useBackground(const Picture &picture)
    {
        views->backImgView->setImage(picture);
        back->effects().pictures().set(CompositorPictures::Kind::Base, picture);
    }

    void settle() { back->effects().waitForIdle([this] { host->runPending(); }); }
    void undo()
    {
        back->undoAction();
        settle();
    }
    void redo()
    {
        back->effects().redoAction();
        settle();
    }

    /// The alert shown last, while it is up.
    ui::AlertView *shownAlert() { return test::shownAlert(*host); }

    /// The user answers alert with the button at index.
    static void answer(ui::AlertView *alert, int index)
    {
        ASSERT_NE(alert, nullptr);
        alert->buttonAtIndex(index)->sendActions(ui::ControlEventTouchUpInside);
    }

    /// Taps control at its centre as the user would, once a touch there is seen to reach it,
    /// and lets what it started finish.
    testing::AssertionResult answerTap(ui::View *control)
    {
        if (!control)
            return testing::AssertionFailure() << "no such control";
        const QPointF at = centreOnScreen(*control);
        if (!reaches(*control))
            return testing::AssertionFailure() << "a touch at " << at.x() << "," << at.y() << " does not reach "
                                               << describe(*control);
        host->tap(at);
        settle();
        return testing::AssertionSuccess();
    }

    /// Whether a touch at the centre of control reaches it (or a view inside it).
    bool reaches(ui::View &control)
    {
        for (ui::View *v = host->hitTest(centreOnScreen(control)); v; v = v->superview())
            if (v == &control)
                return true;
        return false;
    }

    static std::string describe(const ui::View &view)
    {
        if (const auto *b = dynamic_cast<const ui::Button *>(&view))
            return "button \"" + b->title().toStdString() + "\"";
        return std::string(typeid(view).name()) + " tag " + std::to_string(view.tag());
    }

    /// The centre of view in window coordinates.
    QPointF windowCentre(const ui::View &view) const
    {
        return view.convertPointTo(QPointF(view.bounds().width() / 2, view.bounds().height() / 2), &host->window());
    }

    TempHome home;
    QTemporaryDir library;
    QStringList log;
    std::unique_ptr<ui::HeadlessHost> host;
    std::shared_ptr<ScreenViews> views;
    std::shared_ptr<FakePicker::State> picker;
    std::unique_ptr<AlbumWriter> writer;
    std::unique_ptr<BackPhoto> back;
    int exits = 0;
};

/// A compositor opened on a saved picture with a two-tone background, and its effect buttons.
class EffectsTest : public CompositorTest
{
protected:
    void SetUp() override
    {
        CompositorTest::SetUp();
        openSaved(twoTonePicture(64, 48));
        base = twoTonePicture(64, 48, QColor(200, 120, 40), QColor(30, 90, 160));
        useBackground(base);
    }

    void press(int tag)
    {
        back->filterSelect(tag);
        settle();
    }

    /// Lays a cut-out as the top picture.
    void layCutOut()
    {
        WorkingFiles::shared().simpleSave(twoTonePicture(40, 30, Qt::green, Qt::yellow));
        back->layTopPicture();
    }

    Picture background() const { return views->backImgView->image(); }

    Picture base;
};

} // namespace vimora::test
