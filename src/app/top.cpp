#include "app/top.h"

#include <algorithm>
#include <array>

#include "app/ad.h"
#include "app/photo_intake.h"
#include "compositor/back_photo.h"
#include "compositor/saved_pictures.h"
#include "editor/cut_image.h"
#include "picker/grid_layout.h"
#include "picker/thumbnail_cache.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "screenkit/notices.h"
#include "ui/clock.h"
#include "ui/label.h"
#include "ui/overlay_stack.h"
#include "ui/transaction.h"
#include "ui/transition.h"

namespace vimora {

namespace {
const QString kHide = QStringLiteral("HIDE");
const QString kKeyType = QStringLiteral("type");
const QString kKeyReload = QStringLiteral("Reload");

struct CategoryEntry
{
    const char *image;
    /// Drawn clear: it names the button for the tests and the log, not for the dispatch.
    const char *title;
    Top::CategoryAction action;
};
// Indexed by position, which is also the button's tag.
constexpr std::array<CategoryEntry, Top::kBarButtonCount> kCategories{{
    {"afterCuts.png", "load", Top::CategoryAction::Camera},
    {"empty.png", "BW", Top::CategoryAction::Album},
    {"buyMores.png", "ad", Top::CategoryAction::Promotions},
    {"backButtonMain.png", "back", Top::CategoryAction::BackToJob},
}};

struct TypeEntry
{
    const char *image;
    const char *title;
};
constexpr std::array<TypeEntry, 2> kTypes{{{"TYPE1.png", "TYPE1"}, {"TYPE2.png", "TYPE2"}}};
constexpr QSizeF kTypeButtonSize{100, 75};
// A phone row ends before x = 220; the next row starts 85 points lower.
constexpr double kPhoneTypeRowEnd = 220;
constexpr double kPhoneTypeRowStep = 85;

constexpr double kOptionThumbSide = 60;
constexpr double kOptionThumbStep = 70;

// The home screen's own small controls along the top-left corner.
constexpr QRectF kShowHideFrame{10, 10, 70, 32};
constexpr QRectF kHelpFrame{90, 10, 70, 32};
constexpr QRectF kTypesFrame{170, 10, 70, 32};
constexpr QRectF kSavedFrame{250, 10, 70, 32};
constexpr QSizeF kCloseOptionSize{70, 70};

// The help picture, never enlarged, centred between the top controls and the option panel
// (a phone has no room above its panel, so there it covers the panel).
QRectF helpFrame(QSizeF picture)
{
    const QSizeF screen = Device::screenSize();
    const QRectF box = isDeviceiPad() ? QRectF(10, 50, screen.width() - 20, Top::optionPanelFrame(Device::profile()).top() - 60)
                                      : QRectF(10, 50, screen.width() - 20, 350);
    const double scale = std::min({1.0, box.width() / picture.width(), box.height() / picture.height()});
    const QSizeF size = picture * scale;
    return {box.center() - QPointF(size.width() / 2, size.height() / 2), size};
}

bool buttonBackHidden()
{
    return Settings::shared().stringForKey(kKeyButtonBack) == kHide;
}

void styleHomeControl(ui::Button &button)
{
    button.setBackgroundColor(QColor(0, 0, 0, 150));
    button.setCornerRadius(8);
    button.setBorderWidth(1);
    button.setBorderColor(QColor(255, 255, 255, 110));
}
} // namespace

QRectF Top::categoryBarFrame(DeviceProfile profile, BarLayout layout)
{
    if (profile == DeviceProfile::Tablet)
        return layout == BarLayout::Landscape ? QRectF(0, 683, 1024, 65) : QRectF(0, 939, 1024, 65);
    if (layout == BarLayout::Landscape)
        return {0, 235, 568, 65};
    if (profile == DeviceProfile::Phone568)
        return {0, 483, 568, 65};
    return layout == BarLayout::StartUp ? QRectF(0, 415, 568, 65) : QRectF(0, 395, 568, 65);
}

double Top::categoryButtonStep(DeviceProfile profile, BarLayout layout)
{
    if (profile != DeviceProfile::Tablet)
        return 70;
    return layout == BarLayout::Landscape ? 270 : 230;
}

QRectF Top::optionPanelFrame(DeviceProfile profile)
{
    return profile == DeviceProfile::Tablet ? QRectF(0, 600, 1024, 80) : QRectF(0, 230, 480, 80);
}

Top::Top(const ShellViews &shell, CutImage *cutImage, BackPhoto *backPhoto, PhotoIntake *intake, AD *ad)
    : m_views(ScreenViews::create(shell))
    , m_cutImage(cutImage)
    , m_backPhoto(backPhoto)
    , m_intake(intake)
    , m_ad(ad)
    , m_sizeSlider(std::make_shared<ui::Slider>(QRectF(0, 0, 200, 23)))
{
    auto &main = *m_views->mainView;

    m_showHideBtn = std::make_shared<ui::Button>(kShowHideFrame);
    styleHomeControl(*m_showHideBtn);
    m_showHideBtn->setTitle(QStringLiteral("hide"));
    m_showHideBtn->addAction(ui::ControlEventTouchUpInside,
                             [this](ui::Control &sender) { showHideToolbar(static_cast<ui::Button &>(sender)); });
    m_helpBtn = makeHomeControl(QStringLiteral("descrip"), QStringLiteral("Help"), kHelpFrame, OptionPanelMode::Help);
    m_typesBtn = makeHomeControl(QStringLiteral("pick"), QStringLiteral("Styles"), kTypesFrame, OptionPanelMode::Styles);
    m_savedBtn = makeHomeControl(QStringLiteral("photo"), QStringLiteral("Saved"), kSavedFrame, OptionPanelMode::SavedPictures);
    // Under the category bar and every screen's layers, over the home picture.
    int at = 0;
    for (const ui::ViewPtr &control : {ui::ViewPtr(m_showHideBtn), ui::ViewPtr(m_helpBtn), ui::ViewPtr(m_typesBtn),
                                       ui::ViewPtr(m_savedBtn), ui::ViewPtr(m_sizeSlider)})
        main.insertSubview(control, at++);

    if (m_intake)
        m_intake->setIntakeEndedHandler([this] {
            // The compositor's "New photo" cancelled: back to the composition, not home.
            if (m_backPhoto && m_backPhoto->newPhotoCancelled())
                return;
            homeControlsShown(true);
        });
    if (m_backPhoto)
        m_backPhoto->setExitHandler([this] { cateViewForOrientation(); });
}

Top::~Top() = default;

std::shared_ptr<ui::Button> Top::makeHomeControl(const QString &identity, const QString &caption, QRectF frame,
                                                 OptionPanelMode mode)
{
    auto button = std::make_shared<ui::Button>(frame);
    styleHomeControl(*button);
    button->setTitle(identity);
    button->setTitleColor(Qt::transparent);
    auto label = std::make_shared<ui::Label>(QRectF(QPointF(0, 0), frame.size()), caption);
    label->setBackgroundColor(Qt::transparent);
    label->setTextColor(Qt::white);
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(button->font());
    button->addSubview(label);
    button->addAction(ui::ControlEventTouchUpInside, [this, mode](ui::Control &) { optionViewOpen(mode); });
    return button;
}

void Top::awakeFromNib()
{
    m_views->descripImg->setHidden(true);
    m_views->cateViewTop->setFrame(categoryBarFrame(Device::profile(), BarLayout::StartUp));
    m_views->cateViewTop->setBackgroundColor(Qt::transparent);
    m_sizeSlider->setHidden(true);
    m_views->selectTopView->setHidden(true);
    if (m_ad)
        m_ad->adView()->setHidden(true);
    Settings::shared().setString(kKeyButtonBack, kHide);
    findKeptJob();
    cateViewTopOpen();
    homeControlsShown(true);
    auto spinner = m_views->waitIndicator;
    spinner->setHidesWhenStopped(true);
    ui::postToMainThread([spinner] { spinner->stopAnimating(); });
}

void Top::findKeptJob()
{
    // Only the record and the pictures' headers at start; the pixels are read on resuming.
    const JobLoad found = JobStore::peek(AppHome::tempDir());
    m_hasKeptJob = found.state == JobLoad::State::Loaded;
    if (m_hasKeptJob)
        Settings::shared().setString(kKeyButtonBack, QStringLiteral("SHOW"));
    else if (found.state == JobLoad::State::Damaged)
        setKeptJobAside(found.problem);
}

void Top::setKeptJobAside(const QString &problem)
{
    m_hasKeptJob = false;
    Settings::shared().setString(kKeyButtonBack, kHide);
    const QString aside = JobStore::setAside(AppHome::tempDir(), AppHome::root() + QStringLiteral("/damaged jobs"));
    logLine(QStringLiteral("the kept job cannot be read (%1); %2")
                .arg(problem, aside.isEmpty() ? QStringLiteral("deleted") : QStringLiteral("set aside as ") + aside));
    ui::postToMainThread([] {
        showNotice(QStringLiteral("Unfinished job"),
                   QStringLiteral("The job left unfinished last time could not be read, so it cannot be resumed."));
    });
}

bool Top::resumeKeptJob()
{
    m_hasKeptJob = false;
    const JobLoad kept = JobStore::load(AppHome::tempDir());
    if (kept.state != JobLoad::State::Loaded) {
        setKeptJobAside(kept.state == JobLoad::State::None ? QStringLiteral("the record is gone") : kept.problem);
        return false;
    }
    m_cutImage->resumeJob(kept.record);
    JobStore::shared().adopt(kept.record, AppHome::tempDir());
    return true;
}

void Top::cateViewTopOpen()
{
    buildCategoryBar(BarLayout::StartUp);
}

void Top::cateViewForOrientation()
{
    if (Device::isLandscape())
        cateViewW();
    else
        cateViewTopOpen();
    // A rebuilt turned bar keeps being hidden when it was; closing a panel shows it.
    m_views->cateViewTop->setHidden(false);
    homeControlsShown(true);
}

void Top::cateViewH()
{
    buildCategoryBar(BarLayout::Portrait);
}

void Top::cateViewW()
{
    buildCategoryBar(BarLayout::Landscape);
}

void Top::buildCategoryBar(BarLayout layout)
{
    const DeviceProfile profile = Device::profile();
    auto &bar = *m_views->cateViewTop;
    auto &main = *m_views->mainView;
    // A turn lays the bar out again but must not raise it over another screen: it keeps
    // being hidden when it was.
    const bool keepHidden = layout != BarLayout::StartUp && bar.isHidden();

    bar.setFrame(categoryBarFrame(profile, layout));
    const bool hideBack = buttonBackHidden();
    if (hideBack)
        main.setImage(homePicture());
    bar.setHidden(keepHidden);
    bar.removeAllSubviews();
    main.bringSubviewToFront(&bar);

    m_cateBackScroll2 = std::make_shared<ui::ScrollView>(QRectF(QPointF(0, 0), bar.bounds().size()));
    m_cateBackScroll2->setBackgroundColor(Qt::transparent);
    bar.addSubview(m_cateBackScroll2);

    const double step = categoryButtonStep(profile, layout);
    m_categoryButtons.clear();
    for (int n = 0; n < kBarButtonCount; ++n) {
        auto button = std::make_shared<ui::Button>(QRectF(7 + n * step, 2, kBarButtonSide, kBarButtonSide));
        button->setImage(Resources::imageNamed(QString::fromLatin1(kCategories[n].image)));
        button->setTitle(QString::fromLatin1(kCategories[n].title));
        button->setTitleColor(Qt::transparent);
        button->setTag(n);
        const CategoryAction action = kCategories[n].action;
        if (action == CategoryAction::BackToJob && hideBack) {
            button->setHidden(true);
            logLine(QStringLiteral("typeStr:%1").arg(Settings::shared().stringForKey(kKeyButtonBack)));
        }
        if (action == CategoryAction::Camera && !Device::cameraAvailable()) {
            button->setEnabled(false);
            button->setImage(Resources::imageNamed(QStringLiteral("afterCutsy.png")));
        }
        m_cateBackScroll2->addSubview(button);
        button->addAction(ui::ControlEventTouchUpInside,
                          [this](ui::Control &sender) { selectViewTopOpen(static_cast<ui::Button &>(sender)); });
        m_categoryButtons.push_back(button);
    }
    m_cateBackScroll2->setContentSize(QSizeF(50, 80));
    m_cateBackScroll2->setScrollEnabled(false);
    // A turn leaves the home controls as they were: an intake or a panel may have put them away.
    if (layout == BarLayout::StartUp)
        homeControlsShown(true);
}

std::shared_ptr<ui::Button> Top::categoryButton(int tag) const
{
    for (const auto &button : m_categoryButtons)
        if (button->tag() == tag)
            return button;
    return nullptr;
}

void Top::homeControlsShown(bool shown)
{
    for (const auto &control : {m_showHideBtn, m_helpBtn, m_typesBtn, m_savedBtn})
        control->setHidden(!shown);
    if (shown) {
        // The toggle names what a press would do to the bar.
        const bool barShown = !m_views->cateViewTop->isHidden();
        m_showHideBtn->setSelected(barShown);
        m_showHideBtn->setTitle(barShown ? QStringLiteral("hide") : QStringLiteral("show"));
    }
}

void Top::putPanelsAway()
{
    // Forgotten by the overlay stack too: a panel left registered there would be closed by a
    // later Escape or outside tap while its view serves another screen, bringing the home
    // screen's bar back over it.
    auto &overlays = ui::OverlayStack::of(m_views->mainView.get());
    overlays.closed(m_views->selectTopView.get());
    overlays.closed(m_views->descripImg.get());
    m_views->selectTopView->setHidden(true);
    m_views->descripImg->setHidden(true);
}

void Top::startIntake(const QString &tag, const QString &source)
{
    // The picker and then the editor take the screen: the home's own controls and panels
    // step aside.
    putPanelsAway();
    homeControlsShown(false);
    if (m_intake)
        m_intake->toAlbumiPad(tag, source);
}

bool Top::isHomeShown() const
{
    return !m_helpBtn->isHidden() && !(m_intake && (m_intake->isPicking() || m_intake->isTakingIn()))
           && !(m_ad && !m_ad->adView()->isHidden());
}

bool Top::openPhotos(const QStringList &paths)
{
    if (paths.isEmpty() || !m_intake)
        return false;
    if (!isHomeShown()) {
        logLine(QStringLiteral("open: %1 left, as the home screen is not up").arg(paths.join(QStringLiteral(", "))));
        return false;
    }
    m_views->cateViewTop->setHidden(true);
    m_showHideBtn->setHidden(true);
    Settings::shared().setString(kKeyType, QStringLiteral("t2"));
    putPanelsAway();
    homeControlsShown(false);
    m_intake->openFiles(paths);
    return true;
}

bool Top::openPicker()
{
    if (!isHomeShown())
        return false;
    for (const auto &button : m_categoryButtons)
        if (kCategories[button->tag()].action == CategoryAction::Album) {
            selectViewTopOpen(*button);
            return true;
        }
    return false;
}

void Top::selectViewTopOpen(const ui::Button &sender)
{
    const int place = sender.tag();
    if (place < 0 || place >= kBarButtonCount)
        return;
    m_views->cateViewTop->setHidden(true);
    auto &settings = Settings::shared();
    switch (kCategories[place].action) {
    case CategoryAction::Album:
        m_showHideBtn->setHidden(true);
        settings.setString(kKeyType, QStringLiteral("t2"));
        startIntake(QStringLiteral("BW"), QStringLiteral("album"));
        break;
    case CategoryAction::Camera:
        settings.setString(kKeyType, QStringLiteral("t2"));
        startIntake(QStringLiteral("whatever"), QStringLiteral("camera"));
        break;
    case CategoryAction::Promotions:
        ui::OverlayStack::of(m_views->mainView.get()).closeAll();
        if (m_ad)
            m_ad->showAdView();
        break;
    case CategoryAction::BackToJob:
        // The home screen's panels go with it.
        putPanelsAway();
        // After a restart the editor holds no job yet: it is built from the kept one.
        if (m_cutImage && !m_cutImage->hasJob() && m_hasKeptJob && !resumeKeptJob()) {
            cateViewForOrientation();
            return;
        }
        m_hasKeptJob = false;
        homeControlsShown(false);
        if (m_cutImage)
            m_cutImage->resumeJob();
        break;
    }
}

void Top::typeChoose(const ui::Button &sender)
{
    Settings::shared().setString(kKeyType, sender.currentTitle());
    m_views->selectTopView->setHidden(true);
    m_views->descripImg->setHidden(true);
    startIntake(QStringLiteral("whatever"), QStringLiteral("album"));
}

void Top::openOptionPanel()
{
    auto &panel = *m_views->selectTopView;
    const DeviceProfile profile = Device::profile();
    panel.setFrame(optionPanelFrame(profile));
    panel.setImage(Resources::imageNamed(isDeviceiPad() ? QStringLiteral("selectBackIpad.png") : QStringLiteral("selectBackIphone.png")));
    panel.setUserInteractionEnabled(true);
    panel.removeAllSubviews();
    panel.setHidden(false);
    m_views->mainView->bringSubviewToFront(&panel);
    // The list ends before the close control, which stands over the panel's right end on the
    // portrait screen: a thumbnail further right would sit under it or off a phone's screen,
    // out of reach, where inside the list it scrolls into view.
    const double listWidth = std::min(panel.bounds().width(), Device::portraitScreenSize().width() - kCloseOptionSize.width() - 10);
    m_selectBackScroll2 = std::make_shared<ui::ScrollView>(QRectF(0, 0, listWidth, panel.bounds().height()));
    m_selectBackScroll2->setBackgroundColor(Qt::transparent);
    m_selectBackScroll2->setShowsHorizontalScrollIndicator(false);
    m_selectBackScroll2->setShowsVerticalScrollIndicator(false);
    panel.addSubview(m_selectBackScroll2);
}

void Top::addOptionPanelClose()
{
    // Over the panel's right end within the portrait screen, so it is always on screen.
    auto &panel = *m_views->selectTopView;
    const double screenWidth = Device::portraitScreenSize().width();
    addOptionPanelClose(panel, QRectF(QPointF(screenWidth - kCloseOptionSize.width() - 5,
                                              (panel.bounds().height() - kCloseOptionSize.height()) / 2),
                                      kCloseOptionSize));
}

void Top::addOptionPanelClose(ui::View &host, const QRectF &frame)
{
    m_closeOptionBtn = std::make_shared<ui::Button>(frame);
    m_closeOptionBtn->setTitle(QStringLiteral("close"));
    m_closeOptionBtn->setTitleColor(Qt::transparent);
    m_closeOptionBtn->setImage(Resources::imageNamed(QStringLiteral("leaveBtn2.png")));
    m_closeOptionBtn->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { hideOptionView(); });
    host.addSubview(m_closeOptionBtn);
}

void Top::optionViewOpen(OptionPanelMode mode)
{
    // One panel at a time: whatever else is open over the home screen closes first.
    ui::OverlayStack::of(m_views->mainView.get()).closeAll();
    auto &settings = Settings::shared();
    if (mode == OptionPanelMode::SavedPictures) {
        settings.setString(kKeyReload, QStringLiteral("YES"));
        m_temMuAry = saved_pictures::list();
        openOptionPanel();
        spinBegin();
        for (int i = 0; i < m_temMuAry.size(); ++i) {
            const QString name = m_temMuAry.at(i);
            auto button = std::make_shared<ui::Button>(QRectF(10 + i * kOptionThumbStep, 10, kOptionThumbSide, kOptionThumbSide));
            showSavedThumbnail(*button, name);
            logLine(QStringLiteral("celImg:%1").arg(name));
            button->setTitle(name);
            button->setTitleColor(Qt::transparent);
            button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &b) {
                if (!m_backPhoto)
                    return;
                homeControlsShown(false);
                // The compositor takes the screen; a picture it cannot open leaves the panel up.
                if (m_backPhoto->showSelectPhoto(static_cast<ui::Button &>(b)))
                    putPanelsAway();
            });
            m_selectBackScroll2->addSubview(button);
            m_styleBtn = button;
        }
        m_selectBackScroll2->setContentSize(QSizeF(20 + m_temMuAry.size() * kOptionThumbStep, 80));
        if (m_temMuAry.isEmpty()) {
            auto none = std::make_shared<ui::Label>(QRectF(10, 10, 300, 60), QStringLiteral("No saved pictures yet"));
            none->setBackgroundColor(Qt::transparent);
            none->setTextColor(Qt::white);
            none->setTextAlignment(ui::TextAlignment::Left);
            // Beside the list, which stays empty.
            m_views->selectTopView->addSubview(none);
        }
        addOptionPanelClose();
        spinEnd();
    } else if (mode == OptionPanelMode::Help) {
        settings.setString(kKeyReload, QStringLiteral("NO"));
        // The help card stands alone: an empty option panel behind it would only show at
        // its edges.
        m_views->selectTopView->setHidden(true);
        auto &help = *m_views->descripImg;
        const Picture picture = Resources::imageNamed(QStringLiteral("descrip.png"));
        help.removeAllSubviews();
        help.setFrame(helpFrame(picture.isNull() ? QSizeF(400, 400) : picture.size()));
        help.setContentMode(ui::ContentMode::ScaleAspectFit);
        help.setImage(picture);
        help.setUserInteractionEnabled(true);
        // The card closes by its own control, inside its corner, in front of everything.
        addOptionPanelClose(help, QRectF(help.bounds().width() - kCloseOptionSize.width() - 4, 4,
                                         kCloseOptionSize.width(), kCloseOptionSize.height()));
        help.setHidden(false);
        m_views->mainView->bringSubviewToFront(&help);
    } else {
        settings.setString(kKeyReload, QStringLiteral("NO"));
        openOptionPanel();
        auto label = std::make_shared<ui::Label>(QRectF(10, 0, 200, 50), QStringLiteral("Style"));
        label->setBackgroundColor(Qt::transparent);
        label->setTextColor(Qt::white);
        label->setTextAlignment(ui::TextAlignment::Left);
        m_selectBackScroll2->addSubview(label);
        const double step = isDeviceiPad() ? 160 : 110;
        QPointF at(0, 2);
        for (const TypeEntry &type : kTypes) {
            if (!isDeviceiPad() && at.x() >= kPhoneTypeRowEnd) {
                logLine(QStringLiteral("換行"));
                at = QPointF(0, at.y() + kPhoneTypeRowStep);
            }
            auto button = std::make_shared<ui::Button>(QRectF(at, kTypeButtonSize));
            button->setImage(Resources::imageNamed(QString::fromLatin1(type.image)));
            button->setTitle(QString::fromLatin1(type.title));
            button->setTitleColor(Qt::transparent);
            button->addAction(ui::ControlEventTouchUpInside,
                              [this](ui::Control &b) { typeChoose(static_cast<ui::Button &>(b)); });
            m_selectBackScroll2->addSubview(button);
            m_typeBtn = button;
            at.setX(at.x() + step);
        }
        addOptionPanelClose();
    }
    const ui::ViewPtr panel = mode == OptionPanelMode::Help ? ui::ViewPtr(m_views->descripImg) : ui::ViewPtr(m_views->selectTopView);
    ui::OverlayStack::of(m_views->mainView.get()).open(panel, [this] { hideOptionView(); });
}

void Top::showSavedThumbnail(ui::Button &button, const QString &name)
{
    // A grey square holds the place; the thumbnail, cut square from the middle of the picture
    // (never squeezed), is made or read back off the UI thread, and the list opens at once.
    static const QImage placeholder = [] {
        const int side = static_cast<int>(kOptionThumbSide);
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(picker::kPlaceholderColour);
        return image;
    }();
    auto show = [weak = std::weak_ptr<ui::View>(button.shared_from_this())](const QImage &thumbnail) {
        auto live = std::static_pointer_cast<ui::Button>(weak.lock());
        if (live && !thumbnail.isNull())
            live->setImage(Picture(thumbnail, thumbnail.width() / kOptionThumbSide));
    };
    button.setImage(Picture(placeholder));
    auto &cache = picker::ThumbnailCache::shared();
    const QString path = saved_pictures::path(name);
    if (const QImage known = cache.cached(path); !known.isNull())
        show(known);
    else
        cache.request(path, show);
}

void Top::hideOptionView()
{
    logLine(QStringLiteral("hide selectView"));
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    ui::Transaction::setAnimationDuration(0.5);
    m_views->selectTopView->addTransition(ui::Transition::named(QStringLiteral("tubey"), QStringLiteral("fromLeft")));
    m_views->selectTopView->setHidden(true);
    // The help picture belongs to the panel and closes with it.
    m_views->descripImg->setHidden(true);
    auto &overlays = ui::OverlayStack::of(m_views->mainView.get());
    overlays.closed(m_views->selectTopView.get());
    overlays.closed(m_views->descripImg.get());
    // The bar comes back where the screen is now: a turned tablet's bar lies higher.
    cateViewForOrientation();
    ui::Transaction::commit();
}

void Top::showHideToolbar(ui::Button &sender)
{
    logLine(QStringLiteral("showHideBtn"));
    if (sender.currentTitle() == QLatin1String("show")) {
        m_views->cateViewTop->setHidden(false);
        sender.setSelected(true);
        sender.setTitle(QStringLiteral("hide"));
    } else {
        logLine(QStringLiteral("hide"));
        m_views->cateViewTop->setHidden(true);
        sender.setSelected(false);
        sender.setTitle(QStringLiteral("show"));
    }
}

void Top::spinBegin()
{
    showBusy(m_views->waitIndicator, true);
}

void Top::spinEnd()
{
    showBusy(m_views->waitIndicator, false);
}
} // namespace vimora
