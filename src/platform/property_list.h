#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace vimora {

/// Reads a property-list file (XML or binary) holding an array of strings. None, with a log
/// line, when the file is missing, unparsable or not an array of strings.
std::optional<QStringList> readStringArrayPlist(const QString &path);

/// Writes an array of strings as an XML property list (used by the artwork generator).
bool writeStringArrayPlist(const QString &path, const QStringList &strings);

} // namespace vimora
