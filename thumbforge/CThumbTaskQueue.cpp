#include "CThumbTaskQueue.h"

QString CThumbTaskQueue::keyOf(const CThumbRequest &request)
{
    return QString::number(request.group) + QLatin1Char('\n') + request.path;
}

void CThumbTaskQueue::pushThumb(const CThumbRequest &request, bool bFront)
{
    const QString strKey = keyOf(request);
    const auto it = m_mapThumbs.constFind(strKey);
    if (it != m_mapThumbs.constEnd()) {
        if (bFront)
            m_listThumbs.splice(m_listThumbs.begin(), m_listThumbs, it.value());
        return;
    }
    const auto pos = bFront ? m_listThumbs.insert(m_listThumbs.begin(), request)
                            : m_listThumbs.insert(m_listThumbs.end(), request);
    m_mapThumbs.insert(strKey, pos);
}

void CThumbTaskQueue::setReserved(const QList<CThumbRequest> &listRequests)
{
    m_listReserved.assign(listRequests.cbegin(), listRequests.cend());
}

QList<CThumbRequest> CThumbTaskQueue::takeReserved()
{
    QList<CThumbRequest> listRequests(m_listReserved.cbegin(), m_listReserved.cend());
    m_listReserved.clear();
    return listRequests;
}

void CThumbTaskQueue::pushBigImage(const QVariant &group, const QString &strPath)
{
    m_listBig.push_back(CThumbJob{EnThumbJobKind::BigImage, group, strPath});
}

bool CThumbTaskQueue::take(CThumbJob &job, bool bSkipBig)
{
    if (!m_listBig.empty() && !bSkipBig) {
        job = m_listBig.front();
        m_listBig.pop_front();
        return true;
    }
    if (!m_listReserved.empty()) {
        const CThumbRequest &request = m_listReserved.front();
        job = CThumbJob{EnThumbJobKind::Reserved, QVariant::fromValue(request.group), request.path};
        m_listReserved.pop_front();
        return true;
    }
    if (!m_listThumbs.empty()) {
        const CThumbRequest &request = m_listThumbs.front();
        job = CThumbJob{EnThumbJobKind::Thumb, QVariant::fromValue(request.group), request.path};
        m_mapThumbs.remove(keyOf(request));
        m_listThumbs.pop_front();
        return true;
    }
    return false;
}

void CThumbTaskQueue::clearThumbs()
{
    m_listReserved.clear();
    m_listThumbs.clear();
    m_mapThumbs.clear();
}

void CThumbTaskQueue::clear()
{
    clearThumbs();
    m_listBig.clear();
}

int CThumbTaskQueue::size() const
{
    return static_cast<int>(m_listBig.size() + m_listReserved.size() + m_listThumbs.size());
}
