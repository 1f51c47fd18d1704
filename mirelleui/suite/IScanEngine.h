#pragma once

// The scan engine's binary interface. The engine lives in its own shared library
// and is reached only through the export "GetImp"; both sides include this file
// and nothing else of each other. Each interface's own operations are declared in
// the order of its operation table; unused places hold reserved entries so that
// the numbered operations keep their places.

#include "IZKObject.h"

#include <cstddef>
#include <cstdint>

// Paths cross the boundary as NUL-terminated UTF-16, as QString::utf16() gives them.
using ZKChar = char16_t;

#pragma pack(push, 2)
struct PhotoRecord
{
    void *strPath = nullptr;          // the holder's own copy of the path; null in engine records
    const ZKChar *pszPath = nullptr;  // full path, native separators
    uint64_t fileSize = 0;            // bytes
    uint64_t dateTime = 0;            // FILETIME (100 ns ticks since 1601-01-01 UTC)
    uint64_t reserved1 = 0;
    uint64_t reserved2 = 0;
    uint32_t reserved3 = 0;
    uint8_t flags = 0;                // PhotoFlag_*
    uint8_t similarity = 0;           // percent to the group's first file; 100 = identical
    uint16_t width = 0;
    uint16_t height = 0;
    double definition = 0.0;          // sharpness score; higher is sharper
    uint64_t fileId = 0;              // the engine's id of the file
};
#pragma pack(pop)

static_assert(sizeof(PhotoRecord) == 74, "PhotoRecord is shared byte for byte with the engine");
static_assert(offsetof(PhotoRecord, flags) == 52, "flags sit at byte 52");
static_assert(offsetof(PhotoRecord, definition) == 58, "definition sits at byte 58");
static_assert(offsetof(PhotoRecord, fileId) == 66, "fileId sits at byte 66");

enum EnPhotoFlag : uint8_t {
    PhotoFlag_Hidden = 1,     // not shown, not counted, never marked
    PhotoFlag_Preferred = 2,  // a camera original
    PhotoFlag_Marked = 4      // marked for removal
};

// File states given to SetFileState.
enum EnScanFileState : uint8_t {
    ScanFileState_Present = 0,
    ScanFileState_Removed = 1
};

// A volume the engine can scan. Engine-owned; the 32-bit state word at byte 16
// tells whether the volume still needs Prepare (0 = not prepared).
class IScanVolume : public IZKObject
{
public:
    virtual void Prepare() = 0;                                   // 0
    virtual void ReservedV1() {}                                  // 1
    virtual int32_t IsReady() = 0;                                // 2
    virtual const ZKChar *GetRootPath() = 0;                      // 3
    virtual void ReservedV4() {}                                  // 4
    virtual void ReservedV5() {}                                  // 5
    virtual void ReservedV6() {}                                  // 6
    virtual void ReservedV7() {}                                  // 7
    virtual void ReservedV8() {}                                  // 8
    virtual void ReservedV9() {}                                  // 9
    virtual void ReservedV10() {}                                 // 10
    virtual void AddPath(const ZKChar *pszRelativePath) = 0;      // 11
    virtual void ReservedV12() {}                                 // 12
    virtual void ClearPaths() = 0;                                // 13

protected:
    uint32_t m_iPad = 0;    // keeps the state word at byte 16 after the base's count
    uint32_t m_iState = 0;  // byte 16 of the object
};

inline uint32_t scanVolumeState(const IScanVolume *pVolume)
{
    return *reinterpret_cast<const uint32_t *>(reinterpret_cast<const char *>(pVolume) + 16);
}

class IScanFilter : public IZKObject
{
public:
    virtual void ReservedF0() {}                                  // 0
    virtual void Finalize(int32_t iComplete) = 0;                 // 1: the options are complete when 1
    virtual void SetMinSize(uint64_t i64Bytes) = 0;               // 2
    virtual void AddSuffix(const ZKChar *pszSuffix) = 0;          // 3: without the dot, any case
    virtual void ReservedF4() {}                                  // 4
    virtual void ReservedF5() {}                                  // 5
    virtual void ReservedF6() {}                                  // 6
    virtual void ReservedF7() {}                                  // 7
    virtual void SetFollowLinks(int32_t iFollow) = 0;             // 8: 0 = never follow symbolic links
    virtual void SetOriginalOnly(bool bOriginalOnly) = 0;         // 9
};

class IScanEngineSink : public virtual IZKObject
{
public:
    virtual bool OnVolume(IScanVolume *pVolume) = 0;              // 0
    virtual bool ReservedS1() { return true; }                    // 1
    virtual bool ReservedS2() { return true; }                    // 2
    virtual bool ReservedS3() { return true; }                    // 3
    virtual bool ReservedS4() { return true; }                    // 4
    virtual bool ReservedS5() { return true; }                    // 5
    virtual bool ReservedS6() { return true; }                    // 6
};

class IDuplicationGatherSink : public virtual IZKObject
{
public:
    // step 1 walks and reads files, step 2 compares them, step 3 builds the groups
    virtual bool DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes) = 0;  // 0
    virtual bool StepFinished(int32_t iStep, uint64_t i64NextItems) = 0;                   // 1
    virtual bool ReservedG2() { return true; }                                             // 2
    virtual bool ReservedG3() { return true; }                                             // 3
    virtual bool ReservedG4() { return true; }                                             // 4
    virtual bool ReservedG5() { return true; }                                             // 5
    virtual bool ReservedG6() { return true; }                                             // 6
    virtual bool OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey) = 0;             // 7
    virtual bool OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey) = 0;          // 8
    // the group of pAbsorbed's file is absorbed by the group of pInto's file
    virtual bool OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto) = 0;  // 9
    virtual bool ReservedG10() { return true; }                                            // 10
};

class IScanEngine : public IZKObject
{
public:
    virtual int32_t Initialize(int32_t *pReserved) = 0;           // 0
    virtual void Uninitialize() = 0;                              // 1
    virtual int32_t BeginScan() = 0;                              // 2
    virtual int32_t EndScan() = 0;                                // 3: 0 = the scan succeeded
    virtual void ReservedE4() {}                                  // 4
    virtual void ReservedE5() {}                                  // 5
    virtual void ReservedE6() {}                                  // 6
    virtual void SetSink(IScanEngineSink *pSink) = 0;             // 7
    virtual void ReservedE8() {}                                  // 8
    virtual void ReservedE9() {}                                  // 9
    virtual void ReservedE10() {}                                 // 10
    virtual void ReservedE11() {}                                 // 11
    virtual void ReservedE12() {}                                 // 12
    virtual void ReservedE13() {}                                 // 13
    virtual void StopRegroup() = 0;                               // 14
    virtual void Flush() = 0;                                     // 15
    virtual IScanFilter *CreateFilter() = 0;                      // 16
    virtual void ReservedE17() {}                                 // 17
    virtual void ReservedE18() {}                                 // 18
    virtual int32_t FindDuplicates(IDuplicationGatherSink *pSink, IScanFilter *pFilter,
                                   uint8_t iThreshold) = 0;       // 19
    virtual int32_t Regroup(IDuplicationGatherSink *pSink, uint8_t iThreshold) = 0;  // 20
    virtual void SetFileState(uint64_t iFileId, uint8_t iState) = 0;                 // 21
    virtual void Stop() = 0;                                      // 22
};

// The library's only export.
extern "C" {
typedef IScanEngine *(*PFN_GetImp)();
}
#define SCAN_ENGINE_ENTRY_NAME "GetImp"
