#include "ui/transaction.h"

#include <vector>

namespace vimora::ui {

namespace {
struct Frame
{
    double duration = Transaction::kDefaultDuration;
    bool disableActions = false;
};

std::vector<Frame> &stack()
{
    static std::vector<Frame> frames{Frame{}}; // the implicit outermost transaction
    return frames;
}
} // namespace

void Transaction::begin()
{
    stack().push_back(stack().back());
}

void Transaction::commit()
{
    if (stack().size() > 1) // an unbalanced commit leaves the outermost frame alone
        stack().pop_back();
}

void Transaction::setAnimationDuration(double seconds)
{
    stack().back().duration = seconds > 0 ? seconds : kDefaultDuration;
}

double Transaction::animationDuration()
{
    return stack().back().duration;
}

void Transaction::setDisableActions(bool disable)
{
    stack().back().disableActions = disable;
}

bool Transaction::disableActions()
{
    return stack().back().disableActions;
}

} // namespace vimora::ui
