#include "CScanVolume.h"

#include "CPlatform.h"
#include "IVolumes.h"

CScanVolume::CScanVolume(QString strRoot) : m_strRoot(std::move(strRoot)) {}

void CScanVolume::Prepare()
{
    m_iState = 1;
}

int32_t CScanVolume::IsReady()
{
    return 1;
}

const ZKChar *CScanVolume::GetRootPath()
{
    return reinterpret_cast<const ZKChar *>(m_strRoot.utf16());
}

void CScanVolume::AddPath(const ZKChar *pszRelativePath)
{
    const QString relative = pszRelativePath ? QString::fromUtf16(pszRelativePath) : QString();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_listRelative.contains(relative))
        m_listRelative.append(relative);
}

void CScanVolume::ClearPaths()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listRelative.clear();
    m_iState = 0;
}

QStringList CScanVolume::absolutePaths() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QStringList list;
    for (const QString &relative : m_listRelative)
        list.append(dp::platform::volumes().joinRoot(m_strRoot, relative));
    return list;
}
