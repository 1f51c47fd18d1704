#pragma once

#include <atomic>
#include <cstdint>

// Reference-counted base of every object that crosses a suite library boundary.
// The count starts at 1 (the creator's reference). The destructor is virtual, so
// the object is always destroyed by the module that built it.
class IZKObject
{
public:
    virtual int32_t AddRef() { return ++m_iRefCount; }
    virtual int32_t Release()
    {
        const int32_t n = --m_iRefCount;
        if (n == 0) {
            FinalRelease();
            delete this;
        }
        return n;
    }
    virtual void FinalRelease() {}
    virtual ~IZKObject() = default;

    IZKObject() = default;
    IZKObject(const IZKObject &) = delete;
    IZKObject &operator=(const IZKObject &) = delete;

protected:
    std::atomic<int32_t> m_iRefCount{1};
};
