#include "generator.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSet>
#include <QtConcurrent/QtConcurrentMap>

#include "catalogue.h"
#include "imaging/codec.h"
#include "platform/property_list.h"
#include "platform/resources.h"
#include "style.h"

namespace vimora::artwork {

namespace {

constexpr int kPngCompression = 6;
constexpr int kJpegQuality = 92;

QByteArray encodeGreyJpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(image.convertToFormat(QImage::Format_Grayscale8)))
        return {};
    return bytes;
}

QByteArray encodeFor(const ManifestEntry &entry, const QImage &image)
{
    if (entry.name.endsWith(QLatin1String(".jpg"))) {
        if (entry.role == QLatin1String("mask"))
            return encodeGreyJpeg(image);
        return encodeJpeg(Picture(image), kJpegQuality / 100.0);
    }
    return encodePng(Picture(image), kPngCompression);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return !bytes.isEmpty() && writeFileAtomically(path, bytes);
}

bool sameFileContents(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    return fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly) && fa.readAll() == fb.readAll();
}

struct Job
{
    const ManifestEntry *entry;
    int scale;
};

} // namespace

QImage renderPicture(const ManifestEntry &entry, int scale)
{
    const auto &all = drawings();
    const auto it = all.find(entry.name);
    if (it == all.end() || !entry.isPicture())
        return {};
    QImage image(entry.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(scale, scale);
    it->second(painter, QSizeF(entry.size));
    painter.end();
    return image;
}

QStringList consistencyProblems(const Manifest &manifest)
{
    QStringList problems;
    QSet<QString> pictures;
    for (const ManifestEntry &entry : manifest.entries) {
        if (entry.isPicture()) {
            pictures.insert(entry.name);
            if (!drawings().count(entry.name))
                problems << QStringLiteral("no drawing for %1").arg(entry.name);
        } else if (entry.isList() && !propertyLists().count(entry.name.chopped(6))) {
            problems << QStringLiteral("no contents for %1").arg(entry.name);
        }
    }
    for (const auto &[name, drawing] : drawings())
        if (!manifest.find(name))
            problems << QStringLiteral("drawing %1 is not in the manifest").arg(name);
    for (const auto &[name, list] : propertyLists()) {
        if (!manifest.find(name + ".plist"))
            problems << QStringLiteral("list %1.plist is not in the manifest").arg(name);
        if (name == QLatin1String("wordE") || name == QLatin1String("ads"))
            continue;
        for (const QString &item : list)
            if (!pictures.contains(item))
                problems << QStringLiteral("%1 names %2, which is not a manifest picture").arg(name, item);
    }
    for (int i = 0; i < wordFonts().size(); ++i)
        for (const QString &name : {QStringLiteral("words/%1.png").arg(i), QStringLiteral("words/%1s.png").arg(i)})
            if (!pictures.contains(name))
                problems << QStringLiteral("word picture %1 is not in the manifest").arg(name);
    for (const QString &page : propertyLists().at("ads"))
        if (!manifest.find(page))
            problems << QStringLiteral("ads names %1, which is not a manifest page").arg(page);
    return problems;
}

QStringList missingFonts()
{
    // The font database may list a family per foundry ("C059 [urw]"); ask for the family the
    // way the screens will and see what it resolves to.
    QStringList missing;
    for (const QString &family : wordFonts())
        if (QFontInfo(QFont(family)).family().section(QStringLiteral(" ["), 0, 0) != family)
            missing << family;
    return missing;
}

QStringList generate(const Manifest &manifest, const GenerateOptions &options)
{
    QStringList problems = consistencyProblems(manifest);
    if (!problems.isEmpty())
        return problems;
    QDir().mkpath(options.outDir);

    std::vector<Job> jobs;
    for (const ManifestEntry &entry : manifest.entries)
        if (entry.isPicture())
            for (int scale : {2, 1})
                jobs.push_back({&entry, scale});
    // Largest first, so the two cores finish together.
    std::stable_sort(jobs.begin(), jobs.end(), [](const Job &a, const Job &b) {
        return qint64(a.entry->size.width()) * a.entry->size.height() * a.scale * a.scale >
               qint64(b.entry->size.width()) * b.entry->size.height() * b.scale * b.scale;
    });
    (void)drawings(); // build the registry before the workers share it
    const QList<QString> failures = QtConcurrent::blockingMapped<QList<QString>>(jobs, [&options](const Job &job) -> QString {
        const QImage image = renderPicture(*job.entry, job.scale);
        const QString path = options.outDir + '/' + scaledName(job.entry->name, job.scale);
        if (image.isNull() || !writeBytes(path, encodeFor(*job.entry, image)))
            return QStringLiteral("could not write %1").arg(path);
        if (job.scale == 1) {
            // Only pictures with captions draw differently for a small screen.
            const SmallScreenDrawing small;
            const QImage compact = renderPicture(*job.entry, 1);
            const QString compactPath = options.outDir + '/' + Resources::smallScreenName(job.entry->name);
            if (compact != image && !writeBytes(compactPath, encodeFor(*job.entry, compact)))
                return QStringLiteral("could not write %1").arg(compactPath);
        }
        return {};
    });
    for (const QString &failure : failures)
        if (!failure.isEmpty())
            problems << failure;

    for (const ManifestEntry &entry : manifest.entries) {
        const QString path = options.outDir + '/' + entry.name;
        if (entry.isList()) {
            if (!writeStringArrayPlist(path, propertyLists().at(entry.name.chopped(6))))
                problems << QStringLiteral("could not write %1").arg(path);
        } else if (entry.isPage()) {
            const QString source = options.sourceDir + '/' + entry.name;
            QFile file(source);
            if (!file.open(QIODevice::ReadOnly))
                problems << QStringLiteral("missing page %1").arg(source);
            else if (!sameFileContents(source, path) && !writeBytes(path, file.readAll()))
                problems << QStringLiteral("could not write %1").arg(path);
        }
    }
    return problems;
}

bool writeContactSheet(const Manifest &manifest, const QString &resourceDir, const QString &path)
{
    using namespace palette;
    constexpr double kWidth = 1800, kMargin = 40, kGap = 20, kCaption = 18;
    struct Cell
    {
        QString name;
        QImage image;
        QSizeF shown;
        QPointF at;
    };
    struct Section
    {
        QString group;
        std::vector<Cell> cells;
        double top = 0;
    };
    std::vector<Section> sections;
    for (const ManifestEntry &entry : manifest.entries) {
        if (!entry.isPicture())
            continue;
        if (sections.empty() || sections.back().group != entry.group)
            sections.push_back({entry.group, {}, 0});
        const QSizeF points(entry.size);
        const double longest = std::max(points.width(), points.height());
        // Small controls enlarged so they read; large pictures reduced to a common box.
        double k = longest <= 64 ? 1.5 : 1.0;
        const QSizeF box = points.width() > points.height() * 3 ? QSizeF(520, 100) : QSizeF(250, 250);
        k = std::min({k, box.width() / points.width(), box.height() / points.height()});
        sections.back().cells.push_back({entry.name, QImage(resourceDir + '/' + scaledName(entry.name, 2)), points * k, {}});
    }
    // Flow layout, one section after the other.
    double y = 120;
    for (Section &section : sections) {
        section.top = y;
        y += 44;
        double x = kMargin, rowHeight = 0;
        for (Cell &cell : section.cells) {
            const double cellWidth = std::max(cell.shown.width(), 96.0);
            if (x + cellWidth > kWidth - kMargin && x > kMargin) {
                x = kMargin;
                y += rowHeight + kCaption + kGap;
                rowHeight = 0;
            }
            cell.at = QPointF(x + (cellWidth - cell.shown.width()) / 2, y);
            x += cellWidth + kGap;
            rowHeight = std::max(rowHeight, cell.shown.height());
        }
        y += rowHeight + kCaption + kGap + 18;
    }
    const double height = y + kMargin;
    constexpr int kScale = 1;
    QImage sheet(QSize(int(kWidth), int(height)) * kScale, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    prepare(p);
    p.scale(kScale, kScale);
    QLinearGradient back(0, 0, 0, height);
    back.setColorAt(0, QColor(36, 40, 52));
    back.setColorAt(1, QColor(26, 29, 38));
    p.fillRect(QRectF(0, 0, kWidth, height), back);
    p.setPen(white);
    p.setFont(brandFont(40));
    p.drawText(QRectF(kMargin, 28, 600, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vimora"));
    p.setFont(uiFont(16, QFont::Normal));
    p.setPen(withAlpha(white, 170));
    int count = 0;
    for (const Section &section : sections)
        count += int(section.cells.size());
    p.drawText(QRectF(kMargin, 74, 1000, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Artwork: %1 pictures, each drawn at scale 1 and 2 by tools/artwork").arg(count));
    QImage checker(16, 16, QImage::Format_RGB32);
    checker.fill(QColor(64, 70, 84));
    for (int yy = 0; yy < 8; ++yy)
        for (int xx = 0; xx < 8; ++xx) {
            checker.setPixel(xx, yy, QColor(78, 85, 100).rgb());
            checker.setPixel(xx + 8, yy + 8, QColor(78, 85, 100).rgb());
        }
    bool complete = true;
    for (const Section &section : sections) {
        p.setFont(uiFont(18));
        p.setPen(white);
        p.drawText(QRectF(kMargin, section.top, 600, 28), Qt::AlignLeft | Qt::AlignVCenter, section.group.toUpper());
        QLinearGradient rule(kMargin, 0, kMargin + 120, 0);
        rule.setColorAt(0, violet);
        rule.setColorAt(1, coral);
        p.fillRect(QRectF(kMargin, section.top + 30, 120, 2), rule);
        for (const Cell &cell : section.cells) {
            const QRectF frame(cell.at, cell.shown);
            p.fillRect(frame, QBrush(checker));
            if (cell.image.isNull()) {
                complete = false;
                p.fillRect(frame, rose);
            } else {
                // A smooth reduction first: thin lines of large pictures survive the shrink.
                p.drawImage(frame, cell.image.scaled((cell.shown * kScale).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
            }
            drawFittedText(p, QRectF(frame.center().x() - 60, frame.bottom() + 3, 120, kCaption - 4), cell.name,
                           uiFont(10.5, QFont::Normal), withAlpha(white, 170), Qt::AlignCenter, 7);
        }
    }
    p.end();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeBytes(path, encodePng(Picture(sheet), 9)) && complete;
}

} // namespace vimora::artwork
