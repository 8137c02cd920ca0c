#include "platform/property_list.h"

#include <cstring>
#include <memory>

#include <QFile>

#include <plist/plist.h>

#include "imaging/codec.h"
#include "platform/log.h"

namespace vimora {

std::optional<QStringList> readStringArrayPlist(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        logLine(QStringLiteral("property list not readable: %1").arg(path));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    plist_t root = nullptr;
    if (!bytes.isEmpty())
        plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root) {
        logLine(QStringLiteral("property list not parsable: %1").arg(path));
        return std::nullopt;
    }
    std::unique_ptr<void, decltype(&plist_free)> guard(root, &plist_free);
    if (plist_get_node_type(root) != PLIST_ARRAY) {
        logLine(QStringLiteral("property list is not an array: %1").arg(path));
        return std::nullopt;
    }
    QStringList strings;
    const uint32_t count = plist_array_get_size(root);
    for (uint32_t i = 0; i < count; ++i) {
        plist_t item = plist_array_get_item(root, i);
        if (plist_get_node_type(item) != PLIST_STRING) {
            logLine(QStringLiteral("property list entry %1 is not a string: %2").arg(i).arg(path));
            return std::nullopt;
        }
        // A binary list's UTF-16 string can hold a NUL, on which the library's copying getter
        // aborts the process; no word or name has one, so the file is damaged.
        uint64_t length = 0;
        const char *value = plist_get_string_ptr(item, &length);
        if (!value || std::memchr(value, 0, size_t(length))) {
            logLine(QStringLiteral("property list entry %1 holds a NUL: %2").arg(i).arg(path));
            return std::nullopt;
        }
        strings << QString::fromUtf8(value, qsizetype(length));
    }
    return strings;
}

bool writeStringArrayPlist(const QString &path, const QStringList &strings)
{
    plist_t root = plist_new_array();
    for (const QString &s : strings)
        plist_array_append_item(root, plist_new_string(s.toUtf8().constData()));
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    plist_free(root);
    if (!xml)
        return false;
    const QByteArray bytes(xml, int(length));
    free(xml);
    return writeFileAtomically(path, bytes);
}

} // namespace vimora
