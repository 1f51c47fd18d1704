#include "CFileWalker.h"

#include "CPathCodec.h"
#include "CScanFiles.h"

#include <QStandardPaths>

#include <algorithm>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

namespace {

// The shared state of one walk: a queue of folders and the folders already claimed.
class CWalkQueue
{
public:
    // Claims a folder by identity; false when some thread has it already.
    bool claim(uint64_t iDevice, uint64_t iInode)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_setSeen.emplace(iDevice, iInode).second;
    }
    void push(QByteArray path)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_queue.push_back(std::move(path));
        }
        m_cond.notify_one();
    }
    // Next folder, or false when all are done (no folder queued and none being read).
    bool pop(QByteArray &path, const std::atomic_bool &bStop)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        --m_iBusy;
        m_cond.wait(lock, [&] { return !m_queue.empty() || m_iBusy == 0 || bStop.load(); });
        if (m_queue.empty() || bStop.load()) {
            m_cond.notify_all();
            return false;
        }
        path = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_iBusy;
        return true;
    }
    void setWorkers(int n) { m_iBusy = n; }

private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    std::deque<QByteArray> m_queue;
    std::set<std::pair<uint64_t, uint64_t>> m_setSeen;
    int m_iBusy = 0;
};

QString suffixOf(const char *pszName)
{
    const char *dot = std::strrchr(pszName, '.');
    if (!dot || dot == pszName)
        return QString();
    return dp::platform::pathFromBytes(QByteArray(dot + 1)).toLower();
}

} // namespace

std::vector<CFoundFile> CFileWalker::walk(const QStringList &listRoots, int iThreads, const std::atomic_bool &bStop)
{
    CWalkQueue queue;
    std::mutex filesMutex;
    std::vector<CFoundFile> files;
    QSet<QByteArray> setPassed;  // under filesMutex
    m_listPassedMounts.clear();
    // Copies in a trash, a system snapshot or a cache are on their way out: grouped with the
    // originals they could be kept in their stead. One chosen as a root is still walked.
    const QByteArray homeTrash = dp::platform::pathToBytes(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash"));
    const QByteArray homeCache =
        dp::platform::pathToBytes(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));

    auto acceptFile = [&](const QByteArray &path, const char *pszName, const dp::platform::CPathStat &st,
                          std::vector<CFoundFile> &out) {
        if (!m_options.setSuffixes.isEmpty() && !m_options.setSuffixes.contains(suffixOf(pszName)))
            return;
        if (st.i64Size < m_options.i64MinSize)
            return;
        out.push_back({dp::platform::pathFromBytes(path), st.i64Size, st.i64ModTime, st.iDevice, st.iInode});
    };

    // A filesystem met below a folder: whether the walk passes it over, and records the name if so.
    auto passes = [&](const QByteArray &path, const EnPass *pPass) {
        if (!pPass)
            return false;
        if (*pPass == EnPass::Named) {
            std::lock_guard<std::mutex> lock(filesMutex);
            setPassed.insert(path);
        }
        return true;
    };
    auto findPass = [](const auto &map, const auto &key) -> const EnPass * {
        const auto it = map.constFind(key);
        return it == map.constEnd() ? nullptr : &it.value();
    };

    for (const QString &root : listRoots) {
        const QByteArray path = dp::platform::pathToBytes(root);
        const dp::platform::CPathStat st = dp::platform::statPath(path);
        if (!st.bExists) {
            ++m_iUnreadableFolders;
            continue;
        }
        if (st.bFolder) {
            if (queue.claim(st.iDevice, st.iInode))
                queue.push(path);
        } else if (st.bRegular) {
            const int slash = path.lastIndexOf('/');
            acceptFile(path, path.constData() + slash + 1, st, files);
        }
    }

    auto work = [&] {
        std::vector<CFoundFile> found;
        QByteArray dirPath;
        while (queue.pop(dirPath, bStop)) {
            ++m_iFolders;
            using EnType = dp::platform::CFolderListing::EnType;
            dp::platform::CFolderListing listing(dirPath);
            if (!listing.isOpen()) {
                ++m_iUnreadableFolders;
                continue;
            }
            const uint64_t iDirDevice = listing.device();
            const QByteArray prefix = dirPath.endsWith('/') ? dirPath : dirPath + '/';
            const QByteArray parent = prefix.left(prefix.size() - 1);
            const QByteArray parentName = parent.mid(parent.lastIndexOf('/') + 1);
            const char *name = nullptr;
            EnType type = EnType::Unknown;
            while (listing.next(name, type)) {
                if (type == EnType::Link && !m_options.bFollowLinks)
                    continue;
                // A regular file of another type is dropped without a stat call.
                if (type == EnType::Regular && !m_options.setSuffixes.isEmpty()
                    && !m_options.setSuffixes.contains(suffixOf(name)))
                    continue;
                const QByteArray childPath = prefix + name;
                if (type != EnType::Regular
                    && (dp::platform::isTrashFolderName(name) || childPath == homeTrash
                        || dp::platform::isSnapshotFolderName(parentName.constData(), name)
                        || qstrcmp(name, ".cache") == 0 || childPath == homeCache))
                    continue;
                if (type != EnType::Regular && passes(childPath, findPass(m_options.mapPassMountPoints, childPath)))
                    continue;
                const dp::platform::CPathStat st = listing.statEntry(name, m_options.bFollowLinks);
                if (!st.bExists)
                    continue;  // a dangling link or a file gone meanwhile
                if (st.bFolder) {
                    if (st.iDevice != iDirDevice
                        && passes(childPath, findPass(m_options.mapPassDevices, st.iDevice)))
                        continue;
                    if (queue.claim(st.iDevice, st.iInode))
                        queue.push(childPath);
                } else if (st.bRegular) {
                    acceptFile(childPath, name, st, found);
                }
            }
        }
        std::lock_guard<std::mutex> lock(filesMutex);
        files.insert(files.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    };
    const int threads = std::max(1, iThreads);
    queue.setWorkers(threads);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);
    for (std::thread &th : pool)
        th.join();

    for (const QByteArray &path : qAsConst(setPassed))
        m_listPassedMounts << dp::platform::pathFromBytes(path);
    m_listPassedMounts.sort();

    std::sort(files.begin(), files.end(), [](const CFoundFile &a, const CFoundFile &b) { return a.strPath < b.strPath; });
    files.erase(std::unique(files.begin(), files.end(),
                            [](const CFoundFile &a, const CFoundFile &b) { return a.strPath == b.strPath; }),
                files.end());
    return files;
}
