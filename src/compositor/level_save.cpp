#include "compositor/level_save.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "compositor/compositor_controls.h"
#include "platform/log.h"
#include "screenkit/album_save.h"
#include "store/album_writer.h"
#include "ui/overlay_stack.h"
#include "ui/transaction.h"
#include "ui/transition.h"
#include "ui/view_capture.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kMenuSeconds = 0.5;
/// Saved pictures are at most this large on a side: larger could not be held or encoded.
constexpr double kLargestSide = 16384;
} // namespace

LevelSave::LevelSave(ScreenViews &views, std::function<void()> beforeSave, Tell tell)
    : m_views(views)
    , m_beforeSave(std::move(beforeSave))
    , m_tell(std::move(tell))
{
}

void LevelSave::justSaveToAlbum()
{
    auto &panel = *m_views.descripImg;
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    ui::Transaction::setAnimationDuration(kMenuSeconds);
    panel.addTransition(ui::Transition(ui::TransitionType::Fade, ui::TransitionSubtype::FromTop, kMenuSeconds));
    panel.removeAllSubviews();
    panel.setTransform({});
    panel.setBorderWidth(0);
    panel.setImage({});
    panel.setFrame(isDeviceiPad() ? QRectF(535, 75, 150, 200) : QRectF(145, 75, 150, 200));
    panel.setBackgroundColor(Qt::transparent);
    panel.setHidden(false);
    panel.setAlpha(1.0);
    panel.setUserInteractionEnabled(true);
    m_views.mainView->bringSubviewToFront(&panel);
    ui::Transaction::commit();

    double y = 5;
    for (SaveLevel level : {SaveLevel::Low, SaveLevel::Medium, SaveLevel::High}) {
        const QString title = saveLevelTitle(level);
        panel.addSubview(makeLongButton(QRectF(0, y, 100, 50), title, [this, title] { effectLevel(title); }));
        y += 65;
    }
    // Changing one's mind: a tap outside the menu or Escape closes it.
    ui::OverlayStack::of(&panel).open(m_views.descripImg, [this] { m_views.descripImg->setHidden(true); });
}

Picture LevelSave::renderComposition(const ScreenViews &views, QSizeF factors, int captureLevel, DeviceProfile profile)
{
    const QRectF frame = views.backImgView->frame();
    const double c = captureLevelScale(captureLevel, profile);
    double sx = factors.width() * c, sy = factors.height() * c;
    // A picture too large to hold or encode is made as large as it can be, same shape.
    const double over = std::max(frame.width() * sx, frame.height() * sy) / kLargestSide;
    if (over > 1) {
        logLine(QStringLiteral("effectLevel: reduced to fit %1 pixels a side").arg(kLargestSide));
        sx /= over;
        sy /= over;
    }
    return ui::renderRegion(*views.mainView, frame, sx, sy);
}

bool LevelSave::effectLevel(const QString &senderTitle)
{
    m_views.descripImg->setHidden(true);
    ui::OverlayStack::of(m_views.descripImg.get()).closed(m_views.descripImg.get());
    if (m_beforeSave)
        m_beforeSave();

    const SaveLevel level = saveLevelForTitle(senderTitle);
    const auto &background = *m_views.backImgView;
    const auto factors = levelSaveFactors(level, background.image().size(), background.frame().size());
    if (!factors) {
        logLine(QStringLiteral("effectLevel: no background picture, nothing saved"));
        if (m_tell)
            m_tell(QStringLiteral("Nothing to save"), QStringLiteral("There is no background picture to save yet."));
        return false;
    }
    logLine(QStringLiteral("effectLevel: %1 x%2").arg(saveLevelTitle(level)).arg(factors->width()));

    // The toolbar stays out of the picture; it comes back after the capture.
    auto &toolbar = *m_views.selectTopView;
    const bool toolbarHidden = toolbar.isHidden();
    toolbar.setHidden(true);
    const Picture picture = renderComposition(m_views, *factors, kLevelSaveCaptureLevel, Device::profile());
    toolbar.setHidden(toolbarHidden);
    if (picture.isNull()) {
        logLine(QStringLiteral("effectLevel: the picture could not be made"));
        if (m_tell)
            m_tell(kNotSavedTitle, QStringLiteral("There is not enough memory to make the picture at this level; try a lower one."));
        return false;
    }
    m_lastSavedSize = QSize(picture.pixelWidth(), picture.pixelHeight());
    if (!m_writer) {
        if (m_tell)
            m_tell(kNotSavedTitle, QStringLiteral("The photo library is not available."));
        return false;
    }
    saveToAlbumAndTell(*m_writer, picture, kCompositorAlbum, m_tell);
    return true;
}

} // namespace vimora
