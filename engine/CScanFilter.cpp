#include "CScanFilter.h"

#include <QStringList>

void CScanFilter::Finalize(int32_t iComplete)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.bComplete = iComplete == 1;
}

void CScanFilter::SetMinSize(uint64_t i64Bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.i64MinSize = i64Bytes;
}

void CScanFilter::AddSuffix(const ZKChar *pszSuffix)
{
    if (!pszSuffix)
        return;
    QString suffix = QString::fromUtf16(pszSuffix).trimmed().toLower();
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (suffix.isEmpty())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.setSuffixes.insert(suffix);
}

void CScanFilter::SetFollowLinks(int32_t iFollow)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.bFollowLinks = iFollow != 0;
}

void CScanFilter::SetOriginalOnly(bool bOriginalOnly)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_options.bOriginalOnly = bOriginalOnly;
}

CScanOptions CScanFilter::options() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CScanOptions options = m_options;
    if (options.setSuffixes.isEmpty())
        options.setSuffixes = defaultSuffixes();
    return options;
}

QSet<QString> CScanFilter::defaultSuffixes()
{
    const QStringList list = QStringLiteral("jpe|jpeg|dib|webp|tif|jpg|png|heic|bmp|gif|tiff|dng").split(QLatin1Char('|'));
    return QSet<QString>(list.begin(), list.end());
}
