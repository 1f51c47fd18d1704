#pragma once

#include "CScanReport.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

class CTerminalProgress;

// Runs one scan through the scan manager and the engine, without a window, and turns the
// manager's groups and proposed marks into a report.
class CScanRunner : public QObject
{
    Q_OBJECT
public:
    enum class EnResult { Done, Interrupted, NoEngine, Failed };

    explicit CScanRunner(CTerminalProgress *pProgress, QObject *parent = nullptr);

    [[nodiscard]] EnResult run(const CScanSettings &settings, CScanReport *pReport);
    // After a scan: what it passed over, as the manager's scanSkipped counts it.
    [[nodiscard]] QVariantList skipped() const { return m_listSkipped; }
    [[nodiscard]] QStringList skippedMounts() const { return m_listSkippedMounts; }

private:
    CTerminalProgress *m_pProgress = nullptr;
    QVariantList m_listSkipped;
    QStringList m_listSkippedMounts;
};
