#pragma once

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
// roots and link loops cost nothing. Unreadable folders are counted and skipped.
class CFileWalker
{
public:
    struct COptions
    {
        QSet<QString> setSuffixes;  // lower case, without the dot; empty = every file
        uint64_t i64MinSize = 0;
        bool bFollowLinks = false;
        // Filesystems the walk may enter below a root (empty = any): a walk of
        // "/" must not wander into /proc, /sys or other pseudo filesystems.
        QSet<uint64_t> setDevices;
    };

    explicit CFileWalker(COptions options) : m_options(std::move(options)) {}

    // Files come sorted by path, each path once.
    std::vector<CFoundFile> walk(const QStringList &listRoots, int iThreads, const std::atomic_bool &bStop);

    uint64_t unreadableFolders() const { return m_iUnreadableFolders; }
    uint64_t foldersWalked() const { return m_iFolders; }

private:
    COptions m_options;
    std::atomic<uint64_t> m_iUnreadableFolders{0};
    std::atomic<uint64_t> m_iFolders{0};
};
