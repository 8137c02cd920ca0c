#include "manifest.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace vimora::artwork {

namespace {
const QStringList kRoles = {"picture", "image",   "background", "stretch", "panel", "help",
                            "scene",   "mask",    "palette",    "word",    "list",  "page"};

std::optional<QSize> parseSize(const QString &text)
{
    if (text == QLatin1String("-"))
        return QSize();
    static const QRegularExpression pattern(QStringLiteral("^([1-9][0-9]{0,4})x([1-9][0-9]{0,4})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return QSize(match.captured(1).toInt(), match.captured(2).toInt());
}
} // namespace

const ManifestEntry *Manifest::find(const QString &name) const
{
    for (const ManifestEntry &entry : entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

Manifest parseManifest(const QString &text)
{
    Manifest manifest;
    QSet<QString> seen;
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        const QStringList cells = lines[i].split('\t');
        if (cells.size() != 6) {
            manifest.errors << where + QStringLiteral("expected 6 tab-separated cells, found %1").arg(cells.size());
            continue;
        }
        ManifestEntry entry{cells[0].trimmed(), {}, cells[2].trimmed(), cells[3].trimmed(), cells[4].trimmed(), cells[5].trimmed()};
        const auto size = parseSize(cells[1].trimmed());
        if (entry.name.isEmpty() || entry.name.contains(QLatin1String("..")) || entry.name.startsWith('/')) {
            manifest.errors << where + QStringLiteral("bad name '%1'").arg(entry.name);
            continue;
        }
        if (!size) {
            manifest.errors << where + QStringLiteral("bad size '%1'").arg(cells[1]);
            continue;
        }
        entry.size = *size;
        if (!kRoles.contains(entry.role)) {
            manifest.errors << where + QStringLiteral("unknown role '%1'").arg(entry.role);
            continue;
        }
        const bool sized = entry.size.isValid();
        if (sized == (entry.isList() || entry.isPage())) {
            manifest.errors << where + QStringLiteral("'%1' needs %2").arg(entry.name, sized ? "no size" : "a size");
            continue;
        }
        if (seen.contains(entry.name)) {
            manifest.errors << where + QStringLiteral("'%1' listed twice").arg(entry.name);
            continue;
        }
        seen.insert(entry.name);
        manifest.entries.push_back(entry);
    }
    return manifest;
}

std::optional<Manifest> loadManifest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseManifest(QString::fromUtf8(file.readAll()));
}

QString scaledName(const QString &name, int scale)
{
    if (scale < 2)
        return name;
    const int slash = name.lastIndexOf('/');
    const int dot = name.lastIndexOf('.');
    const QString suffix = QStringLiteral("@%1x").arg(scale);
    return dot <= slash ? name + suffix : name.left(dot) + suffix + name.mid(dot);
}

} // namespace vimora::artwork
