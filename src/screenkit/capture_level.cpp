#include "screenkit/capture_level.h"

#include <algorithm>
#include <cmath>

namespace vimora {

double captureLevelScale(int level, ui::DeviceProfile profile)
{
    // Levels beyond this range would only ask for pictures too large to hold.
    level = std::clamp(level, kLowestCaptureLevel, kHighestCaptureLevel);
    if (profile == ui::DeviceProfile::Tablet)
        return std::pow(2.0, std::abs(level - 2));
    if (level > 2)
        return 1.0;
    return std::pow(2.0, 3 - level);
}

} // namespace vimora
