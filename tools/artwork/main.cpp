// vimora-artwork: draws every picture of resources/manifest.tsv into the resource folder, writes
// the property lists and copies the guide pages; optionally composes a contact sheet.
#include <cstdio>

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include "app_icon.h"
#include "generator.h"
#include "manifest.h"

using namespace vimora::artwork;

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws Vimora's artwork and resource lists."));
    parser.addHelpOption();
    const QCommandLineOption manifestOption("manifest", "The manifest (resources/manifest.tsv).", "file",
                                            QStringLiteral(VIMORA_SOURCE_DIR "/resources/manifest.tsv"));
    const QCommandLineOption sourceOption("source", "The source resources folder (guide pages).", "dir",
                                          QStringLiteral(VIMORA_SOURCE_DIR "/resources"));
    const QCommandLineOption outOption("out", "The resource folder to fill.", "dir", QStringLiteral(VIMORA_RESOURCE_DIR));
    const QCommandLineOption sheetOption("contact-sheet", "Also write a contact sheet of every picture.", "png");
    const QCommandLineOption stampOption("stamp", "Touch this file when everything was written.", "file");
    const QCommandLineOption iconsOption("icons", "Only draw the application icon into DIR/hicolor, every size and scalable.", "dir");
    const QCommandLineOption iconNameOption("icon-name", "The icon's file name without extension.", "name",
                                            QStringLiteral("vimora"));
    parser.addOptions({manifestOption, sourceOption, outOption, sheetOption, stampOption, iconsOption, iconNameOption});
    parser.process(app);

    if (parser.isSet(iconsOption)) {
        const QStringList problems = writeAppIcons(parser.value(iconsOption), parser.value(iconNameOption));
        for (const QString &problem : problems)
            std::fprintf(stderr, "vimora-artwork: %s\n", qPrintable(problem));
        return problems.isEmpty() ? 0 : 1;
    }

    QElapsedTimer timer;
    timer.start();
    const auto manifest = loadManifest(parser.value(manifestOption));
    if (!manifest) {
        std::fprintf(stderr, "vimora-artwork: cannot read %s\n", qPrintable(parser.value(manifestOption)));
        return 1;
    }
    for (const QString &error : manifest->errors)
        std::fprintf(stderr, "vimora-artwork: manifest %s\n", qPrintable(error));
    if (!manifest->errors.isEmpty())
        return 1;

    for (const QString &family : missingFonts())
        std::fprintf(stderr, "vimora-artwork: warning: font family %s is not installed (run scripts/setup)\n", qPrintable(family));
    const QString out = parser.value(outOption);
    const QStringList problems = generate(*manifest, {out, parser.value(sourceOption)});
    for (const QString &problem : problems)
        std::fprintf(stderr, "vimora-artwork: %s\n", qPrintable(problem));
    if (!problems.isEmpty())
        return 1;
    if (parser.isSet(sheetOption) && !writeContactSheet(*manifest, out, parser.value(sheetOption))) {
        std::fprintf(stderr, "vimora-artwork: contact sheet incomplete: %s\n", qPrintable(parser.value(sheetOption)));
        return 1;
    }
    if (parser.isSet(stampOption)) {
        QFile stamp(parser.value(stampOption));
        if (!stamp.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        stamp.write(QByteArray::number(timer.elapsed()) + " ms\n");
    }
    std::printf("vimora-artwork: %zu resources into %s in %.1f s\n", manifest->entries.size(), qPrintable(out),
                timer.elapsed() / 1000.0);
    return 0;
}
