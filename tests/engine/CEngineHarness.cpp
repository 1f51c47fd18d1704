#include "CEngineHarness.h"

#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QMutexLocker>
#include <QTextStream>

QString fileNameOf(const PhotoRecord *pRecord)
{
    return QFileInfo(QString::fromUtf16(pRecord->pszPath)).fileName();
}

bool CTestSink::OnVolume(IScanVolume *pVolume)
{
    QMutexLocker lock(&mutex);
    listVolumes.append(pVolume);
    return true;
}

bool CTestSink::DuplicatingSink(int32_t iStep, uint64_t, uint64_t)
{
    QMutexLocker lock(&mutex);
    if (listProgressSteps.isEmpty() || listProgressSteps.last() != iStep)
        listProgressSteps.append(iStep);
    return true;
}

bool CTestSink::StepFinished(int32_t iStep, uint64_t)
{
    QMutexLocker lock(&mutex);
    listFinishedSteps.append(iStep);
    return true;
}

bool CTestSink::record(const CEvent &event)
{
    QMutexLocker lock(&mutex);
    listEvents.append(event);
    return true;
}

bool CTestSink::OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey)
{
    return record({CEvent::Created, *pRecord, QString::fromUtf16(pRecord->pszPath), iKey, nullptr, nullptr});
}

bool CTestSink::OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey)
{
    return record({CEvent::Joined, *pRecord, QString::fromUtf16(pRecord->pszPath), iGroupKey, nullptr, nullptr});
}

bool CTestSink::OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto)
{
    return record({CEvent::Merged, PhotoRecord{}, QString(), 0, pAbsorbed, pInto});
}

void CTestSink::clearResults()
{
    QMutexLocker lock(&mutex);
    listEvents.clear();
    listFinishedSteps.clear();
    listProgressSteps.clear();
}

QList<QSet<QString>> CTestSink::groups() const
{
    QMutexLocker lock(&mutex);
    // Filed as the manager files them: a group per created key, joins by key,
    // and a merge moves the absorbed file's group into the other file's group.
    QMap<uint64_t, QStringList> byKey;
    QMap<QString, uint64_t> groupOfPath;
    for (const CEvent &e : listEvents) {
        if (e.kind == CEvent::Created) {
            byKey[e.record.fileId].append(e.strPath);
            groupOfPath[e.strPath] = e.record.fileId;
        } else if (e.kind == CEvent::Joined) {
            byKey[e.iKey].append(e.strPath);
            groupOfPath[e.strPath] = e.iKey;
        } else {
            const QString from = QString::fromUtf16(e.pAbsorbed->pszPath);
            const QString into = QString::fromUtf16(e.pInto->pszPath);
            const uint64_t fromKey = groupOfPath.value(from), intoKey = groupOfPath.value(into);
            if (fromKey == intoKey || !byKey.contains(fromKey))
                continue;
            for (const QString &path : byKey.value(fromKey))
                groupOfPath[path] = intoKey;
            byKey[intoKey] += byKey.take(fromKey);
        }
    }
    QList<QSet<QString>> out;
    for (const QStringList &paths : byKey) {
        QSet<QString> names;
        for (const QString &path : paths)
            names.insert(QFileInfo(path).fileName());
        if (names.size() > 1)
            out.append(names);
    }
    return out;
}

QString CTestSink::groupsText() const
{
    return groupsToText(groups());
}

CTestSink::CEvent CTestSink::lastEventOf(const QString &strFileName) const
{
    QMutexLocker lock(&mutex);
    for (int i = listEvents.size() - 1; i >= 0; --i)
        if (listEvents[i].kind != CEvent::Merged && QFileInfo(listEvents[i].strPath).fileName() == strFileName)
            return listEvents[i];
    return CEvent{CEvent::Merged, PhotoRecord{}, QString(), 0, nullptr, nullptr};
}

PhotoRecord CTestSink::recordOf(const QString &strFileName) const
{
    return lastEventOf(strFileName).record;
}

QString CTestSink::pathOf(const QString &strFileName) const
{
    return lastEventOf(strFileName).strPath;
}

CEngineHarness::CEngineHarness()
{
    static QLibrary library(QStringLiteral(SCAN_ENGINE_MODULE));
    auto pfnGetImp = reinterpret_cast<PFN_GetImp>(library.resolve(SCAN_ENGINE_ENTRY_NAME));
    if (!pfnGetImp)
        return;
    m_pEngine = pfnGetImp();
    if (auto pfnExtras = reinterpret_cast<PFN_GetImpExtras>(library.resolve(SCAN_ENGINE_EXTRAS_ENTRY_NAME)))
        m_pExtras = pfnExtras(m_pEngine);
    int32_t reserved = 0;
    m_pEngine->Initialize(&reserved);
    m_pEngine->SetSink(&m_sink);
    m_pFilter = m_pEngine->CreateFilter();
}

CEngineHarness::~CEngineHarness()
{
    if (m_pFilter)
        m_pFilter->Release();
    if (m_pExtras)
        m_pExtras->Release();
    if (m_pEngine) {
        m_pEngine->Uninitialize();
        m_pEngine->Release();
    }
}

void CEngineHarness::addPaths(const QStringList &listPaths)
{
    for (IScanVolume *pVolume : m_sink.listVolumes) {
        pVolume->ClearPaths();
    }
    for (const QString &path : listPaths) {
        IScanVolume *pBest = nullptr;
        QString bestRoot;
        for (IScanVolume *pVolume : m_sink.listVolumes) {
            const QString root = QString::fromUtf16(pVolume->GetRootPath());
            const bool bBelow = root == QLatin1String("/") || path == root || path.startsWith(root + QLatin1Char('/'));
            if (bBelow && root.size() > bestRoot.size()) {
                pBest = pVolume;
                bestRoot = root;
            }
        }
        if (!pBest)
            continue;
        QString relative = path.mid(bestRoot.size());
        while (relative.startsWith(QLatin1Char('/')))
            relative.remove(0, 1);
        if (scanVolumeState(pBest) == 0)
            pBest->Prepare();
        pBest->AddPath(reinterpret_cast<const ZKChar *>(relative.utf16()));
    }
}

int CEngineHarness::scan(const QStringList &listPaths, int iThreshold, const std::function<void(IScanFilter *)> &setUp,
                         int *piEndScan)
{
    m_sink.clearResults();
    if (m_pFilter)
        m_pFilter->Release();
    m_pFilter = m_pEngine->CreateFilter();
    addPaths(listPaths);
    if (setUp) {
        setUp(m_pFilter);
    } else {
        m_pFilter->SetOriginalOnly(false);
        m_pFilter->SetFollowLinks(0);
        for (const char16_t *suffix : {u"jpg", u"jpeg", u"png", u"webp", u"tif", u"tiff", u"bmp", u"gif", u"heic", u"dng"})
            m_pFilter->AddSuffix(suffix);
        m_pFilter->Finalize(1);
    }
    m_pEngine->BeginScan();
    const int result = m_pEngine->FindDuplicates(&m_sink, m_pFilter, uint8_t(iThreshold));
    m_pEngine->Flush();
    const int endScan = m_pEngine->EndScan();
    if (piEndScan)
        *piEndScan = endScan;
    return result;
}

int CEngineHarness::regroup(int iThreshold)
{
    m_sink.clearResults();
    return m_pEngine->Regroup(&m_sink, uint8_t(iThreshold));
}

static QString groupsOr(const CTestSink &sink, int iResult)
{
    return iResult == 0 ? sink.groupsText() : QStringLiteral("(the engine answered %1)").arg(iResult);
}

QString CEngineHarness::groupsAfterScan(const QStringList &listPaths, int iThreshold)
{
    return groupsOr(m_sink, scan(listPaths, iThreshold));
}

QString CEngineHarness::groupsAfterRegroup(int iThreshold)
{
    return groupsOr(m_sink, regroup(iThreshold));
}

QMap<QString, qint64> CEngineHarness::lastStats() const
{
    QMap<QString, qint64> stats;
    QFile file(qEnvironmentVariable("MIRELLE_ENGINE_STATS"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return stats;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(QLatin1Char('='));
        if (parts.size() == 2)
            stats[parts[0]] = parts[1].toLongLong();
    }
    return stats;
}

QString groupsToText(const QList<QSet<QString>> &groups)
{
    QStringList parts;
    for (const QSet<QString> &g : groups) {
        QStringList list(g.begin(), g.end());
        list.sort();
        parts << QLatin1Char('{') + list.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    parts.sort();
    return parts.join(QLatin1Char(' '));
}
