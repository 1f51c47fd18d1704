#include "CScanEngine.h"

// The module's only export: a new engine, owned by the caller through its count.
extern "C" __attribute__((visibility("default"))) IScanEngine *GetImp()
{
    return new CScanEngine;
}
