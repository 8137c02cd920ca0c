#pragma once

// The home screen: the home picture, the category bar of four buttons (camera, album,
// promotions, back to the editing job), the show/hide toggle for the bar and the option
// panel. It picks no photos itself: the shell's photo intake does, and hands them to the editor.

#include <memory>

#include <QRectF>
#include <QStringList>

#include "platform/device.h"
#include "store/job_store.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/scroll_view.h"
#include "ui/slider.h"
#include "screenkit/screen_views.h"

namespace vimora {

class AD;
class BackPhoto;
class CutImage;
class PhotoIntake;

class Top
{
public:
    /// Which of the bar's layouts is being built.
    enum class BarLayout { StartUp, Portrait, Landscape };
    /// What a category button does; the button's tag is its place in the bar.
    enum class CategoryAction { Camera, Album, Promotions, BackToJob };
    /// The option panel's modes, one per home control.
    enum class OptionPanelMode { SavedPictures, Help, Styles };

    static constexpr double kBarButtonSide = 60;
    static constexpr int kBarButtonCount = 4;

    /// The category bar's frame.
    static QRectF categoryBarFrame(DeviceProfile profile, BarLayout layout);
    /// Button n of the bar sits at 7 + n × step.
    static double categoryButtonStep(DeviceProfile profile, BarLayout layout);
    /// The option panel's frame and background picture.
    static QRectF optionPanelFrame(DeviceProfile profile);

    /// Builds the home screen's own layers (the option panel and the help card) in the
    /// shell's main view.
    Top(const ShellViews &shell, CutImage *cutImage, BackPhoto *backPhoto, PhotoIntake *intake, AD *ad);
    ~Top();
    Top(const Top &) = delete;
    Top &operator=(const Top &) = delete;

    /// Start-up: hides the layers, writes "ButtonBack" = "HIDE", builds the bar.
    void awakeFromNib();
    /// Whether "back" resumes a job kept from an earlier run (the editor holds none yet).
    bool hasKeptJob() const { return m_hasKeptJob; }

    /// Builds the bar in its start-up layout and shows it.
    void cateViewTopOpen();
    /// Builds the bar for the orientation the screen has now and shows it (after a panel
    /// or the editor closed).
    void cateViewForOrientation();
    /// Lays the bar out for portrait / landscape after a turn, keeping it hidden if it was.
    void cateViewH();
    void cateViewW();
    /// A category button was pressed: the action its place in the bar stands for.
    void selectViewTopOpen(const ui::Button &sender);
    /// Photo files from the command line or a drop on the window open as a photo picked with
    /// Album would, from the home screen. Elsewhere they are refused (false): the editor or
    /// the compositor holds a job a stray drop must not replace.
    bool openPhotos(const QStringList &paths);
    /// Ctrl+O: the Album button's picker, from the home screen (false elsewhere).
    bool openPicker();
    /// The home screen is up: no intake, editor, compositor or guide over it.
    bool isHomeShown() const;

    /// A style of the Styles panel was chosen: writes it as "type" and starts the album intake.
    void typeChoose(const ui::Button &sender);
    /// Opens the option panel in the given mode, closing whatever else is open first.
    void optionViewOpen(OptionPanelMode mode);
    /// Closes the option panel and the help card and brings the bar back.
    void hideOptionView();
    /// The show/hide toggle: hides or shows the bar, the toggle's title naming what a press
    /// would do next.
    void showHideToolbar(ui::Button &sender);
    void spinBegin();
    void spinEnd();

    // --- Views the screen keeps ---
    std::shared_ptr<ui::ImageView> mainView() const { return m_views->mainView; }
    std::shared_ptr<ui::ImageView> cateViewTop() const { return m_views->cateViewTop; }
    /// The home screen's own layers.
    const ScreenViews &views() const { return *m_views; }
    std::shared_ptr<ui::Button> showHideBtn() const { return m_showHideBtn; }
    std::shared_ptr<ui::ScrollView> selectBackScroll2() const { return m_selectBackScroll2; }
    std::shared_ptr<ui::Button> typeBtn() const { return m_typeBtn; }
    std::shared_ptr<ui::Button> styleBtn() const { return m_styleBtn; }
    /// The category button with the given tag (0..3), or nullptr.
    std::shared_ptr<ui::Button> categoryButton(int tag) const;
    /// The controls that open the option panel's help and type modes.
    std::shared_ptr<ui::Button> helpBtn() const { return m_helpBtn; }
    std::shared_ptr<ui::Button> typesBtn() const { return m_typesBtn; }
    std::shared_ptr<ui::Button> savedBtn() const { return m_savedBtn; }
    std::shared_ptr<ui::Button> closeOptionBtn() const { return m_closeOptionBtn; }

    /// Names of saved pictures the option panel's photo mode lists.
    QStringList &temMuAry() { return m_temMuAry; }

private:
    /// Reads the job kept in tmp/: one that reads whole is offered by "back"; a damaged one is
    /// reported and set aside, so it is reported once.
    void findKeptJob();
    /// Reports a kept job that cannot be read and moves it out of tmp/; back is hidden.
    void setKeptJobAside(const QString &problem);
    /// Opens the editor on the kept job; false (reported, set aside) when it cannot be read.
    bool resumeKeptJob();
    void buildCategoryBar(BarLayout layout);
    void startIntake(const QString &tag, const QString &source);
    /// Closes the option panel and the help card without rebuilding the bar.
    void putPanelsAway();
    void openOptionPanel();
    /// Gives a Saved list button its picture's thumbnail, from the thumbnail cache.
    void showSavedThumbnail(ui::Button &button, const QString &name);
    void addOptionPanelClose();
    /// The close control that hides the option panel, on host at frame.
    void addOptionPanelClose(ui::View &host, const QRectF &frame);
    void homeControlsShown(bool shown);
    std::shared_ptr<ui::Button> makeHomeControl(const QString &identity, const QString &caption, QRectF frame,
                                                OptionPanelMode mode);

    std::shared_ptr<ScreenViews> m_views;
    CutImage *m_cutImage;
    BackPhoto *m_backPhoto;
    PhotoIntake *m_intake;
    AD *m_ad;
    bool m_hasKeptJob = false;

    std::shared_ptr<ui::Button> m_showHideBtn;
    std::shared_ptr<ui::Button> m_helpBtn;
    std::shared_ptr<ui::Button> m_typesBtn;
    /// Opens the option panel's list of saved pictures.
    std::shared_ptr<ui::Button> m_savedBtn;
    std::shared_ptr<ui::Button> m_closeOptionBtn;
    std::shared_ptr<ui::Slider> m_sizeSlider;
    std::shared_ptr<ui::ScrollView> m_cateBackScroll2;
    std::vector<std::shared_ptr<ui::Button>> m_categoryButtons;
    std::shared_ptr<ui::ScrollView> m_selectBackScroll2;
    std::shared_ptr<ui::Button> m_typeBtn;
    std::shared_ptr<ui::Button> m_styleBtn;
    QStringList m_temMuAry;
};

} // namespace vimora
