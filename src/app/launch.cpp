#include "app/launch.h"

#include <cstdio>

#include <QApplication>
#include <QScreen>

#include "app/application_shell.h"
#include "app/command_line.h"

namespace vimora {

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vimora"));
    std::optional<QSizeF> screenPoints;
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        screenPoints = QSizeF(screen->geometry().size());
    const CommandLine line = CommandLine::parse(QApplication::arguments(), screenPoints);
    if (!line.error().isEmpty()) {
        std::fprintf(stderr, "vimora: %s\nTry vimora --help.\n", qPrintable(line.error()));
        return 2;
    }
    if (line.helpRequested()) {
        std::fputs(qPrintable(line.helpText()), stdout);
        return 0;
    }
    ApplicationShell shell(line.deviceProfile());
    shell.show();
    return app.exec();
}

} // namespace vimora
