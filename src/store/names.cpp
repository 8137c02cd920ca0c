#include "store/names.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace vimora {

RandomSource systemRandom()
{
    return [] { return QRandomGenerator::global()->generate(); };
}

unsigned nameNumber(std::uint32_t r)
{
    return r % 9999u + 1000u;
}

QString fileNameMe(NameOwner owner, const RandomSource &random)
{
    const QChar prefix = owner == NameOwner::Editor ? QChar('D') : QChar('B');
    return prefix + QString::number(nameNumber(random())) + QStringLiteral(".jpg");
}

QString fileNameMeNoTail(const RandomSource &random)
{
    return QLatin1Char('R') + QString::number(nameNumber(random()));
}

QString freeFileName(const QString &folder, const std::function<QString()> &generate, int maxDraws)
{
    for (int i = 0; i < maxDraws; ++i) {
        const QString name = generate();
        if (!QFileInfo::exists(folder + '/' + name))
            return name;
    }
    return {};
}

} // namespace vimora
