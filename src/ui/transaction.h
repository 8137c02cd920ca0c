#pragma once

namespace vimora::ui {

/// Animation transactions: begin, set a duration and whether implicit actions are off,
/// commit. The toolkit has no implicit property animations (setting a property changes the
/// screen at once), so "disable actions" only records the wish; the duration is what a
/// transition added with duration 0 inherits (0.25 s outside any transaction).
class Transaction
{
public:
    static void begin();
    static void commit();

    static void setAnimationDuration(double seconds);
    static double animationDuration();
    static void setDisableActions(bool disable);
    static bool disableActions();

    static constexpr double kDefaultDuration = 0.25;
};

} // namespace vimora::ui
