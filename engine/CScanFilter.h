#pragma once

#include "IScanEngine.h"

#include <QSet>
#include <QString>

#include <mutex>

// The scan options one scan is set up with. Plain values, copied out of the filter.
struct CScanOptions
{
    uint64_t i64MinSize = 0;
    QSet<QString> setSuffixes;   // lower case, without the dot
    bool bOriginalOnly = false;
    bool bFollowLinks = false;
    bool bComplete = false;
};

// The filter the manager fills before a scan. A filter that was never finalized,
// or got no suffix, scans the built-in photo suffixes, so a half-set filter still
// finds photos rather than every file.
class CScanFilter : public IScanFilter
{
public:
    void Finalize(int32_t iComplete) override;
    void SetMinSize(uint64_t i64Bytes) override;
    void AddSuffix(const ZKChar *pszSuffix) override;
    void SetFollowLinks(int32_t iFollow) override;
    void SetOriginalOnly(bool bOriginalOnly) override;

    CScanOptions options() const;
    static QSet<QString> defaultSuffixes();

private:
    mutable std::mutex m_mutex;
    CScanOptions m_options;
};
