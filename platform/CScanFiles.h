#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// The file system calls of the scan: a walk over folders by their bytes (CPathCodec),
// whole-file reads into a reused buffer, and a scratch file that threads read and write
// at their own offsets.
namespace dp::platform {

// A path as the walk needs it; links followed unless asked otherwise.
struct CPathStat
{
    bool bExists = false;
    bool bFolder = false;
    bool bRegular = false;
    uint64_t i64Size = 0;
    uint64_t i64ModTime = 0;  // FILETIME
    uint64_t iDevice = 0;
    uint64_t iInode = 0;      // the file index on Windows
};

CPathStat statPath(const QByteArray &path);

// A folder some system keeps a volume's trash in, of any user: ".Trash" and ".Trash-<uid>"
// (the desktop's), ".Trashes" (macOS), "$RECYCLE.BIN" (Windows). Drives travel between systems.
inline bool isTrashFolderName(const char *pszName)
{
    const QByteArray name = QByteArray::fromRawData(pszName, int(std::strlen(pszName)));
    if (name == ".Trash" || name == ".Trashes" || name.compare("$RECYCLE.BIN", Qt::CaseInsensitive) == 0)
        return true;
    if (!name.startsWith(".Trash-") || name.size() == 7)
        return false;
    return std::all_of(name.cbegin() + 7, name.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

// A folder of system snapshots, which deletes its oldest in time: snapper's ".snapshots",
// ZFS's ".zfs", Timeshift's "snapshots" (in a folder named pszParent).
inline bool isSnapshotFolderName(const char *pszParent, const char *pszName)
{
    if (qstrcmp(pszName, ".snapshots") == 0 || qstrcmp(pszName, ".zfs") == 0)
        return true;
    return qstrcmp(pszName, "snapshots") == 0
        && (qstrcmp(pszParent, "timeshift") == 0 || qstrcmp(pszParent, "timeshift-btrfs") == 0);
}

// The entries of one folder, "." and ".." left out. The entry type comes from the listing
// itself where the file system gives it, so that most files need no stat call.
class CFolderListing
{
public:
    enum class EnType { Unknown, Regular, Folder, Link, Other };

    explicit CFolderListing(const QByteArray &path);
    ~CFolderListing();
    CFolderListing(const CFolderListing &) = delete;
    CFolderListing &operator=(const CFolderListing &) = delete;

    bool isOpen() const;
    // The device of the folder itself; 0 when unknown.
    uint64_t device() const;
    // False at the end; pszName stays valid until the next call.
    bool next(const char *&pszName, EnType &type);
    CPathStat statEntry(const char *pszName, bool bFollowLinks) const;

private:
    struct CState;
    std::unique_ptr<CState> m_pState;
};

// Reads a regular file of at most i64MaxBytes whole into buffer (grown, never shrunk);
// false with the reason otherwise.
[[nodiscard]] bool readWholeFile(const QString &strPath, int64_t i64MaxBytes, std::vector<uint8_t> &buffer,
                                 size_t &size, QString &strError);
// Reads at most iMaxBytes from the start of a regular file into buffer; pi64FileSize gets
// the whole file's size. False with the reason when the file cannot be read.
[[nodiscard]] bool readFileHead(const QString &strPath, size_t iMaxBytes, std::vector<uint8_t> &buffer, size_t &size,
                                uint64_t *pi64FileSize, QString &strError);

// A nameless file in a folder, gone with the process, crash or not. Reads and writes at
// offsets of their own may run on several threads at once.
class CScratchFile
{
public:
    CScratchFile();
    ~CScratchFile();
    CScratchFile(const CScratchFile &) = delete;
    CScratchFile &operator=(const CScratchFile &) = delete;

    [[nodiscard]] bool open(const QString &strFolder, QString &strError);
    bool isOpen() const;
    [[nodiscard]] bool writeAt(const char *pData, size_t size, uint64_t i64Offset, QString &strError);
    [[nodiscard]] bool readAt(uint8_t *pData, size_t size, uint64_t i64Offset) const;

private:
    struct CState;
    std::unique_ptr<CState> m_pState;
};

} // namespace dp::platform
