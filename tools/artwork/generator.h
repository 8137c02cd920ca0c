#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include "manifest.h"

namespace vimora::artwork {

/// Draws one manifest picture at a scale (1 or 2); a null image for an unknown name.
QImage renderPicture(const ManifestEntry &entry, int scale);

/// Names the manifest and the drawing code disagree on, one line each (empty when they agree):
/// pictures without a drawing, drawings without a row, lists whose entries are not resources.
QStringList consistencyProblems(const Manifest &manifest);

/// Families of "wordE" that fontconfig does not know (their word art falls back to another font).
QStringList missingFonts();

struct GenerateOptions
{
    QString outDir;    ///< the resource folder to fill
    QString sourceDir; ///< the source resources/ folder (guide pages are copied from it)
};

/// Writes every entry of the manifest: pictures at scale 1 and 2, property lists, pages.
/// Returns the problems met (empty on success).
QStringList generate(const Manifest &manifest, const GenerateOptions &options);

/// One PNG showing every generated picture by group, read back from the resource folder.
bool writeContactSheet(const Manifest &manifest, const QString &resourceDir, const QString &path);

} // namespace vimora::artwork
