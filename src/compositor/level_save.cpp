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
constexpr double kMenuWidth = 240;
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
    panel.setFrame(isDeviceiPad() ? QRectF(520, 75, kMenuWidth, 200) : QRectF(60, 100, kMenuWidth, 200));
    panel.setBackgroundColor(Qt::transparent);
    panel.setHidden(false);
    panel.setAlpha(1.0);
    panel.setUserInteractionEnabled(true);
    m_views.mainView->bringSubviewToFront(&panel);
    ui::Transaction::commit();

    double y = 5;
    for (SaveLevel level : {SaveLevel::Low, SaveLevel::Medium, SaveLevel::High}) {
        panel.addSubview(makeLongButton(QRectF(0, y, kMenuWidth, 50), levelCaption(level), [this, level] { effectLevel(level); }));
        y += 65;
    }
    // Changing one's mind: a tap outside the menu or Escape closes it.
    ui::OverlayStack::of(&panel).open(m_views.descripImg, [this] { m_views.descripImg->setHidden(true); });
}

QSizeF LevelSave::pictureSize() const
{
    const QSizeF given = m_pictureSize ? m_pictureSize() : QSizeF();
    return given.isEmpty() ? m_views.backImgView->image().size() : given;
}

std::optional<QSizeF> LevelSave::factors(SaveLevel level) const
{
    const QSizeF frame = m_views.backImgView->frame().size();
    auto f = levelSaveFactors(level, pictureSize(), frame);
    if (!f)
        return f;
    // A picture too large to hold or encode is made as large as it can be, same shape.
    const double over = std::max(frame.width() * f->width(), frame.height() * f->height()) / kLargestSide;
    if (over > 1)
        *f /= over;
    return f;
}

QSize LevelSave::levelSize(SaveLevel level) const
{
    const auto f = factors(level);
    if (!f)
        return {};
    const QSizeF frame = m_views.backImgView->frame().size();
    return QSize(int(std::round(frame.width() * f->width())), int(std::round(frame.height() * f->height())));
}

QString LevelSave::levelCaption(SaveLevel level) const
{
    const QSize size = levelSize(level);
    if (size.isEmpty())
        return saveLevelTitle(level);
    return QStringLiteral("%1 — %2 × %3").arg(saveLevelTitle(level)).arg(size.width()).arg(size.height());
}

bool LevelSave::effectLevel(SaveLevel level)
{
    m_views.descripImg->setHidden(true);
    ui::OverlayStack::of(m_views.descripImg.get()).closed(m_views.descripImg.get());
    if (m_beforeSave)
        m_beforeSave();

    const auto levelFactors = factors(level);
    if (!levelFactors || m_views.backImgView->image().isNull()) {
        logLine(QStringLiteral("effectLevel: no background picture, nothing saved"));
        if (m_tell)
            m_tell(QStringLiteral("Nothing to save"), QStringLiteral("There is no background picture to save yet."));
        return false;
    }
    logLine(QStringLiteral("effectLevel: %1 x%2").arg(saveLevelTitle(level)).arg(levelFactors->width()));

    // The toolbar stays out of the picture; it comes back after the capture.
    auto &toolbar = *m_views.selectTopView;
    const bool toolbarHidden = toolbar.isHidden();
    toolbar.setHidden(true);
    const Picture picture = ui::renderRegion(*m_views.mainView, m_views.backImgView->frame(), levelFactors->width(),
                                             levelFactors->height());
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
