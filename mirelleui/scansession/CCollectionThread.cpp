#include "CCollectionThread.h"

#include "CFileStamp.h"
#include "COperateTaskQueue.h"
#include "CPlatform.h"
#include "IScanEngine.h"
#include "IScanEngineExtras.h"
#include "IVolumes.h"
#include "ManagerLogging.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTextStream>

#include <algorithm>
#include <cmath>

namespace {

// Bounds how long a stop request can go unseen while the intake drains.
constexpr int kIntakePollMs = 200;
constexpr qint64 kStopPollMs = 20;
constexpr char kSuffixList[] = "jpe|jpeg|dib|webp|tif|jpg|png|heic|bmp|gif|tiff|dng";

// Nesting goes by whole path components: "/p/a" holds "/p/a/b" but neither "/p/ab" nor "/x/p/a/b".
bool isWithin(const QString &strPath, const QString &strFolder)
{
    const QString path = QDir::cleanPath(strPath);
    const QString folder = QDir::cleanPath(strFolder);
    if (path == folder)
        return true;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

} // namespace

void CEngineExtrasSettings::applyTo(IScanEngineExtras *pExtras) const
{
    if (!pExtras)
        return;
    pExtras->SetRotationMatching(bRotations ? 1 : 0);
    pExtras->SetExactFeatures(bExactFeatures ? 1 : 0);
    // Sent even when empty: a forgotten decision must stop splitting groups.
    pExtras->SetSeparatedPairs(listPairs.constData(), static_cast<uint32_t>(listPairs.size() / 2));
}

void CScanStop::waitEnded()
{
    QMutexLocker locker(&m_lock);
    while (!m_bEnded)
        m_ended.wait(&m_lock);
}

bool CScanStop::hasEnded() const
{
    QMutexLocker locker(&m_lock);
    return m_bEnded;
}

void CScanStop::markEnded()
{
    QMutexLocker locker(&m_lock);
    m_bEnded = true;
    m_ended.wakeAll();
}

CCollectionThread::CCollectionThread(CScanJob job) : m_job(std::move(job)) {}

QStringList CCollectionThread::pruneNestedSources(QStringList listSources)
{
    listSources.sort();
    const QStringList copy = listSources;
    for (int i = 1; i < copy.size(); ++i) {
        const QString &prev = copy[i - 1];
        const QString &cur = copy[i];
        if (QDir::cleanPath(cur) != QDir::cleanPath(prev) && isWithin(cur, prev))
            listSources.removeOne(cur);
    }
    return listSources;
}

QStringList CCollectionThread::outermostFolders(const QStringList &listSources)
{
    QStringList list;
    for (const QString &source : listSources) {
        if (std::any_of(list.cbegin(), list.cend(), [&](const QString &entry) { return isWithin(source, entry); }))
            continue;
        list.erase(std::remove_if(list.begin(), list.end(), [&](const QString &entry) { return isWithin(entry, source); }),
                   list.end());
        list.append(source);
    }
    return list;
}

void CCollectionThread::mapSourcesToVolumes()
{
    const IVolumes &volumes = dp::platform::volumes();
    m_job.listSources = pruneNestedSources(m_job.listSources);
    Q_EMIT sigSourcesPruned(m_job.listSources);
    for (const QString &folder : outermostFolders(m_job.listSources)) {
        const QString absolute = QDir(folder).absolutePath();
        const QString key = volumes.keyOfPath(absolute);
        IScanVolume *pVolume = m_job.mapVolumes.value(key, nullptr);
        if (!pVolume)
            continue;
        m_mapVolumePaths[pVolume].append(volumes.relativeToVolume(absolute, key));
        if (scanVolumeState(pVolume) == 0)
            pVolume->Prepare();
    }
}

void CCollectionThread::waitForIntake()
{
    // Without a queue the sink filed each result as it came.
    if (!m_job.pQueue) {
        if (!isStopping())
            Q_EMIT sigIntakeDone();
        return;
    }
    for (;;) {
        if (isStopping()) {
            m_job.pQueue->clear();
            return;
        }
        if (m_job.pQueue->waitDrained(kIntakePollMs)) {
            Q_EMIT sigIntakeDone();
            qCDebug(lcManager) << "Scan finished............................................";
            return;
        }
    }
}

int CCollectionThread::doRun()
{
    const auto ended = qScopeGuard([this] { m_pStop->markEnded(); });
    QElapsedTimer clock;
    clock.start();
    int iResult = 0;
    IScanEngine *pEngine = m_job.pEngine;
    IScanFilter *pFilter = m_job.pFilter;

    if (pEngine && pFilter) {
        // Stamped before the start is announced: a folder that goes after the announcement
        // counts as gone during the scan.
        const QStringList listGiven = m_job.listSources;
        QList<CFileStamp> listBefore;
        for (const QString &source : listGiven)
            listBefore << dp::platform::fileStamp(source);
        Q_EMIT sigStarted();
        mapSourcesToVolumes();
        for (auto it = m_mapVolumePaths.constBegin(); it != m_mapVolumePaths.constEnd(); ++it) {
            for (const QString &path : it.value())
                it.key()->AddPath(reinterpret_cast<const ZKChar *>(path.utf16()));
        }
        applyOptionsToFilter(m_job.mapOptions, pFilter);
        m_job.extras.applyTo(m_job.pExtras);
        pEngine->BeginScan();
        if (isStopRequested()) {
            pEngine->Stop();
            iResult = 1;
        } else {
            pEngine->FindDuplicates(m_job.pSink, pFilter, m_job.iSimilarity);
            pEngine->Flush();
            iResult = pEngine->EndScan();
            waitForIntake();
            // A folder missing from the start (a drive not plugged in) is the engine's to count.
            QStringList listVanished;
            int iPresent = 0;
            for (int i = 0; i < listGiven.size(); ++i) {
                iPresent += listBefore.at(i).bExists ? 1 : 0;
                if (listBefore.at(i).bExists && !dp::platform::fileStamp(listGiven.at(i)).isSameFile(listBefore.at(i)))
                    listVanished << listGiven.at(i);
            }
            if (!isStopping())
                Q_EMIT sigSourcesVanished(listVanished, iPresent > 0 && listVanished.size() == iPresent);
        }
    }

    Q_EMIT sigScanEnded();
    // The minimum time keeps the scan screen readable; a cancel or a closing program does
    // not wait for it.
    for (qint64 left = m_job.iMinimumMs - clock.elapsed(); left > 0 && !isStopping();
         left = m_job.iMinimumMs - clock.elapsed())
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kStopPollMs, left)));
    return isStopping() ? 1 : iResult;
}

void CCollectionThread::applyOptionsToFilter(const QVariantMap &mapOptions, IScanFilter *pFilter)
{
    if (!pFilter)
        return;
    if (mapOptions.contains(QStringLiteral("photoType")))
        pFilter->SetOriginalOnly(mapOptions.value(QStringLiteral("photoType")).toMap().value(QStringLiteral("value")).toInt() == 0);
    pFilter->SetFollowLinks(0);
    if (mapOptions.contains(QStringLiteral("minSize"))) {
        const QVariantMap minSize = mapOptions.value(QStringLiteral("minSize")).toMap();
        const double dBytes = minSize.value(QStringLiteral("value")).toDouble()
                              * std::pow(1024.0, minSize.value(QStringLiteral("index")).toInt() + 1);
        pFilter->SetMinSize(static_cast<uint64_t>(dBytes));
    }

    QString suffixes = QString::fromLatin1(kSuffixList);
    if (QFile::exists(QStringLiteral("suffixs.bin"))) {
        QFile file(QStringLiteral("in.txt"));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return;
        const QString content = QTextStream(&file).readAll();
        if (!content.isEmpty())
            suffixes = content;
    }
    for (const QString &suffix : suffixes.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        pFilter->AddSuffix(reinterpret_cast<const ZKChar *>(suffix.utf16()));
    pFilter->Finalize(1);
}
