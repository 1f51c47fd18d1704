#include "CReportFile.h"

#include <cerrno>

bool CReportFile::open()
{
    return m_file.open(QIODevice::WriteOnly) || fail();
}

bool CReportFile::write(const QByteArray &arrData)
{
    return m_file.write(arrData) == arrData.size() || fail();
}

bool CReportFile::commit()
{
    // QSaveFile::commit() misses a buffered write that failed on the way, and a failed flush
    // leaves only "Unknown error" in errorString(): errno still holds the reason.
    errno = 0;
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError) {
        const int iErrno = errno;
        m_strReason = iErrno != 0 ? qt_error_string(iErrno) : m_file.errorString();
        m_file.cancelWriting();
        return false;
    }
    return m_file.commit() || fail();
}

bool CReportFile::fail()
{
    m_strReason = m_file.errorString();
    return false;
}

bool CReportFile::writeWhole(const QString &strPath, const QByteArray &arrData, QString *pStrReason)
{
    CReportFile file(strPath);
    if (file.open() && file.write(arrData) && file.commit())
        return true;
    file.cancel();
    *pStrReason = file.reason();
    return false;
}
