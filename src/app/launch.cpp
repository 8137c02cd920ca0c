#include "app/launch.h"

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <optional>

#include <QApplication>
#include <QScreen>

#include "app/application_shell.h"
#include "app/command_line.h"
#include "platform/app_home.h"
#include "platform/log.h"

namespace vimora {

namespace {
// Qt aborts when it cannot reach a display; without one, the command line still gets answers.
bool displayReachable()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
           || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Prints what the command line asks for instead of running; returns the exit code, or
// nothing when the application should run.
std::optional<int> answerCommandLine(const CommandLine &line)
{
    if (!line.error().isEmpty()) {
        std::fprintf(stderr, "vimora: %s\nTry vimora --help.\n", qPrintable(line.error()));
        return 2;
    }
    if (line.helpRequested()) {
        std::fputs(qPrintable(line.helpText()), stdout);
        return 0;
    }
    return std::nullopt;
}
} // namespace

QString logFileIn(const QString &home)
{
    return home + QStringLiteral("/vimora.log");
}

void startLogging(bool verbose)
{
    setLogToStandardError(verbose);
    AppHome::ensureFolders();
    const QString path = logFileIn(AppHome::root());
    // Without a log file and without --verbose a failure would go unseen: say it once.
    if (!setLogFile(path) && !verbose)
        std::fprintf(stderr, "vimora: cannot write the log file %s\n", qPrintable(path));
    routeQtMessagesToLog();
}

void keepPictureMemory()
{
#if defined(__GLIBC__)
    // Blocks up to 32 MB (the largest the heap serves) come from the heap rather than from
    // fresh mappings; up to 192 MB freed at its top stay for reuse. Fresh pages cost far
    // more than the pixels written into them on some kernels and sandboxes.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 192 << 20);
#endif
}

int runApplication(int argc, char **argv)
{
    keepPictureMemory();
    if (!displayReachable()) {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        if (const std::optional<int> code = answerCommandLine(CommandLine::parse(arguments, std::nullopt)))
            return *code;
        std::fputs("vimora: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset); "
                   "start it in a virtual display, for example xvfb-run -a vimora\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vimora"));
    // Ties the window to its desktop entry (the Wayland app id, the dock's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral(VIMORA_APP_ID));
    std::optional<QSizeF> screenPoints;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        screenPoints = QSizeF(screen->geometry().size());
    const CommandLine line = CommandLine::parse(QApplication::arguments(), screenPoints);
    if (const std::optional<int> code = answerCommandLine(line))
        return *code;
    startLogging(line.verbose());
    ApplicationShell shell(line.deviceProfile());
    shell.show();
    shell.openPhotos(line.photos());
    return app.exec();
}

} // namespace vimora
