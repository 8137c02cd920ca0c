#pragma once

#include <optional>
#include <vector>

#include <QSize>
#include <QString>
#include <QStringList>

namespace vimora::artwork {

/// One row of resources/manifest.tsv.
struct ManifestEntry
{
    QString name;  ///< lookup name, e.g. "longBtn.png", "words/3s.png", "frameE.plist"
    QSize size;    ///< size in points; invalid for lists and pages
    QString group; ///< contact-sheet section
    QString role;  ///< picture, image, background, stretch, panel, help, scene, mask, palette, word, list, page
    QString used;
    QString shows;

    bool isPicture() const { return size.isValid(); }
    bool isList() const { return role == QLatin1String("list"); }
    bool isPage() const { return role == QLatin1String("page"); }
};

struct Manifest
{
    std::vector<ManifestEntry> entries;
    QStringList errors; ///< one line per malformed row; an entry is kept only when it is whole

    const ManifestEntry *find(const QString &name) const;
};

/// Parses the tab-separated manifest; '#' lines and blank lines are skipped.
Manifest parseManifest(const QString &text);
/// Reads and parses a manifest file; none when the file cannot be read.
std::optional<Manifest> loadManifest(const QString &path);

/// "name@2x.ext" for a scale-2 drawing, the convention of the resource lookup.
QString scaledName(const QString &name, int scale);

} // namespace vimora::artwork
