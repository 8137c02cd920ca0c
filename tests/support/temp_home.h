#pragma once

#include <QTemporaryDir>

namespace vimora::test {

/// A throw-away application home for the life of the object.
class TempHome
{
public:
    TempHome();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace vimora::test
