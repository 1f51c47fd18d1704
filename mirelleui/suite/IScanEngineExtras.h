#pragma once

// Additions to the scan engine beyond its fixed operation table. They are reached
// through a second, optional export so that the fixed table keeps its shape: a
// holder that finds no "GetImpExtras" in the library simply goes without them.

#include "IScanEngine.h"

// Set in PhotoRecord::flags next to the fixed PhotoFlag_* bits: the photo is a
// frame of a burst or series from one camera (taken within seconds of another
// photo of its group, or tagged as such), so it is a look-alike rather than a copy
// unless its content equals another's.
constexpr uint8_t PhotoFlag_Burst = 8;

// What a scan passed over, by kind, as GetScanSkipped counts it.
enum EnScanSkipped : uint32_t {
    ScanSkipped_Folders = 0,  // folders that could not be opened (no access, path too long)
    ScanSkipped_Unreadable,   // files that could not be read
    ScanSkipped_Damaged,      // files that are not pictures or are damaged
    ScanSkipped_TooLarge,     // pictures whose size is beyond what is opened
    ScanSkipped_NetworkMounts,  // network filesystems mounted below a scanned folder, not entered
    ScanSkipped_NotOriginal,  // similar photos left out because their group holds no camera original
    ScanSkipped_Kinds
};

// How far the running FindDuplicates is, by kind, as GetScanProgress counts it.
enum EnScanProgress : uint32_t {
    ScanProgress_Found = 0,  // candidate files the walk found (known once the walk is done)
    ScanProgress_Read,       // of those, read so far (decoded, taken from the cache or skipped)
    ScanProgress_Kinds
};

class IScanEngineExtras : public IZKObject
{
public:
    // Also match copies whose pixels were turned by 90, 180 or 270 degrees or
    // mirrored (not only their orientation tag). Off by default; applies to the next
    // FindDuplicates or Regroup.
    virtual void SetRotationMatching(int32_t iOn) = 0;
    virtual int32_t RotationMatching() = 0;

    // Pairs of content keys the user declared not duplicates: two photos whose keys
    // form a pair are never put into one group, directly or through others. Replaces
    // the previous list; pKeys holds 2 * iPairs keys. Applies to the next
    // FindDuplicates or Regroup.
    virtual void SetSeparatedPairs(const uint64_t *pKeys, uint32_t iPairs) = 0;

    // The content key of a file the engine has reported (equal keys and sizes mean
    // equal bytes; a rename keeps it). 0 when the file is unknown.
    virtual uint64_t GetContentKey(uint64_t iFileId) = 0;

    // What the last FindDuplicates passed over: pCounts[kind] for the first iCount kinds
    // of EnScanSkipped (zeros before any scan).
    virtual void GetScanSkipped(uint64_t *pCounts, uint32_t iCount) = 0;

    // Keep a small upright JPEG of every large photo the next scans decode, for
    // GetScanThumbnail. Off by default: a holder that shows no thumbnails would only
    // pay for it.
    virtual void SetScanThumbnails(int32_t iOn) = 0;

    // A small upright JPEG of a photo this engine decoded while scanning (large photos
    // only), so that its thumbnail needs no second decode of the file. Copies it into
    // pBuffer when iCapacity is enough and answers its size either way; 0 when there is
    // none or the file changed since (size or modification time). Thread-safe.
    virtual uint32_t GetScanThumbnail(const ZKChar *pPath, uint8_t *pBuffer, uint32_t iCapacity) = 0;

    // What the scan read of a file it reported: its modification time (FILETIME) and its
    // content key, so that a removal can tell whether the file is still the one scanned.
    // 0 when the file is unknown; then both stay untouched.
    virtual int32_t GetFileStamp(uint64_t iFileId, uint64_t *pModTime, uint64_t *pContentKey) = 0;

    // The mount points counted as ScanSkipped_NetworkMounts by the last FindDuplicates,
    // each followed by a NUL. Copies them into pBuffer when iCapacity (in characters) is
    // enough and answers the characters needed either way; 0 when there are none.
    virtual uint32_t GetScanSkippedMounts(ZKChar *pBuffer, uint32_t iCapacity) = 0;

    // Off (the default): photos with a trusted embedded thumbnail are compared by it
    // first, and only those that come close to another are decoded; the groups are the
    // same, only found sooner. On: every photo of a first scan is decoded.
    // Applies to the next FindDuplicates or Regroup.
    virtual void SetExactFeatures(int32_t iOn) = 0;
    virtual int32_t ExactFeatures() = 0;

    // How far the running (or last) FindDuplicates is: pCounts[kind] for the first iCount
    // kinds of EnScanProgress. The fixed step report has no total for its first step.
    // Thread-safe; cheap enough for every step report.
    virtual void GetScanProgress(uint64_t *pCounts, uint32_t iCount) = 0;
};

// The optional export: the additions of one engine made by GetImp. The result is
// owned by the caller through its count and keeps the engine alive.
extern "C" {
typedef IScanEngineExtras *(*PFN_GetImpExtras)(IScanEngine *pEngine);
}
#define SCAN_ENGINE_EXTRAS_ENTRY_NAME "GetImpExtras"
