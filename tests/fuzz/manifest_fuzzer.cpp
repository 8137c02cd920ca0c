// The artwork manifest's parser on any text: every row is kept whole or named in an error.
#include <QSet>

#include "fuzz_support.h"
#include "manifest.h"

using namespace vimora;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::initialise(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const artwork::Manifest manifest = artwork::parseManifest(text);
    qsizetype rows = 0;
    for (const QString &line : text.split('\n'))
        if (!line.trimmed().isEmpty() && !line.trimmed().startsWith('#'))
            ++rows;
    fuzz::check(qsizetype(manifest.entries.size()) + manifest.errors.size() == rows,
                "every row is an entry or an error");
    QSet<QString> names;
    for (const artwork::ManifestEntry &entry : manifest.entries) {
        fuzz::check(!entry.name.isEmpty() && !entry.name.startsWith('/') && !entry.name.contains(QLatin1String("..")),
                    "an entry's name stays inside the resource folder");
        fuzz::check(entry.isPicture() != (entry.isList() || entry.isPage()), "pictures have a size, lists and pages none");
        fuzz::check(!entry.isPicture() || (entry.size.width() > 0 && entry.size.height() > 0), "a size is positive");
        fuzz::check(!names.contains(entry.name), "no name is listed twice");
        names.insert(entry.name);
        fuzz::check(manifest.find(entry.name) == &entry, "find gives the entry of its name");
        const QString twice = artwork::scaledName(entry.name, 2);
        fuzz::check(twice.size() == entry.name.size() + 3 && twice.contains(QLatin1String("@2x")), "the @2x name adds @2x");
    }
    return 0;
}
