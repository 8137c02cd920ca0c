#include "app/command_line.h"

#include <algorithm>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QUrl>

#include "platform/device.h"

namespace vimora {

namespace {
const ui::DeviceProfile kProfiles[] = {ui::DeviceProfile::Tablet, ui::DeviceProfile::Phone568, ui::DeviceProfile::Phone480};

QString profileNames()
{
    QStringList names;
    for (ui::DeviceProfile p : kProfiles)
        names << ui::deviceProfileName(p);
    return names.join(QStringLiteral(", "));
}
} // namespace

ProfileChoice profileForScreen(std::optional<QSizeF> screenPoints)
{
    if (!screenPoints || screenPoints->isEmpty())
        return {ui::DeviceProfile::Tablet, QStringLiteral("tablet, as there is no screen to measure")};
    const double shorter = std::min(screenPoints->width(), screenPoints->height());
    const double taller = std::max(screenPoints->width(), screenPoints->height());
    const QString size = QStringLiteral("%1 x %2 points").arg(screenPoints->width()).arg(screenPoints->height());
    const bool phone = shorter <= CommandLine::kPhoneWidestSide;
    const ui::DeviceProfile profile = classifyDevice(!phone, taller);
    switch (profile) {
    case ui::DeviceProfile::Tablet:
        return {profile, QStringLiteral("tablet, as the screen (%1) is larger than a phone's").arg(size)};
    case ui::DeviceProfile::Phone568:
        return {profile, QStringLiteral("phone-568, as the screen (%1) is a phone's, 568 points tall").arg(size)};
    case ui::DeviceProfile::Phone480:
        break;
    }
    return {profile, QStringLiteral("phone-480, as the screen (%1) is a phone's not 568 points tall").arg(size)};
}

CommandLine CommandLine::parse(const QStringList &arguments, std::optional<QSizeF> screenPoints)
{
    CommandLine line;
    const ProfileChoice fromScreen = profileForScreen(screenPoints);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vimora: cut a piece out of a photo, shatter, recolour, blend and distort it, frame it and "
                       "save it to the album. The first PHOTO given opens in the editor.\n\nWithout --device the profile "
                       "follows the screen.\nThis screen gives: %1.")
            .arg(fromScreen.reason));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption device(QStringLiteral("device"),
                                    QStringLiteral("The device profile to lay the screens out for: %1.").arg(profileNames()),
                                    QStringLiteral("name"));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Also write the log lines to the terminal (they always go to vimora.log "
                                                    "in the application home)."));
    parser.addOption(help);
    parser.addOption(device);
    parser.addOption(verbose);
    parser.addPositionalArgument(QStringLiteral("PHOTO"), QStringLiteral("A photo to open in the editor (JPEG, PNG, WebP, TIFF, BMP)."),
                                 QStringLiteral("[PHOTO...]"));
    // The usage line names the program as installed, whether or not Qt has started.
    const QString text = parser.helpText();
    line.m_helpText = QStringLiteral("Usage: vimora [options] [PHOTO...]") + text.mid(text.indexOf(QLatin1Char('\n')));
    line.m_choice = fromScreen;

    if (!parser.parse(arguments)) {
        line.m_error = parser.errorText();
        return line;
    }
    for (const QString &given : parser.positionalArguments()) {
        const QUrl url(given);
        QString path = url.isLocalFile() ? url.toLocalFile() : given;
        if (!url.isLocalFile() && given.contains(QStringLiteral("://")) && !QFileInfo::exists(given)) {
            // A web address: only files open, and the intake's alert would not say why.
            line.m_error = QStringLiteral("Not a file: %1").arg(given);
            return line;
        }
        if (path.isEmpty()) {
            line.m_error = QStringLiteral("An empty photo name was given.");
            return line;
        }
        line.m_photos << QFileInfo(path).absoluteFilePath();
    }
    line.m_help = parser.isSet(help);
    line.m_verbose = parser.isSet(verbose);
    if (parser.isSet(device)) {
        const QString name = parser.value(device);
        const std::optional<ui::DeviceProfile> named = ui::deviceProfileNamed(name);
        if (!named) {
            line.m_error = QStringLiteral("Unknown device profile \"%1\": the profiles are %2.").arg(name, profileNames());
            return line;
        }
        line.m_choice = {*named, QStringLiteral("%1, as --device asks").arg(name)};
    }
    return line;
}

} // namespace vimora
