#include "CFakeScanEngine.h"

#include "IScanEngineExtras.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::mutex g_logMutex;
QStringList g_callLog;
QByteArray g_script = "{}";

void logCall(const QString &call)
{
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_callLog << call;
}

QJsonValue scriptValue(const char *pszKey)
{
    return QJsonDocument::fromJson(g_script).object().value(QLatin1String(pszKey));
}

uint64_t number(const QJsonObject &event, const char *pszKey, double dDefault = 0)
{
    return static_cast<uint64_t>(event.value(QLatin1String(pszKey)).toDouble(dDefault));
}

class CFakeVolume : public IScanVolume
{
public:
    explicit CFakeVolume(const QString &root) : m_strRoot(root) {}
    void Prepare() override { m_iState = 1; }
    int32_t IsReady() override { return 1; }
    const ZKChar *GetRootPath() override { return reinterpret_cast<const ZKChar *>(m_strRoot.utf16()); }
    void AddPath(const ZKChar *p) override { logCall(QStringLiteral("AddPath:") + QString::fromUtf16(p)); }
    void ClearPaths() override { m_iState = 0; }

private:
    QString m_strRoot;
};

class CFakeFilter : public IScanFilter
{
public:
    void Finalize(int32_t i) override { logCall(QStringLiteral("Finalize:%1").arg(i)); }
    void SetMinSize(uint64_t i) override { logCall(QStringLiteral("SetMinSize:%1").arg(i)); }
    void AddSuffix(const ZKChar *p) override { logCall(QStringLiteral("AddSuffix:") + QString::fromUtf16(p)); }
    void SetFollowLinks(int32_t i) override { logCall(QStringLiteral("SetFollowLinks:%1").arg(i)); }
    void SetOriginalOnly(bool b) override { logCall(QStringLiteral("SetOriginalOnly:%1").arg(b)); }
};

// One barrier generation per meeting point; threads that ended count as arrived.
class CBarrier
{
public:
    explicit CBarrier(int n) : m_iCount(n) {}
    void arrive()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const int gen = m_iGeneration;
        if (++m_iArrived >= m_iCount) {
            m_iArrived = 0;
            ++m_iGeneration;
            m_cv.notify_all();
            return;
        }
        m_cv.wait(lock, [&] { return gen != m_iGeneration; });
    }
    void leave()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_iCount;
        if (m_iArrived >= m_iCount && m_iArrived > 0) {
            m_iArrived = 0;
            ++m_iGeneration;
            m_cv.notify_all();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    int m_iCount;
    int m_iArrived = 0;
    int m_iGeneration = 0;
};

class CFakeEngine : public IScanEngine
{
public:
    int32_t Initialize(int32_t *) override
    {
        logCall(QStringLiteral("Initialize"));
        return 0;
    }
    void Uninitialize() override
    {
        logCall(QStringLiteral("Uninitialize"));
        releaseVolumes();
    }
    int32_t BeginScan() override
    {
        logCall(QStringLiteral("BeginScan"));
        m_bStop = false;
        return 0;
    }
    int32_t EndScan() override
    {
        logCall(QStringLiteral("EndScan"));
        return m_bStop ? 1 : scriptValue("endScan").toInt();
    }
    void SetSink(IScanEngineSink *pSink) override
    {
        logCall(QStringLiteral("SetSink"));
        m_pSink = pSink;
    }
    void StopRegroup() override
    {
        logCall(QStringLiteral("StopRegroup"));
        m_bStop = true;
    }
    void Flush() override { logCall(QStringLiteral("Flush")); }
    IScanFilter *CreateFilter() override
    {
        logCall(QStringLiteral("CreateFilter"));
        if (m_pSink && m_listVolumes.empty()) {
            for (const QJsonValue &root : scriptValue("volumes").toArray())
                m_listVolumes.push_back(new CFakeVolume(root.toString()));
            for (CFakeVolume *pVolume : m_listVolumes)
                m_pSink->OnVolume(pVolume);
        }
        return new CFakeFilter;
    }
    int32_t FindDuplicates(IDuplicationGatherSink *pSink, IScanFilter *, uint8_t iThreshold) override
    {
        logCall(QStringLiteral("FindDuplicates:%1").arg(iThreshold));
        return replay(pSink, "events");
    }
    int32_t Regroup(IDuplicationGatherSink *pSink, uint8_t iThreshold) override
    {
        logCall(QStringLiteral("Regroup:%1").arg(iThreshold));
        m_bStop = false;
        return replay(pSink, "regroup");
    }
    void SetFileState(uint64_t iFileId, uint8_t iState) override
    {
        logCall(QStringLiteral("SetFileState:%1:%2").arg(iFileId).arg(iState));
    }
    // "stopMs": a real engine joins its threads here, so Stop may return well after the
    // scan it stopped has ended.
    void Stop() override
    {
        logCall(QStringLiteral("Stop"));
        m_bStop = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(scriptValue("stopMs").toInt()));
    }

private:
    void releaseVolumes()
    {
        for (CFakeVolume *pVolume : m_listVolumes)
            pVolume->Release();
        m_listVolumes.clear();
    }

    PhotoRecord *makeRecord(const QJsonObject &event)
    {
        std::lock_guard<std::mutex> lock(m_recordMutex);
        m_listPaths.push_back(event.value(QStringLiteral("path")).toString());
        m_listRecords.emplace_back();
        PhotoRecord &record = m_listRecords.back();
        record.pszPath = reinterpret_cast<const ZKChar *>(m_listPaths.back().utf16());
        record.fileSize = number(event, "size", 1000);
        record.dateTime = number(event, "date");
        record.flags = static_cast<uint8_t>(event.value(QStringLiteral("flags")).toInt(0));
        record.similarity = static_cast<uint8_t>(event.value(QStringLiteral("sim")).toInt(100));
        record.width = static_cast<uint16_t>(event.value(QStringLiteral("w")).toInt(640));
        record.height = static_cast<uint16_t>(event.value(QStringLiteral("h")).toInt(480));
        record.definition = event.value(QStringLiteral("def")).toDouble(1.0);
        // A packed record's field cannot be bound to a reference: keys use a copy.
        const uint64_t id = number(event, "id");
        record.fileId = id;
        m_mapRecords[id] = &record;
        // Without a "key" a file's content key is its id: every file has distinct bytes.
        m_mapKeys[id] = number(event, "key", double(id));
        // A test that checks removals against the disk names what the scan read: "mtime"
        // (FILETIME) and "hash" (the real content key), both as decimal text.
        if (event.contains(QStringLiteral("hash")))
            m_mapStamps[id] = {event.value(QStringLiteral("mtime")).toString().toULongLong(),
                                          event.value(QStringLiteral("hash")).toString().toULongLong()};
        else
            m_mapStamps.erase(id);
        return &record;
    }

    const PhotoRecord *record(uint64_t id)
    {
        std::lock_guard<std::mutex> lock(m_recordMutex);
        const auto it = m_mapRecords.find(id);
        return it == m_mapRecords.end() ? nullptr : it->second;
    }

    void runEvent(IDuplicationGatherSink *pSink, const QJsonObject &event, CBarrier &barrier)
    {
        const QString op = event.value(QStringLiteral("op")).toString();
        if (op == QLatin1String("progress")) {
            // "found" is what the real engine knows once its walk is done.
            const int iStep = event.value(QStringLiteral("step")).toInt();
            if (event.contains(QStringLiteral("found")))
                m_iFound = number(event, "found");
            if (iStep == 1)
                m_iRead = number(event, "done");
            pSink->DuplicatingSink(iStep, number(event, "done"), number(event, "bytes"));
        } else if (op == QLatin1String("finished")) {
            pSink->StepFinished(event.value(QStringLiteral("step")).toInt(), number(event, "n"));
        } else if (op == QLatin1String("create")) {
            const PhotoRecord *pRecord = makeRecord(event);
            groupFor(pRecord->fileId, pRecord->fileId);
            // As the real engine, which reports a group with its second file: once pairs are
            // separated, a first file may end up alone and is then no group at all.
            if (!holdLone(pRecord->fileId))
                pSink->OnGroupCreated(pRecord, 0);
        } else if (op == QLatin1String("join")) {
            const PhotoRecord *pRecord = makeRecord(event);
            // A file separated from a member of its group is left alone instead.
            const uint64_t iTarget = groupFor(number(event, "group"), pRecord->fileId);
            if (iTarget == pRecord->fileId) {
                holdLone(iTarget);
            } else {
                if (releaseLone(iTarget))
                    pSink->OnGroupCreated(record(iTarget), 0);
                pSink->OnFileJoined(pRecord, iTarget);
            }
        } else if (op == QLatin1String("merge")) {
            const PhotoRecord *a = record(number(event, "a"));
            const PhotoRecord *b = record(number(event, "b"));
            if (a && b)
                pSink->OnGroupsMerged(a, b);
        } else if (op == QLatin1String("sleep")) {
            const auto until = std::chrono::steady_clock::now()
                               + std::chrono::milliseconds(event.value(QStringLiteral("ms")).toInt());
            while (!m_bStop && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        } else if (op == QLatin1String("waitFile")) {
            while (!m_bStop && !QFile::exists(event.value(QStringLiteral("path")).toString()))
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        } else if (op == QLatin1String("waitStop")) {
            while (!m_bStop)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        } else if (op == QLatin1String("barrier")) {
            barrier.arrive();
        }
    }

private:
    // True when the file's group waits for a second file before it is reported.
    bool holdLone(uint64_t iFileId)
    {
        std::lock_guard<std::mutex> lock(m_recordMutex);
        if (m_setSeparated.empty())
            return false;
        m_setLone.insert(iFileId);
        return true;
    }
    bool releaseLone(uint64_t iFileId)
    {
        std::lock_guard<std::mutex> lock(m_recordMutex);
        return m_setLone.erase(iFileId) > 0;
    }

    // The group a file goes into: iGroup, or a group of its own when its key is separated
    // from a key already in iGroup. Groups are tracked per replay.
    uint64_t groupFor(uint64_t iGroup, uint64_t iFileId)
    {
        std::lock_guard<std::mutex> lock(m_recordMutex);
        const uint64_t iKey = m_mapKeys[iFileId];
        std::vector<uint64_t> &members = m_mapMembers[iGroup];
        for (uint64_t iOther : members) {
            if (m_setSeparated.count({std::min(iKey, iOther), std::max(iKey, iOther)})) {
                m_mapMembers[iFileId].push_back(iKey);
                return iFileId;
            }
        }
        members.push_back(iKey);
        return iGroup;
    }

    int32_t replay(IDuplicationGatherSink *pSink, const char *pszList)
    {
        {
            std::lock_guard<std::mutex> lock(m_recordMutex);
            m_mapMembers.clear();
            m_setLone.clear();
        }
        const QJsonArray events = scriptValue(pszList).toArray();
        std::map<int, std::vector<QJsonObject>> perThread;
        for (const QJsonValue &value : events) {
            const QJsonObject event = value.toObject();
            if (event.value(QStringLiteral("op")).toString() == QLatin1String("barrier")) {
                // Every thread meets at a barrier, so it goes into each list.
                perThread[0];
                for (auto &entry : perThread)
                    entry.second.push_back(event);
                continue;
            }
            perThread[event.value(QStringLiteral("t")).toInt(0)].push_back(event);
        }
        CBarrier barrier(static_cast<int>(perThread.size()));
        std::vector<std::thread> threads;
        for (auto &entry : perThread) {
            threads.emplace_back([this, pSink, &entry, &barrier] {
                for (const QJsonObject &event : entry.second) {
                    if (m_bStop && event.value(QStringLiteral("op")).toString() != QLatin1String("barrier"))
                        continue;
                    runEvent(pSink, event, barrier);
                }
                barrier.leave();
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        return m_bStop ? 1 : 0;
    }

    IScanEngineSink *m_pSink = nullptr;
    std::vector<CFakeVolume *> m_listVolumes;
    std::atomic_bool m_bStop{false};
    std::deque<QString> m_listPaths;
    std::deque<PhotoRecord> m_listRecords;
    std::map<uint64_t, const PhotoRecord *> m_mapRecords;
    std::map<uint64_t, std::vector<uint64_t>> m_mapMembers;

public:
    // What the additions read and set; the maps and the set under m_recordMutex.
    std::mutex m_recordMutex;
    std::map<uint64_t, uint64_t> m_mapKeys;
    std::map<uint64_t, std::pair<uint64_t, uint64_t>> m_mapStamps;
    std::set<std::pair<uint64_t, uint64_t>> m_setSeparated;
    std::set<uint64_t> m_setLone;
    std::atomic<int32_t> m_iRotations{0};
    std::atomic<uint64_t> m_iFound{0};
    std::atomic<uint64_t> m_iRead{0};
};

class CFakeExtras : public IScanEngineExtras
{
public:
    explicit CFakeExtras(CFakeEngine *pEngine) : m_engine(*pEngine) { m_engine.AddRef(); }
    ~CFakeExtras() override { m_engine.Release(); }
    void SetRotationMatching(int32_t iOn) override
    {
        logCall(QStringLiteral("SetRotationMatching:%1").arg(iOn));
        m_engine.m_iRotations = iOn;
    }
    int32_t RotationMatching() override { return m_engine.m_iRotations; }
    void SetSeparatedPairs(const uint64_t *pKeys, uint32_t iPairs) override
    {
        QStringList pairs;
        std::lock_guard<std::mutex> lock(m_engine.m_recordMutex);
        m_engine.m_setSeparated.clear();
        for (uint32_t i = 0; i < iPairs; ++i) {
            const uint64_t a = pKeys[2 * i], b = pKeys[2 * i + 1];
            m_engine.m_setSeparated.insert({std::min(a, b), std::max(a, b)});
            pairs << QStringLiteral("%1-%2").arg(a).arg(b);
        }
        logCall(QStringLiteral("SetSeparatedPairs:") + pairs.join(QLatin1Char(',')));
    }
    uint64_t GetContentKey(uint64_t iFileId) override
    {
        std::lock_guard<std::mutex> lock(m_engine.m_recordMutex);
        const auto it = m_engine.m_mapKeys.find(iFileId);
        return it == m_engine.m_mapKeys.end() ? 0 : it->second;
    }
    // The script's "skipped" array: what the scan passed over, by kind.
    void GetScanSkipped(uint64_t *pCounts, uint32_t iCount) override
    {
        const QJsonArray counts = scriptValue("skipped").toArray();
        for (uint32_t i = 0; pCounts && i < iCount; ++i)
            pCounts[i] = i < uint32_t(counts.size()) ? uint64_t(counts.at(int(i)).toDouble()) : 0;
    }
    void SetScanThumbnails(int32_t) override {}
    void SetExactFeatures(int32_t iOn) override
    {
        logCall(QStringLiteral("SetExactFeatures:%1").arg(iOn));
        m_iExact = iOn;
    }
    int32_t ExactFeatures() override { return m_iExact; }
    uint32_t GetScanThumbnail(const ZKChar *, uint8_t *, uint32_t) override { return 0; }
    int32_t GetFileStamp(uint64_t iFileId, uint64_t *pModTime, uint64_t *pContentKey) override
    {
        std::lock_guard<std::mutex> lock(m_engine.m_recordMutex);
        const auto it = m_engine.m_mapStamps.find(iFileId);
        if (it == m_engine.m_mapStamps.end())
            return 0;
        if (pModTime)
            *pModTime = it->second.first;
        if (pContentKey)
            *pContentKey = it->second.second;
        return 1;
    }
    // The script's "skippedMounts" array, as the engine hands the names out.
    uint32_t GetScanSkippedMounts(ZKChar *pBuffer, uint32_t iCapacity) override
    {
        QString joined;
        for (const QJsonValue &mount : scriptValue("skippedMounts").toArray())
            joined += mount.toString() + QChar(0);
        if (pBuffer && iCapacity >= uint32_t(joined.size()))
            std::copy_n(reinterpret_cast<const ZKChar *>(joined.utf16()), joined.size(), pBuffer);
        return uint32_t(joined.size());
    }
    void GetScanProgress(uint64_t *pCounts, uint32_t iCount) override
    {
        for (uint32_t i = 0; pCounts && i < iCount; ++i)
            pCounts[i] = i == 0 ? m_engine.m_iFound.load() : i == 1 ? m_engine.m_iRead.load() : 0;
    }

private:
    CFakeEngine &m_engine;
    int32_t m_iExact = 0;
};

// Tests that check the manager without the additions set this before the engine loads.
std::atomic_bool g_bExtrasOff{false};

} // namespace

extern "C" __attribute__((visibility("default"))) IScanEngine *GetImp()
{
    return new CFakeEngine;
}

extern "C" __attribute__((visibility("default"))) IScanEngineExtras *GetImpExtras(IScanEngine *pEngine)
{
    if (!pEngine || g_bExtrasOff)
        return nullptr;
    return new CFakeExtras(static_cast<CFakeEngine *>(pEngine));
}

extern "C" __attribute__((visibility("default"))) void FakeEngine_SetExtrasOff(int iOff)
{
    g_bExtrasOff = iOff != 0;
}

extern "C" __attribute__((visibility("default"))) void FakeEngine_SetScript(const char *pszJson)
{
    g_script = QByteArray(pszJson);
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_callLog.clear();
}

extern "C" __attribute__((visibility("default"))) int FakeEngine_CallLog(char *pszBuffer, int iSize)
{
    std::lock_guard<std::mutex> lock(g_logMutex);
    const QByteArray text = g_callLog.join(QLatin1Char('\n')).toUtf8();
    if (pszBuffer && iSize > 0) {
        const int n = qMin(iSize - 1, text.size());
        memcpy(pszBuffer, text.constData(), static_cast<size_t>(n));
        pszBuffer[n] = '\0';
    }
    return text.size();
}
