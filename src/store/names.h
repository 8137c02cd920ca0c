#pragma once

#include <cstdint>
#include <functional>

#include <QString>

namespace vimora {

enum class NameOwner { Editor, Compositor };

/// A uniform 32-bit draw; tests pass their own.
using RandomSource = std::function<std::uint32_t()>;
RandomSource systemRandom();

/// r mod 9999 + 1000: 1000..10998.
unsigned nameNumber(std::uint32_t r);

/// "D" (editor) or "B" (compositor) + number + ".jpg".
QString fileNameMe(NameOwner owner, const RandomSource &random = systemRandom());
/// "R" + number, no extension.
QString fileNameMeNoTail(const RandomSource &random = systemRandom());

/// A generated name not yet taken in folder: draws again (at most maxDraws times) while a
/// file of that name exists, so a new picture never overwrites an earlier one. Empty when
/// every draw collided.
QString freeFileName(const QString &folder, const std::function<QString()> &generate, int maxDraws = 1000);

} // namespace vimora
