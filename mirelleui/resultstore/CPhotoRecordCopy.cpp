#include "CPhotoRecordCopy.h"

#include <QDir>

CPhotoRecordCopy::CPhotoRecordCopy(const PhotoRecord &record) : m_record(record)
{
    m_strPath = pathOf(record);
    repoint();
}

QString CPhotoRecordCopy::pathOf(const PhotoRecord &record)
{
    return record.pszPath ? QDir::fromNativeSeparators(QString::fromUtf16(record.pszPath)) : QString();
}

CPhotoRecordCopy::CPhotoRecordCopy(const CPhotoRecordCopy &other) : m_record(other.m_record), m_strPath(other.m_strPath)
{
    repoint();
}

CPhotoRecordCopy &CPhotoRecordCopy::operator=(const CPhotoRecordCopy &other)
{
    if (this != &other) {
        m_record = other.m_record;
        m_strPath = other.m_strPath;
        repoint();
    }
    return *this;
}

void CPhotoRecordCopy::setMarked(bool bMarked)
{
    if (bMarked)
        m_record.flags |= PhotoFlag_Marked;
    else
        m_record.flags &= uint8_t(~PhotoFlag_Marked);
}

void CPhotoRecordCopy::repoint()
{
    // The engine's path may use native separators; the copy keeps Qt's form and points at it.
    m_record.strPath = &m_strPath;
    m_record.pszPath = reinterpret_cast<const ZKChar *>(m_strPath.utf16());
}
