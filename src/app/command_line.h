#pragma once

// The command line, read once at start: every option the application takes is declared here.

#include <optional>

#include <QSizeF>
#include <QString>
#include <QStringList>

#include "ui/device_profile.h"

namespace vimora {

/// A profile chosen for a screen, with the reason in words for --help.
struct ProfileChoice
{
    ui::DeviceProfile profile = ui::DeviceProfile::Tablet;
    QString reason;
};

/// The profile for a screen of this size in points when none is named. A screen more than
/// kPhoneWidestSide points across both ways is a tablet's or a desktop's; a phone screen
/// 568 points tall is phone-568 and any other phone phone-480. No screen: the tablet.
ProfileChoice profileForScreen(std::optional<QSizeF> screenPoints);

class CommandLine
{
public:
    /// Phones are at most this many points on their shorter side.
    static constexpr double kPhoneWidestSide = 480;

    /// Reads arguments (the program name first); screenPoints is the screen the window opens
    /// on, for the default profile.
    static CommandLine parse(const QStringList &arguments, std::optional<QSizeF> screenPoints);

    /// Empty when the arguments are sound; otherwise what is wrong, for the user.
    QString error() const { return m_error; }
    bool helpRequested() const { return m_help; }
    /// The usage, the profile the window would use and why.
    QString helpText() const { return m_helpText; }

    ui::DeviceProfile deviceProfile() const { return m_choice.profile; }
    /// Why that profile: named on the command line, or what the screen is.
    QString deviceReason() const { return m_choice.reason; }
    /// --verbose: the log lines go to standard error as well as to the log file.
    bool verbose() const { return m_verbose; }
    /// The photo files named after the options, made absolute, in order: the first opens in
    /// the editor. A file manager passes them as local paths or file: addresses.
    QStringList photos() const { return m_photos; }

private:
    QString m_error;
    bool m_help = false;
    bool m_verbose = false;
    QString m_helpText;
    QStringList m_photos;
    ProfileChoice m_choice;
};

} // namespace vimora
