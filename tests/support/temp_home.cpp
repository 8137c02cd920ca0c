#include "support/temp_home.h"

#include "platform/app_home.h"

namespace vimora::test {

TempHome::TempHome()
{
    AppHome::setRoot(m_dir.path());
}

} // namespace vimora::test
