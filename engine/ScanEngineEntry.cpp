#include "CScanEngine.h"
#include "CScanEngineExtras.h"

// The module's exports: a new engine, owned by the caller through its count, and
// the additions of an engine made here (null for any other engine).
extern "C" __attribute__((visibility("default"))) IScanEngine *GetImp()
{
    return new CScanEngine;
}

extern "C" __attribute__((visibility("default"))) IScanEngineExtras *GetImpExtras(IScanEngine *pEngine)
{
    auto *pOurs = dynamic_cast<CScanEngine *>(pEngine);
    return pOurs ? new CScanEngineExtras(pOurs) : nullptr;
}
