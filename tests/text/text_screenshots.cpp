// Not a test: renders the text overlay's screens into a folder for looking at
// them.

#include <QApplication>
#include <QDir>

#include "text_fixture.h"

using namespace vimora;

namespace {
void save(test::TextScreen &s, const QString &folder, const QString &name)
{
    s.host.advance(2);
    s.host.render().save(QDir(folder).filePath(name));
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    const std::pair<DeviceProfile, QString> devices[]
        = {{DeviceProfile::Tablet, "tablet"}, {DeviceProfile::Phone480, "phone-480"}};
    for (const auto &[profile, name] : devices) {
        test::TextScreen s(profile);
        s.views->cutImgView->setImage(Picture(QImage(QStringLiteral(":/nothing"))));
        s.views->mainView->setBackgroundColor(QColor(60, 70, 90));
        s.table->noteViewOpen();
        s.type(QStringLiteral("Vimora text"));
        save(s, folder, QStringLiteral("text-box-%1.png").arg(name));
        s.table->inputTextDone();
        save(s, folder, QStringLiteral("text-colour-panel-%1.png").arg(name));
        s.table->colorChoose();
        s.host.tap(test::TextScreen::centreOf(*s.table->tView()));
        save(s, folder, QStringLiteral("text-edit-panel-%1.png").arg(name));
        s.table->colorChoose();
        s.table->showWordView();
        save(s, folder, QStringLiteral("text-catalogue-%1.png").arg(name));
        s.table->smallTheButton(QStringLiteral("resultTool"));
        s.table->selectTopViewRebuild();
        save(s, folder, QStringLiteral("text-tips-%1.png").arg(name));
        s.table->drawAreaBegin();
    }
    return 0;
}
