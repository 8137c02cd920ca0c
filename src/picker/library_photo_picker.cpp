#include "picker/library_photo_picker.h"


#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_albums_controller.h"
#include "platform/device.h"
#include "platform/log.h"
#include "ui/clock.h"
#include "ui/host.h"

namespace vimora::picker {

LibraryPhotoPicker::LibraryPhotoPicker(std::unique_ptr<PhotoPicker> fallback)
    : m_fallback(std::move(fallback))
{
}

LibraryPhotoPicker::~LibraryPhotoPicker()
{
    ++m_presentation;
    takeDown();
}

void LibraryPhotoPicker::present(Source source, Done done)
{
    auto [anchor, directions] = takePopoverAnchor();
    dismiss();
    ui::Host *host = ui::Host::current();
    if (source == Source::Camera || !host || !host->rootView()) {
        if (m_fallback)
            m_fallback->present(source, std::move(done));
        else
            done(std::nullopt);
        return;
    }
    m_done = std::move(done);
    const int presentation = ++m_presentation;

    auto controller = std::make_shared<QvImagePickerController>(
        nullptr,
        [this](const std::optional<QString> &error) {
            if (error)
                logLine(QStringLiteral("picker: %1").arg(*error));
            finish(std::nullopt);
        },
        [this, presentation](const std::vector<PhotoAsset> &assets) {
            if (assets.empty()) {
                finish(std::nullopt);
                return;
            }
            // Reading a large photo takes a while: off the main thread, answered on it.
            const QString path = assets.front().path();
            takeDown();
            m_reader.post([this, presentation, path]() -> ui::JobRunner::Apply {
                Result result = readPickedPhoto(path, true);
                return [this, presentation, result] {
                    if (presentation == m_presentation)
                        finish(result);
                };
            });
        },
        1);
    controller->setShouldShowSavedPhotosOnTop(true);
    controller->albumsController().setExtraToolbarItems(
        {std::make_shared<ui::BarButtonItem>(ui::BarButtonItem::SystemItem::FlexibleSpace),
         std::make_shared<ui::BarButtonItem>(QStringLiteral("Other location..."), ui::BarButtonItem::Style::Bordered,
                                             [this](ui::BarButtonItem &) { otherLocation(); })});
    m_controller = controller;

    ui::View &root = *host->rootView();
    if (isDeviceiPad()) {
        controller->setGridWidth(kPopoverContentSize.width());
        m_popover = std::make_unique<ui::Popover>(controller);
        m_popover->setPopoverContentSize(kPopoverContentSize);
        m_popover->setDelegate(this);
        m_popoverAnchor = std::move(anchor);
        m_popoverDirections = directions;
        showPopover();
    } else {
        controller->setFrame(root.bounds());
        controller->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
        root.addSubview(controller);
    }
}

void LibraryPhotoPicker::dismiss()
{
    ++m_presentation;
    takeDown();
    m_done = nullptr;
    if (m_fallback)
        m_fallback->dismiss();
}

void LibraryPhotoPicker::showPopover()
{
    ui::Host *host = ui::Host::current();
    if (!m_popover || !host || !host->rootView())
        return;
    ui::View &root = *host->rootView();
    const QRectF anchor = m_popoverAnchor ? m_popoverAnchor() : QRectF();
    const QSizeF screen = root.bounds().size();
    const QRectF from = anchor.isEmpty() ? QRectF(screen.width() / 2 - 1, screen.height() / 2 - 1, 2, 2) : anchor;
    // Presenting a shown popover again moves it.
    m_popover->presentPopoverFromRect(from, &root, anchor.isEmpty() ? ui::PopoverArrowDirectionAny : m_popoverDirections, true);
}

void LibraryPhotoPicker::orientationChanged()
{
    if (isInPopover())
        showPopover();
    if (m_controller) {
        if (!m_popover && m_controller->superview())
            m_controller->setFrame(m_controller->superview()->bounds());
        m_controller->orientationChanged();
    }
}

void LibraryPhotoPicker::popoverControllerDidDismissPopover(ui::Popover &)
{
    finish(std::nullopt);
}

void LibraryPhotoPicker::takeDown()
{
    if (m_popover) {
        m_popover->setDelegate(nullptr);
        m_popover->dismissPopoverAnimated(false);
    }
    if (m_controller)
        m_controller->removeFromSuperview();
    // Destroyed later: this may run inside one of the picker's own callbacks.
    if (auto controller = std::exchange(m_controller, nullptr))
        ui::postToMainThread([controller] {});
    m_popoverAnchor = nullptr;
    if (auto popover = std::exchange(m_popover, nullptr))
        ui::postToMainThread([shared = std::shared_ptr<ui::Popover>(std::move(popover))] {});
}

void LibraryPhotoPicker::finish(std::optional<Result> result)
{
    takeDown();
    ++m_presentation;
    if (Done done = std::exchange(m_done, nullptr))
        done(std::move(result));
}

void LibraryPhotoPicker::otherLocation()
{
    Done done = std::exchange(m_done, nullptr);
    ++m_presentation;
    takeDown();
    if (!done)
        return;
    if (m_fallback)
        m_fallback->present(Source::Album, std::move(done));
    else
        done(std::nullopt);
}

} // namespace vimora::picker
