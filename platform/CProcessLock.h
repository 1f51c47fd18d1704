#pragma once

#include <QString>

#include <cstdint>

namespace dp::platform {

// An exclusive lock on a file, shared by every process and thread that takes it; let go when
// the object goes or its process dies, so a crash leaves no stale lock behind.
class CProcessLock
{
public:
    // Waits up to iWaitMs for the lock; the file is created when missing.
    CProcessLock(const QString &strPath, int iWaitMs);
    ~CProcessLock();
    CProcessLock(const CProcessLock &) = delete;
    CProcessLock &operator=(const CProcessLock &) = delete;
    bool isHeld() const { return m_handle != kNone; }

private:
    static constexpr intptr_t kNone = -1;
    intptr_t m_handle = kNone;
};

} // namespace dp::platform
