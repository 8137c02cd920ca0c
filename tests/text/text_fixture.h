#pragma once

// A text overlay on the headless host with a throw-away home: the shared screen
// views with the picture view shown, and helpers to type, press controls and
// find what was made.

#include <memory>

#include <QInputMethodEvent>

#include <gtest/gtest.h>

#include "platform/device.h"
#include "platform/settings.h"
#include "support/screen_driver.h"
#include "support/temp_home.h"
#include "text/word_table.h"
#include "ui/button.h"
#include "ui/headless_host.h"
#include "screenkit/screen_views.h"

namespace vimora::test {

class TextScreen {
public:
    /// tipsDeclined: the tips panel stays away when the text box opens.
    explicit TextScreen(DeviceProfile profile, bool tipsDeclined = true)
        : profile((Device::setProfile(profile), Device::setOrientation(InterfaceOrientation::Portrait), profile))
        , host(Device::portraitScreenSize(profile))
        , views(ScreenViews::create(Device::portraitScreenSize(profile)))
    {
        host.setRootView(views->rootView);
        views->cutImgView->setHidden(false);
        // The screen's toolbar is a bar, as the editor lays it, not a full-screen view.
        const QSizeF screen = Device::portraitScreenSize(profile);
        views->selectTopView->setFrame(QRectF(0, screen.height() - 60, screen.width(), 60));
        if (tipsDeclined)
            Settings::shared().setString(QStringLiteral("Never2"), QStringLiteral("never"));
        else
            Settings::shared().remove(QStringLiteral("Never2"));
        table = std::make_unique<WordTable>(WordTableViews::fromScreen(*views));
        table->awakeFromNib();
    }

    /// Commits text through the input method, as a keyboard's composition ends.
    void type(const QString &text)
    {
        ui::TextView &box = table->entry().noteTextView();
        box.becomeFirstResponder();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        box.inputMethodEvent(&commit);
    }
    /// Opens the box, types, presses Done: the new layer (null when none was
    /// made).
    ui::ImageView *makeLayer(const QString &text)
    {
        table->noteViewOpen();
        type(text);
        table->inputTextDone();
        return table->tView();
    }
    /// The window centre of a view.
    static QPointF centreOf(const ui::View &view)
    {
        return view.convertPointTo(QPointF(view.bounds().center()), nullptr);
    }
    /// The window point in the middle of the box around a layer's letters: a touch on the text
    /// itself (the clear rest of a layer lets touches through).
    static QPointF inkOf(const ui::ImageView &layer)
    {
        const QImage pixels = layer.image().bitmap();
        const QSizeF size = layer.bounds().size();
        QRect ink;
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                if (qAlpha(pixels.pixel(x, y)) > 0)
                    ink |= QRect(x, y, 1, 1);
        const QPointF middle = QRectF(ink).center();
        const QPointF inLayer(middle.x() * size.width() / std::max(1, pixels.width()),
            middle.y() * size.height() / std::max(1, pixels.height()));
        return layer.convertPointTo(inLayer + layer.bounds().topLeft(), nullptr);
    }
    /// A button with this title anywhere under root.
    static ui::Button *button(ui::View &root, const QString &title) { return test::findButton(root, title); }
    void press(const QString &title)
    {
        ui::Button *b = button(*views->rootView, title);
        ASSERT_NE(b, nullptr) << qPrintable(title);
        host.tap(centreOf(*b));
    }

    DeviceProfile profile;
    TempHome home;
    ui::HeadlessHost host;
    std::shared_ptr<ScreenViews> views;
    std::unique_ptr<WordTable> table;
};

} // namespace vimora::test
