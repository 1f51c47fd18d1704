#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <vector>

// A candidate file as the walk met it.
struct CFoundFile
{
    QString strPath;
    uint64_t i64Size = 0;
    uint64_t i64ModTime = 0;  // FILETIME
    uint64_t iDevice = 0;
    uint64_t iInode = 0;
};

// Walks folders on several threads. Each folder is entered once, however many
// of the given roots hold it and however many links point to it, so nested
// roots and link loops cost nothing. A root that is a link is followed: the user
// chose it. Unreadable folders are counted and skipped. Paths are the system's
// bytes carried losslessly (CPathCodec), so every name is found and can be opened.
class CFileWalker
{
public:
    // How the walk treats a filesystem mounted below the folder it is reading.
    enum class EnPass {
        Quietly,  // pseudo filesystems: a walk of "/" must not wander into /proc or /sys
        Named     // network mounts: not read unasked, but named as passed over
    };
    struct COptions
    {
        QSet<QString> setSuffixes;  // lower case, without the dot; empty = every file
        uint64_t i64MinSize = 0;
        bool bFollowLinks = false;
        // Filesystems not entered when a walk crosses into them, by device and by
        // mount point; the second spares a stat call on a share that may not answer.
        // Every other filesystem is walked, whatever its type.
        QHash<uint64_t, EnPass> mapPassDevices;
        QHash<QByteArray, EnPass> mapPassMountPoints;
    };

    explicit CFileWalker(COptions options) : m_options(std::move(options)) {}

    // Files come sorted by path, each path once.
    std::vector<CFoundFile> walk(const QStringList &listRoots, int iThreads, const std::atomic_bool &bStop);

    uint64_t unreadableFolders() const { return m_iUnreadableFolders; }
    uint64_t foldersWalked() const { return m_iFolders; }
    // Where the last walk met a filesystem it passes over by name, sorted.
    QStringList passedMounts() const { return m_listPassedMounts; }

private:
    COptions m_options;
    QStringList m_listPassedMounts;
    std::atomic<uint64_t> m_iUnreadableFolders{0};
    std::atomic<uint64_t> m_iFolders{0};
};
