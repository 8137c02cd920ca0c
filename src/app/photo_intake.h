#pragma once

// The photo intake, the road from the home screen (or the compositor's "New photo") to the
// editor: it shows the photo picker, reduces the chosen photo to a working size, writes a
// working copy and a thumbnail into tmp/ and hands both names on.

#include <functional>
#include <memory>

#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

#include "platform/photo_picker.h"
#include "screenkit/notices.h"
#include "screenkit/screen_views.h"
#include "ui/alert_view.h"
#include "ui/job_runner.h"

namespace vimora {

class PhotoIntake
{
public:
    /// Receives the intake: the working-copy names and the thumbnail names (tmp/-relative).
    using HandOver = std::function<void(const QStringList &originNames, const QStringList &thumbNames)>;

    static constexpr double kJpegQuality = 1.0;
    static constexpr int kNoticeCancelIndex = 0;
    static constexpr int kNoticeContinueIndex = 1;

    PhotoIntake(const ShellViews &shell, HandOver handOver);
    ~PhotoIntake();
    PhotoIntake(const PhotoIntake &) = delete;
    PhotoIntake &operator=(const PhotoIntake &) = delete;

    /// Starts an intake from source "album" or "camera"; the tag is not used.
    void toAlbumiPad(const QString &tag, const QString &cOrF);
    /// Opens photo files named outside the picker (the command line, a drop on the window):
    /// the first is read off the UI thread and taken in as a picked one, so a file that is
    /// not a picture gets the picker's alert. The job holds one photo: the others are logged
    /// and left. Ignored while a photo is still being opened.
    void openFiles(const QStringList &paths);
    /// The picker returned a photo (or a file it could not read). A damaged photo waits for
    /// the user's answer to the notice before it is taken in.
    void imagePickerController(const PhotoPicker::Result &picked);
    void imagePickerControllerDidCancel();
    /// The tablet popover was closed outside the picker.
    void popoverControllerDidDismissPopover();
    /// Presents the album picker in the tablet popover, for portrait / landscape.
    void popH();
    void popW();

    /// Told when an intake ends without handing a photo over (cancel, unreadable photo,
    /// closed popover), so the home screen can offer its controls again.
    void setIntakeEndedHandler(std::function<void()> handler) { m_intakeEnded = std::move(handler); }

    /// The notice shown over a damaged photo, while it is up (nullptr otherwise).
    ui::AlertView *damagedPhotoNotice() const { return m_damagedNotice.get(); }
    /// The source of the last intake: "album" or "camera".
    QString fun() const { return m_fun; }
    const QStringList &originMuAry() const { return m_originMuAry; }
    const QStringList &thuMuAry() const { return m_thuMuAry; }
    /// The file the last intake took in and its size, upright, before the working copy was
    /// made smaller: the editor's "Original size" renders from it. Set before the hand-over.
    QString pickedPath() const { return m_pickedPath; }
    QSize pickedSize() const { return m_pickedSize; }
    /// The rectangle the album popover was last presented from (empty when none).
    QRectF popoverAnchor() const { return m_popoverAnchor; }
    /// Stands for the full-screen picker on screen while one is up.
    ui::ViewPtr pickerView() const { return m_pickerView; }
    bool isPicking() const { return m_picking; }
    /// A picked photo is being brought to the working size.
    bool isTakingIn() const { return m_takingIn; }
    /// Tests: the photo being taken in has been handed over (or refused).
    void waitForIntake();

    static QRectF popoverAnchorPortrait() { return {75, 920, 400, 400}; }
    static QRectF popoverAnchorLandscape() { return {110, 650, 400, 400}; }

private:
    void takeIn(const PhotoPicker::Result &picked);
    void answerDamagedNotice(int buttonIndex);
    void hidePicker();
    void endIntakeWithoutPhoto();
    void showIntakeAlert(const QString &message);
    static bool writeJpeg(const Picture &picture, const QString &name);

    /// The working copy and its thumbnail, written into tmp/ off the UI thread.
    struct StoredPhoto
    {
        QString originName, thumbName;
        QSize size;
        /// The photo as picked, for a save at its own size.
        QString pickedPath;
        QSize pickedSize;
        bool stored = false;
        /// A photo left for the intake to decode could not be.
        bool unreadable = false;
    };
    static StoredPhoto storePhoto(const PhotoPicker::Result &picked, int maxSide);
    void handOverStored(const StoredPhoto &stored);
    void intakeFailed(const QString &reason);

    ShellViews m_shell;
    HandOver m_handOver;
    QString m_pickedPath;
    QSize m_pickedSize;
    std::function<void()> m_intakeEnded;
    class NoticeDelegate;
    std::unique_ptr<NoticeDelegate> m_noticeDelegate;
    std::shared_ptr<ui::AlertView> m_damagedNotice;
    PhotoPicker::Result m_damagedPhoto;
    ui::ViewPtr m_pickerView;

    QString m_fun;
    QStringList m_originMuAry;
    QStringList m_thuMuAry;
    QRectF m_popoverAnchor;
    bool m_picking = false;
    // Each intake gets a number; a late answer from an earlier picker is ignored.
    int m_intake = 0;
    bool m_takingIn = false;
    BusyNotice m_opening{QStringLiteral("Opening photo…")};
    // Last: its jobs end before what they use goes.
    ui::JobRunner m_worker;
};

} // namespace vimora
