#pragma once

// The application's photo picker: the multi-photo picker over the photo library, limited to
// one photo, in a popover on a tablet and over the whole screen on a phone. Photos kept
// elsewhere stay reachable through "Other location...", which hands over to the file dialog.

#include <memory>

#include "platform/photo_picker.h"
#include "ui/job_runner.h"
#include "ui/popover.h"

namespace vimora::picker {

class QvImagePickerController;

class LibraryPhotoPicker : public PhotoPicker, private ui::PopoverDelegate
{
public:
    static constexpr QSizeF kPopoverContentSize{320, 480};

    /// fallback answers camera requests and "Other location...".
    explicit LibraryPhotoPicker(std::unique_ptr<PhotoPicker> fallback);
    ~LibraryPhotoPicker() override;

    void present(Source source, Done done) override;
    void dismiss() override;

    /// The picker on screen, or nullptr.
    std::shared_ptr<QvImagePickerController> controller() const { return m_controller; }
    bool isInPopover() const { return m_popover && m_popover->isPopoverVisible(); }
    /// The grid follows a turned screen; a popover moves to the anchor of the new orientation.
    void orientationChanged();

private:
    void popoverControllerDidDismissPopover(ui::Popover &popover) override;
    void takeDown();
    void finish(std::optional<Result> result);
    void otherLocation();
    void showPopover();

    std::unique_ptr<PhotoPicker> m_fallback;
    std::shared_ptr<QvImagePickerController> m_controller;
    std::unique_ptr<ui::Popover> m_popover;
    PopoverAnchor m_popoverAnchor; // none: from the screen's centre
    ui::PopoverArrowDirections m_popoverDirections = ui::PopoverArrowDirectionAny;
    Done m_done;
    // Each presentation gets a number; a photo still being read for an older one is dropped.
    int m_presentation = 0;
    /// Last: gone first, so no photo arrives at a half-destroyed picker.
    ui::JobRunner m_reader;
};

} // namespace vimora::picker
