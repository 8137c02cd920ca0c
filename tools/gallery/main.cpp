// vimora-gallery: the toolkit's controls, a transformed tree, transitions and alerts in a
// real window.
//
//   vimora-gallery [--device tablet|phone-568|phone-480] [--landscape]
//                  [--alert | --processing] [--screenshot FILE [--delay MS]]
//                  [--transition-sheet FILE]
//                  [--page text|table [--staged] [--popover]]
//
// --page shows the text-entry page or the table, search and navigation page instead;
// --staged puts it into the state of its screenshot, --popover opens the table page's popover.
// --screenshot grabs the window from the screen after the delay and quits;
// --transition-sheet draws every transition at five moments into one picture and quits.


#include <iterator>
#include <memory>

#include <QApplication>
#include <QCommandLineParser>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "entry_page.h"
#include "gallery_art.h"
#include "gallery_screen.h"
#include "ui/theme.h"
#include "ui/transition.h"
#include "ui/window_host.h"

using namespace vimora;

namespace {

int writeTransitionSheet(const QString &path)
{
    using ui::TransitionSubtype;
    using ui::TransitionType;
    const QImage before = gallery::landscapePhoto(320, 200, 0).bitmap();
    const QImage after = gallery::landscapePhoto(320, 200, 1).bitmap();
    struct Row
    {
        const char *name;
        TransitionType type;
        TransitionSubtype subtype;
    };
    const Row kinds[] = {
        {"Fade", TransitionType::Fade, TransitionSubtype::FromRight},
        {"Move in", TransitionType::MoveIn, TransitionSubtype::FromRight},
        {"Push", TransitionType::Push, TransitionSubtype::FromRight},
        {"Reveal", TransitionType::Reveal, TransitionSubtype::FromRight},
        {"Cube", TransitionType::Cube, TransitionSubtype::FromRight},
        {"Cube (top)", TransitionType::Cube, TransitionSubtype::FromTop},
        {"Ripple", TransitionType::Ripple, TransitionSubtype::FromRight},
        {"Suck", TransitionType::Suck, TransitionSubtype::FromRight},
    };
    const int rows = int(std::size(kinds));
    const double progress[] = {0.0, 0.25, 0.5, 0.75, 1.0};
    const int cellW = 200, cellH = 125, gap = 10, labelW = 90, top = 30;
    QImage sheet(labelW + 5 * (cellW + gap) + gap, top + rows * (cellH + gap) + gap, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(22, 26, 36));
    QPainter p(&sheet);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    p.setPen(QColor(220, 226, 236));
    p.setFont(ui::Theme::systemFont(14, true));
    for (int c = 0; c < 5; ++c)
        p.drawText(QRectF(labelW + gap + c * (cellW + gap), 4, cellW, top - 8), Qt::AlignCenter,
                   QStringLiteral("t = %1").arg(progress[c]));
    int row = 0;
    for (const auto &[name, type, subtype] : kinds) {
        const double y = top + gap + row * (cellH + gap);
        p.setPen(QColor(220, 226, 236));
        p.drawText(QRectF(6, y, labelW - 10, cellH), Qt::AlignVCenter | Qt::AlignLeft, QString::fromLatin1(name));
        for (int c = 0; c < 5; ++c) {
            const QRectF cell(labelW + gap + c * (cellW + gap), y, cellW, cellH);
            p.save();
            p.setClipRect(cell.adjusted(-12, -6, 12, 6));
            ui::Transition::drawFrame(p, type, subtype, before, after, cell, progress[c]);
            p.restore();
        }
        ++row;
    }
    p.end();
    return sheet.save(path) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vimora-gallery"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The Vimora view toolkit gallery"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("device"), QStringLiteral("tablet, phone-568 or phone-480"), QStringLiteral("name")});
    parser.addOption({QStringLiteral("landscape"), QStringLiteral("Start a tablet turned")});
    parser.addOption({QStringLiteral("alert"), QStringLiteral("Open the three-button alert at start")});
    parser.addOption({QStringLiteral("processing"), QStringLiteral("Open the processing alert at start")});
    parser.addOption({QStringLiteral("screenshot"), QStringLiteral("Grab the window into a file and quit"), QStringLiteral("file")});
    parser.addOption({QStringLiteral("delay"), QStringLiteral("Milliseconds before the screenshot"), QStringLiteral("ms"),
                      QStringLiteral("1500")});
    parser.addOption({QStringLiteral("transition-sheet"), QStringLiteral("Draw every transition into a file and quit"),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("page"), QStringLiteral("Show a page: text or table"), QStringLiteral("name")});
    parser.addOption({QStringLiteral("staged"), QStringLiteral("Put the page into its screenshot's state")});
    parser.addOption({QStringLiteral("popover"), QStringLiteral("Open the table page's popover")});
    parser.process(app);

    if (parser.isSet(QStringLiteral("transition-sheet")))
        return writeTransitionSheet(parser.value(QStringLiteral("transition-sheet")));

    const ui::DeviceProfile profile =
        ui::deviceProfileNamed(parser.value(QStringLiteral("device"))).value_or(ui::DeviceProfile::Tablet);
    gallery::GalleryScreen screen;
    const std::unique_ptr<gallery::EntryPage> page = gallery::EntryPage::named(parser.value(QStringLiteral("page")));
    auto build = [&](QSizeF size) {
        if (page)
            page->build(size);
        else
            screen.build(size);
    };
    ui::WindowHost host(profile, page ? page->rootView() : screen.rootView());
    host.setTitle(QStringLiteral("Vimora gallery (%1)").arg(ui::deviceProfileName(profile)));
    host.setOrientationHandler([&](bool) { build(host.screenSize()); });
    build(host.screenSize());
    if (parser.isSet(QStringLiteral("landscape")))
        host.setLandscape(true);
    host.show();
    if (page && parser.isSet(QStringLiteral("staged")))
        page->stage();
    if (page && parser.isSet(QStringLiteral("popover")))
        page->showPopover();
    if (parser.isSet(QStringLiteral("alert")))
        screen.showChoiceAlert();
    if (parser.isSet(QStringLiteral("processing")))
        screen.showProcessingAlert();

    if (parser.isSet(QStringLiteral("screenshot"))) {
        const QString file = parser.value(QStringLiteral("screenshot"));
        QTimer::singleShot(parser.value(QStringLiteral("delay")).toInt(), &app, [&host, file]() {
            QWidget *window = host.widget();
            const QPixmap shot = window->screen()->grabWindow(window->winId());
            QApplication::exit(shot.save(file) ? 0 : 1);
        });
    }
    return QApplication::exec();
}
