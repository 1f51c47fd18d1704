#pragma once

#include "CScanReport.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

class CTerminalProgress;

// Runs one scan through a scan session, without a window, and turns its groups and proposed
// marks into a report.
class CScanRunner : public QObject
{
    Q_OBJECT
public:
    enum class EnResult { Done, Interrupted, NoEngine, Failed };

    explicit CScanRunner(CTerminalProgress *pProgress, QObject *parent = nullptr);

    [[nodiscard]] EnResult run(const CScanSettings &settings, CScanReport *pReport);
    // After a scan: what it passed over, by kind, and the network mounts it did not enter.
    [[nodiscard]] QVariantList skipped() const { return m_listSkipped; }
    [[nodiscard]] QStringList skippedMounts() const { return m_listSkippedMounts; }
    // After a scan: the scanned folders that were deleted, replaced or unmounted while it ran,
    // whose photos it may have missed.
    [[nodiscard]] QStringList vanishedSources() const { return m_listVanished; }
    // After a failed scan: the engine's answer.
    [[nodiscard]] int engineResult() const { return m_iEngineResult; }

private:
    CTerminalProgress *m_pProgress = nullptr;
    QVariantList m_listSkipped;
    QStringList m_listSkippedMounts;
    QStringList m_listVanished;
    int m_iEngineResult = 0;
};
