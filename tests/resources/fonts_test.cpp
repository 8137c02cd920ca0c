// The fonts the word list and the screens name come from packages the set-up installs,
// so a fresh machine draws the same words as the one the artwork was made on.
#include <map>

#include <QFile>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include "platform/resources.h"

namespace vimora {
namespace {

// family -> package, from the set-up's package list ("package: Family, Family").
std::map<QString, QString> listedFamilies()
{
    std::map<QString, QString> families;
    QFile file(QStringLiteral(VIMORA_PACKAGE_LIST));
    if (!file.open(QIODevice::ReadOnly))
        return families;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).section('#', 0, 0).trimmed();
        const int colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QString package = line.left(colon).trimmed();
        for (const QString &family : line.mid(colon + 1).split(',', Qt::SkipEmptyParts))
            families[family.trimmed()] = package;
    }
    return families;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

TEST(Fonts, EveryNamedFamilyIsInstalledFromAListedPackage)
{
    const std::map<QString, QString> listed = listedFamilies();
    ASSERT_FALSE(listed.empty()) << VIMORA_PACKAGE_LIST;

    // The families the interface and the artwork draw with directly.
    QStringList named = {QStringLiteral("Liberation Sans"), QStringLiteral("URW Gothic"),
                         QStringLiteral("DejaVu Sans Mono")};
    const QStringList words = Resources::stringArray("wordE");
    ASSERT_FALSE(words.isEmpty());
    named += words;
    for (const QString &family : named)
        EXPECT_TRUE(listed.count(family)) << "no package listed for " << qPrintable(family);

    std::map<QString, QString> fileOfFamily;
    for (const auto &[family, package] : listed) {
        const QString resolved = run("fc-match", {"-f", "%{family[0]}\n%{file}", family});
        EXPECT_EQ(resolved.section('\n', 0, 0), family) << "not installed: " << qPrintable(family);
        fileOfFamily[family] = resolved.section('\n', 1);
    }
    // One package query for all files: "package: /path" a line.
    QStringList files;
    for (const auto &entry : fileOfFamily)
        files << entry.second;
    std::map<QString, QString> owners;
    for (const QString &line : run("dpkg", QStringList{"-S"} + files).split('\n'))
        owners[line.section(": ", 1)] = line.section(':', 0, 0);
    for (const auto &[family, file] : fileOfFamily)
        EXPECT_EQ(owners[file], listed.at(family)) << qPrintable(family) << " comes from " << qPrintable(file);
}

} // namespace
} // namespace vimora
