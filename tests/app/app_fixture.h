#pragma once

// A launched application on the headless host: the delegate, its root controller and the
// three screens, a fake photo picker and a throw-away home.

#include <memory>

#include <QStringList>

#include <gtest/gtest.h>

#include "app/ad.h"
#include "app/photo_intake.h"
#include "app/rotate_me.h"
#include "app/top.h"
#include "app/vimora_app_delegate.h"
#include "compositor/back_photo.h"
#include "editor/cut_image.h"
#include "picker/thumbnail_cache.h"
#include "support/fake_picker.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "store/job_store.h"
#include "store/working_files.h"
#include "support/temp_home.h"
#include "ui/headless_host.h"

namespace vimora::test {

class AppTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setLogSink([this](const QString &line) { log << line; });
        Resources::clearMissingNames();
    }
    void TearDown() override
    {
        // The Saved list's thumbnails answer through the host's clock: done before it goes.
        picker::ThumbnailCache::shared().cancelPending();
        picker::ThumbnailCache::shared().waitForDone();
        delegate.reset();
        host.reset();
        // The kept job is written into this test's home: done before the home goes.
        JobStore::shared().forget();
        WorkingFiles::shared().flush();
        setLogSink(nullptr);
        PhotoPicker::setCurrent(nullptr);
        Device::setCameraAvailable(std::nullopt);
        Device::setProfile(DeviceProfile::Tablet);
        Device::setOrientation(InterfaceOrientation::Portrait);
    }

    void launch(DeviceProfile profile, bool camera = false)
    {
        picker::ThumbnailCache::shared().cancelPending();
        picker::ThumbnailCache::shared().waitForDone();
        delegate.reset();
        host.reset();
        Device::setProfile(profile);
        Device::setOrientation(InterfaceOrientation::Portrait);
        Device::setCameraAvailable(camera);
        host = std::make_unique<ui::HeadlessHost>(Device::screenSize());
        picker = FakePicker::install();
        picker->afterAnswer = [this] {
            root().intake().waitForIntake();
            host->runPending();
        };
        delegate = std::make_unique<VimoraAppDelegate>(*host);
        delegate->applicationDidFinishLaunchingWithOptions();
        host->runPending();
    }

    /// Turns the device as the window host does: the screen first, then the delegate.
    void turn(bool landscape)
    {
        host->setScreenSize(ui::screenSizeFor(Device::profile(), landscape && Device::isTablet()));
        delegate->orientationChanged(landscape);
        host->runPending();
    }

    static QPointF centreOf(const ui::View &view)
    {
        return view.convertRectTo(view.bounds(), nullptr).center();
    }
    void tapOn(const ui::View &view)
    {
        host->tap(centreOf(view));
        host->runPending();
    }

    RotateMe &root() { return *delegate->rotateLa(); }
    Top &top() { return root().top(); }
    const ShellViews &shell() { return root().shell(); }
    const ScreenViews &homeViews() { return root().top().views(); }
    const ScreenViews &editorViews() { return root().draw().views(); }
    const ScreenViews &compositorViews() { return root().backPhoto().views(); }

    TempHome home;
    QStringList log;
    std::unique_ptr<ui::HeadlessHost> host;
    std::shared_ptr<FakePicker::State> picker;
    std::unique_ptr<VimoraAppDelegate> delegate;
};

} // namespace vimora::test
