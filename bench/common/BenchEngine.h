#pragma once

// What the benchmarks that drive the engine module share: the process's CPU time and a
// folder handed to the engine as the program hands it.
#include "IScanEngine.h"

#include <QString>

#include <initializer_list>
#include <vector>

#include <sys/resource.h>

namespace benchengine {

inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Adds the absolute folder to the volume that holds it and the suffixes to the filter.
inline void addFolder(const std::vector<IScanVolume *> &listVolumes, IScanFilter *pFilter, const QString &strFolder,
                      std::initializer_list<const char16_t *> suffixes)
{
    IScanVolume *pBest = nullptr;
    QString bestRoot;
    for (IScanVolume *pVolume : listVolumes) {
        const QString root = QString::fromUtf16(pVolume->GetRootPath());
        if ((root == QLatin1String("/") || strFolder.startsWith(root + QLatin1Char('/'))) && root.size() > bestRoot.size()) {
            pBest = pVolume;
            bestRoot = root;
        }
    }
    QString relative = strFolder.mid(bestRoot.size());
    while (relative.startsWith(QLatin1Char('/')))
        relative.remove(0, 1);
    pBest->Prepare();
    pBest->AddPath(reinterpret_cast<const ZKChar *>(relative.utf16()));
    for (const char16_t *suffix : suffixes)
        pFilter->AddSuffix(suffix);
}

} // namespace benchengine
