#pragma once

#include "IScanEngine.h"

#include <QString>
#include <QStringList>

#include <mutex>

// One mounted filesystem as the engine offers it to the manager; owned by the
// engine, which keeps it alive until the engine itself goes.
class CScanVolume : public IScanVolume
{
public:
    explicit CScanVolume(QString strRoot);

    void Prepare() override;
    int32_t IsReady() override;
    const ZKChar *GetRootPath() override;
    void AddPath(const ZKChar *pszRelativePath) override;
    void ClearPaths() override;

    // The absolute folders added so far.
    QStringList absolutePaths() const;

private:
    const QString m_strRoot;
    mutable std::mutex m_mutex;
    QStringList m_listRelative;
};
