#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include <QString>

#include <QRectF>
#include <QSize>

#include "imaging/picture.h"
#include "ui/popover_panel.h"

class QFileDialog;
class QWidget;

namespace vimora {

/// The photo library: $VIMORA_PHOTOS, else the XDG pictures folder "Vimora/". Each saved
/// picture is a file in it; an album is a sub-folder.
class PhotoLibrary
{
public:
    static QString folder();
    static void setFolder(const QString &path);
};

/// The system photo picker. present() shows it and later calls done exactly once: with the
/// picked photo (upright; a file that cannot be read gives a null picture and its path in
/// the error), or with nothing when the user cancelled.
class PhotoPicker
{
public:
    enum class Source { Album, Camera };
    struct Result
    {
        Picture photo;
        QString path;   // the file picked
        QString error;  // set when the file could not be read
        bool damaged = false; // the file ends early: part of the photo is filled in grey
        /// A JPEG whose header was read but whose pixels were not: the intake decodes it at
        /// the size it needs (photo stays empty; size is its upright size).
        bool decodeLater = false;
        QSize size;
    };
    using Done = std::function<void(std::optional<Result>)>;

    virtual ~PhotoPicker() = default;
    virtual void present(Source source, Done done) = 0;
    /// Closes the picker as if cancelled (a popover dismissed by code).
    virtual void dismiss() {}

    /// Where the next present() puts a tablet's popover: the rectangle of the screen anchor
    /// gives, the arrow pointing one of these ways. Asked again when the screen turns while
    /// the popover is shown, so an anchor that depends on the orientation moves it. Used
    /// once; pickers without a popover ignore it.
    using PopoverAnchor = std::function<QRectF()>;
    void setPopoverAnchor(PopoverAnchor anchor, ui::PopoverArrowDirections directions)
    {
        m_anchor = std::move(anchor);
        m_anchorDirections = directions;
    }
    /// The same rectangle in either orientation.
    void setPopoverAnchor(const QRectF &anchor, ui::PopoverArrowDirections directions)
    {
        setPopoverAnchor([anchor] { return anchor; }, directions);
    }

    /// The picker screens use; the application installs the file-dialog one, tests a fake.
    static PhotoPicker &current();
    static void setCurrent(std::unique_ptr<PhotoPicker> picker);

protected:
    /// The anchor asked for, then forgotten so a later intake does not inherit it.
    std::pair<PopoverAnchor, ui::PopoverArrowDirections> takePopoverAnchor()
    {
        return {std::exchange(m_anchor, nullptr), std::exchange(m_anchorDirections, ui::PopoverArrowDirectionAny)};
    }

private:
    PopoverAnchor m_anchor;
    ui::PopoverArrowDirections m_anchorDirections = ui::PopoverArrowDirectionAny;
};

/// A file dialog opened on the photo library; the camera is not available here.
class FileDialogPhotoPicker : public PhotoPicker
{
public:
    explicit FileDialogPhotoPicker(QWidget *parent = nullptr);
    void present(Source source, Done done) override;
    void dismiss() override;

private:
    QWidget *m_parent;
    QFileDialog *m_dialog = nullptr;
};

/// Reads a picked file into a result (used by every picker). With jpegLater a JPEG within the
/// limits is only checked from its header and left for the intake to decode (decodeLater).
PhotoPicker::Result readPickedPhoto(const QString &path, bool jpegLater = false);

} // namespace vimora
