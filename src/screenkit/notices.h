#pragma once

// What the screens show the user in passing: a one-button alert, the busy spinner, and the
// home picture a screen leaves behind when it closes.

#include <memory>

#include <QString>

#include "imaging/picture.h"
#include "ui/activity_indicator.h"
#include "ui/alert_view.h"
#include "ui/timer.h"

namespace vimora {

/// The one-button alert (title, message, "OK"), shown at once. The caller may keep it to
/// close it with its screen.
std::shared_ptr<ui::AlertView> showNotice(const QString &title, const QString &message);

enum class SpinnerOrder
{
    Kept,    ///< stays where it is among its siblings
    ToFront, ///< comes over its siblings as it starts
};

/// The busy spinner on or off. From any thread: the change is posted to the UI thread, in the
/// order asked, and a spinner gone by then is left alone.
void showBusy(const std::shared_ptr<ui::ActivityIndicator> &spinner, bool busy,
              SpinnerOrder order = SpinnerOrder::Kept);

/// A notice with a spinner for work the user waits on, shown only once the work has taken
/// longer than a glance (kDelay): quick work flashes nothing. It offers no button, so Escape
/// leaves it up; it goes when the work ends (stop) or with its owner.
class BusyNotice
{
public:
    static constexpr double kDelay = 0.3;

    explicit BusyNotice(QString title);
    ~BusyNotice();
    BusyNotice(const BusyNotice &) = delete;
    BusyNotice &operator=(const BusyNotice &) = delete;

    /// The work began: the notice shows after kDelay unless stopped first.
    void start();
    void stop();
    bool isShown() const { return m_alert && m_alert->isVisible(); }

private:
    QString m_title;
    std::shared_ptr<ui::Timer> m_due;
    std::shared_ptr<ui::AlertView> m_alert;
};

/// The home screen's picture for this device.
Picture homePicture();

} // namespace vimora
