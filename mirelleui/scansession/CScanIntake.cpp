#include "CScanIntake.h"

#include "CPathCodec.h"
#include "IScanEngine.h"
#include "IScanEngineExtras.h"
#include "ThumbForge.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// FILETIME ticks between 1601-01-01 and 1970-01-01.
constexpr quint64 kFileTimeEpoch = 116444736000000000ULL;

CReportPhoto reportPhotoOf(const CPhotoRecordCopy &copy)
{
    const PhotoRecord &record = copy.record();
    CReportPhoto photo;
    photo.strPath = copy.path();
    photo.i64Size = static_cast<qint64>(record.fileSize);
    photo.iWidth = record.width;
    photo.iHeight = record.height;
    photo.iSimilarity = record.similarity;
    photo.dSharpness = record.definition;
    if (record.dateTime > kFileTimeEpoch)
        photo.i64Modified = static_cast<qint64>((record.dateTime - kFileTimeEpoch) / 10000);
    photo.bPreferred = copy.isPreferred();
    photo.bProposed = copy.isMarked();
    photo.bBurst = copy.isBurst();
    return photo;
}

QVariantMap valueRecord(const QVariant &value)
{
    return {{QStringLiteral("value"), value}};
}

} // namespace

void CScanProgress::startScan()
{
    m_iStepTotal = 0;
    m_iFoundFiles = 0;
    m_iReadFiles = 0;
}

int CScanProgress::raise(int iProgress)
{
    int iLast = m_iLastProgress.load();
    while (iProgress != 100 && iProgress > iLast) {
        if (m_iLastProgress.compare_exchange_weak(iLast, iProgress))
            return iProgress;
    }
    return -1;
}

int CScanProgress::onDone(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes, IScanEngineExtras *pExtras)
{
    if (iStep == 1) {
        m_iScannedImages = static_cast<qint64>(i64Done);
        m_iScannedBytes = static_cast<qint64>(i64Bytes);
        m_iReadFiles = static_cast<qint64>(i64Done);
        if (pExtras) {
            uint64_t counts[ScanProgress_Kinds] = {};
            pExtras->GetScanProgress(counts, ScanProgress_Kinds);
            m_iFoundFiles = static_cast<qint64>(counts[ScanProgress_Found]);
            m_iReadFiles = static_cast<qint64>(qMax<uint64_t>(counts[ScanProgress_Read], i64Done));
        }
        const qint64 iFound = m_iFoundFiles.load();
        return raise(iFound > 0 ? static_cast<int>(qMin<qint64>(m_iReadFiles.load(), iFound) * 100 / iFound) : 0);
    }
    if (iStep != 2 && iStep != 3)
        return -1;
    const uint64_t iTotal = m_iStepTotal.load();
    return raise(iTotal == 0 ? 0 : static_cast<int>(i64Done * 100 / iTotal));
}

void CScanProgress::onStepFinished(int32_t iStep, uint64_t i64NextItems)
{
    // Each step counts from its own start: a value left from the step before would hold
    // the next one back until it passed it.
    m_iLastProgress = 0;
    if (iStep == 1) {
        m_iStepTotal = i64NextItems;
        m_iScannedImages = static_cast<qint64>(i64NextItems);
    } else if (iStep == 2) {
        m_iStepTotal = i64NextItems;
    }
}

bool CScanIntake::copyRecord(const PhotoRecord *pRecord, CPhotoRecordCopy *pCopy)
{
    if (!pRecord || !pRecord->pszPath)
        return false;
    *pCopy = CPhotoRecordCopy(*pRecord);
    return dp::platform::isRegularFile(pCopy->path());
}

quint64 CScanIntake::filePhoto(CResultStore &store, CPhotoRecordCopy &copy, quint64 iGroupKey, bool bJoined)
{
    const quint64 key = bJoined ? iGroupKey : copy.record().fileId;
    if (!copy.isHidden())
        correctRawSize(copy);
    store.addPhoto(key, copy, bJoined);
    return key;
}

bool CScanIntake::mergeGroups(CResultStore &store, IScanEngineExtras *pExtras, const PhotoRecord &absorbed,
                              const PhotoRecord &into, CResultStore::CMerge *pMerge)
{
    const quint64 iAbsorbedKey = pExtras ? pExtras->GetContentKey(absorbed.fileId) : 0;
    const bool bSameFirst = iAbsorbedKey != 0 && absorbed.fileSize == into.fileSize
        && iAbsorbedKey == pExtras->GetContentKey(into.fileId);
    return store.mergeGroups(CPhotoRecordCopy::pathOf(absorbed), CPhotoRecordCopy::pathOf(into), bSameFirst, pMerge);
}

void CScanIntake::correctRawSize(CPhotoRecordCopy &copy)
{
    if (!IsRawImagePath(copy.path()))
        return;
    unsigned width = 0;
    unsigned height = 0;
    if (!GetImgWidthHeight(copy.path().toStdWString().c_str(), width, height))
        return;
    // The library answers the size as stored, the engine reported it as shown.
    PhotoRecord &record = copy.record();
    if ((record.width < record.height) != (width < height))
        std::swap(width, height);
    record.width = static_cast<uint16_t>(std::min(width, 65535u));
    record.height = static_cast<uint16_t>(std::min(height, 65535u));
}

CScanSkipped CScanIntake::skipped(IScanEngineExtras *pExtras)
{
    CScanSkipped skipped;
    if (!pExtras)
        return skipped;
    uint64_t counts[ScanSkipped_Kinds] = {};
    pExtras->GetScanSkipped(counts, ScanSkipped_Kinds);
    for (uint64_t iCount : counts)
        skipped.listCounts << QVariant::fromValue<qulonglong>(iCount);
    std::vector<ZKChar> buffer(pExtras->GetScanSkippedMounts(nullptr, 0));
    // The list may have grown between the two calls; then it is left out rather than cut.
    const uint32_t iLength = pExtras->GetScanSkippedMounts(buffer.data(), uint32_t(buffer.size()));
    if (iLength <= buffer.size())
        skipped.listMounts = QString::fromUtf16(buffer.data(), int(iLength)).split(QChar(0), Qt::SkipEmptyParts);
    return skipped;
}

void CScanIntake::stamp(IScanEngineExtras *pExtras, quint64 iFileId, quint64 *pModTime, quint64 *pContentKey)
{
    uint64_t iModTime = 0;
    uint64_t iKey = 0;
    if (pExtras && iFileId != 0 && pExtras->GetFileStamp(iFileId, &iModTime, &iKey)) {
        *pModTime = iModTime;
        *pContentKey = iKey;
    }
}

QVariantMap CScanIntake::optionsOf(const CScanSettings &settings)
{
    QVariantMap minSize = valueRecord(double(settings.i64MinSize) / 1024.0);
    minSize.insert(QStringLiteral("index"), 0);
    minSize.insert(QStringLiteral("unit"), QStringLiteral("KB"));
    return {{QStringLiteral("photoType"), valueRecord(settings.bOriginalOnly ? 0 : 1)},
            {QStringLiteral("minSize"), minSize},
            {QStringLiteral("similarSlot"), valueRecord((100 - settings.iThreshold) / 5)},
            {QStringLiteral("rotationMatching"), valueRecord(settings.bRotations ? 1 : 0)}};
}

int CScanIntake::similarityOf(const QVariantMap &mapOptions)
{
    const QVariantMap record = mapOptions.value(QStringLiteral("similarSlot")).toMap();
    // A stored value from another version or a hand-edited file must not wrap the engine's byte.
    return qBound(0, 100 - 5 * record.value(QStringLiteral("value")).toInt(), 100);
}

bool CScanIntake::rotationsOf(const QVariantMap &mapOptions)
{
    return mapOptions.value(QStringLiteral("rotationMatching")).toMap().value(QStringLiteral("value")).toInt() != 0;
}

CScanSettings CScanIntake::settingsOf(const QVariantMap &mapOptions, const QStringList &listSources)
{
    CScanSettings settings;
    settings.listSources = listSources;
    const QVariantMap photoType = mapOptions.value(QStringLiteral("photoType")).toMap();
    settings.bOriginalOnly = photoType.value(QStringLiteral("value"), 0).toInt() == 0;
    if (mapOptions.contains(QStringLiteral("minSize"))) {
        // The same bytes that the scan gave the engine's filter.
        const QVariantMap minSize = mapOptions.value(QStringLiteral("minSize")).toMap();
        settings.i64MinSize = static_cast<qint64>(minSize.value(QStringLiteral("value")).toDouble()
                                                  * std::pow(1024.0, minSize.value(QStringLiteral("index")).toInt() + 1));
    }
    settings.iThreshold = similarityOf(mapOptions);
    settings.bRotations = rotationsOf(mapOptions);
    return settings;
}

CScanReport CScanIntake::report(const CResultStore &store, IScanEngineExtras *pExtras, const CScanSettings &settings)
{
    CScanReport report;
    report.strGenerator = QCoreApplication::applicationName();
    report.settings = settings;
    for (quint64 key : store.groupOrder()) {
        GroupSummary summary;
        if (!store.groupSummary(key, &summary) || !summary.shown)
            continue;
        CReportGroup group;
        group.bIdentical = summary.allIdentical;
        for (const CPhotoRecordCopy &copy : qAsConst(summary.files)) {
            if (copy.isHidden())
                continue;
            CReportPhoto photo = reportPhotoOf(copy);
            if (photo.bProposed)
                photo.strReason = CAutoMarkRule::reasonKey(store.markReason(copy.path()));
            stamp(pExtras, copy.record().fileId, &photo.i64FileTime, &photo.iContentKey);
            group.listPhotos << photo;
        }
        // A group whose other photos were removed is no longer a group of similar photos.
        if (group.listPhotos.size() > 1)
            report.listGroups << group;
    }
    return report;
}
