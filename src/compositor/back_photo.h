#pragma once

// The background compositor. It owns the photo intake: it shows the photo picker, reduces
// the chosen photo to a working size, writes a working copy and a thumbnail into tmp/ and
// hands both names to the cut-out editor. It also loads a saved picture as its background.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>
#include <QStringList>

#include "imaging/scale_image.h"
#include "platform/photo_picker.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "widgets/screen_views.h"

namespace vimora {

class BackPhoto
{
public:
    /// Receives the intake: the working-copy names and the thumbnail names (tmp/-relative).
    using HandOver = std::function<void(const QStringList &originNames, const QStringList &thumbNames)>;

    /// Longest side of a working copy, by device.
    static constexpr double kTabletMaxSide = 2000;
    static constexpr double kPhoneMaxSide = 1500;
    static constexpr double kThumbnailWidth = 156;
    static constexpr double kJpegQuality = 1.0;

    BackPhoto(std::shared_ptr<ScreenViews> views, HandOver handOver);
    ~BackPhoto();
    BackPhoto(const BackPhoto &) = delete;
    BackPhoto &operator=(const BackPhoto &) = delete;

    /// Loading: both name lists start empty.
    void awakeFromNib();

    /// Starts an intake from source "album" or "camera"; the tag is not used.
    void toAlbumiPad(const QString &tag, const QString &cOrF);
    /// The picker returned a photo (or a file it could not read). A damaged photo waits for
    /// the user's answer to the notice before it is taken in.
    void imagePickerController(const PhotoPicker::Result &picked);
    /// The notice shown over a damaged photo, while it is up (nullptr otherwise).
    ui::AlertView *damagedPhotoNotice() const { return m_damagedNotice.get(); }
    static constexpr int kNoticeCancelIndex = 0;
    static constexpr int kNoticeContinueIndex = 1;
    void imagePickerControllerDidCancel();
    /// The tablet popover was closed outside the picker.
    void popoverControllerDidDismissPopover();
    /// Presents the album picker in the tablet popover, for portrait / landscape.
    void popH();
    void popW();

    /// Sizes the working view and the background layer to cover the screen at ratio
    /// r = height / width; orientation "w" means a wide screen.
    void openBackView(const QString &orientation, float ratio);
    /// Loads the saved picture named by the sender's title as the background.
    void showSelectPhoto(const ui::Button &sender);
    void showSelectPhoto(const QString &name);
    /// The option bar over a loaded background; it arrives with the compositor's toolbar.
    void openOptionView(const QString &name);

    /// Told when an intake ends without handing a photo over (cancel, unreadable photo,
    /// closed popover), so the home screen can offer its controls again.
    void setIntakeEndedHandler(std::function<void()> handler) { m_intakeEnded = std::move(handler); }

    // --- State the other screens and the tests read ---
    ui::ViewPtr view() const { return m_view; }
    QString fun() const { return m_fun; }
    const QStringList &originMuAry() const { return m_originMuAry; }
    const QStringList &thuMuAry() const { return m_thuMuAry; }
    QRectF phoneRect() const { return m_phoneRect; }
    QRectF printRect() const { return m_printRect; }
    /// The rectangle the album popover was last presented from (empty when none).
    QRectF popoverAnchor() const { return m_popoverAnchor; }
    /// Stands for the full-screen picker on screen while one is up.
    ui::ViewPtr pickerView() const { return m_pickerView; }
    bool isPicking() const { return m_picking; }

    static QRectF popoverAnchorPortrait() { return {75, 920, 400, 400}; }
    static QRectF popoverAnchorLandscape() { return {110, 650, 400, 400}; }

private:
    void takeIn(const PhotoPicker::Result &picked);
    void answerDamagedNotice(int buttonIndex);
    void layOutIntakeLayers();
    void hidePicker();
    void endIntakeWithoutPhoto();
    void showIntakeAlert(const QString &message);
    bool writeJpeg(const Picture &picture, const QString &name);

    std::shared_ptr<ScreenViews> m_views;
    HandOver m_handOver;
    std::function<void()> m_intakeEnded;
    class NoticeDelegate;
    std::unique_ptr<NoticeDelegate> m_noticeDelegate;
    std::shared_ptr<ui::AlertView> m_damagedNotice;
    PhotoPicker::Result m_damagedPhoto;
    ui::ViewPtr m_view;
    ui::ViewPtr m_pickerView;
    ScaleImage m_scaleImage;

    QString m_fun;
    QStringList m_originMuAry;
    QStringList m_thuMuAry;
    QRectF m_phoneRect;
    QRectF m_printRect;
    QRectF m_popoverAnchor;
    bool m_picking = false;
    // Each intake gets a number; a late answer from an earlier picker is ignored.
    int m_intake = 0;
};

} // namespace vimora
