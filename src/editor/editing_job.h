#pragma once

// The editing job: the photos the editor was started on, as files in the temporary directory.
// Photo 0 is the one being edited.

#include <QStringList>

#include "imaging/picture.h"

namespace vimora {

class EditingJob
{
public:
    void start(const QStringList &photoNames, const QStringList &thumbNames)
    {
        m_photoNames = photoNames;
        m_thumbNames = thumbNames;
    }
    /// Every file of tmp/ the job was started on.
    QStringList files() const { return m_photoNames + m_thumbNames; }
    QStringList photoNames() const { return m_photoNames; }
    QStringList thumbNames() const { return m_thumbNames; }
    bool isEmpty() const { return m_photoNames.isEmpty(); }
    QString photoName() const { return m_photoNames.value(0); }
    /// Photo 0 as it is on disk now; none when the job is empty or the file cannot be read.
    Picture readPhoto() const;

private:
    QStringList m_photoNames;
    QStringList m_thumbNames;
};

} // namespace vimora
