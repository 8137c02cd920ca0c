#include "app/launch.h"

#include <QApplication>

#include "app/application_shell.h"

namespace vimora {

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vimora"));
    ApplicationShell shell(ui::deviceProfileFromArguments(QApplication::arguments()));
    shell.show();
    return app.exec();
}

} // namespace vimora
