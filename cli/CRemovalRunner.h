#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

struct CScanReport;

// Removes the chosen photos of a saved scan, one file at a time so that an interrupt stops
// between files and never inside one.
class CRemovalRunner
{
public:
    enum class EnMethod { Trash, Delete, Move };

    struct COutcome
    {
        int iDone = 0;
        int iFailed = 0;
        int iSkipped = 0;
        bool bInterrupted = false;
        // The journal's request for an undo, -1 when nothing was journalled.
        qint64 i64Request = -1;
    };

    CRemovalRunner(EnMethod method, const QString &strFolder, bool bDryRun, FILE *pOut);

    // The photos to remove: every proposed one, or those of listPaths, minus what is unsafe:
    // paths the scan does not hold, and the last copy of a group. Reasons go to pStream.
    [[nodiscard]] static QStringList select(const CScanReport &report, const QStringList &listPaths, bool bProposed,
                                            int *pSkipped, FILE *pStream);
    [[nodiscard]] COutcome run(const CScanReport &report, const QStringList &listPaths) const;

private:
    QString verb(bool bDone) const;

    EnMethod m_method = EnMethod::Trash;
    QString m_strFolder;
    bool m_bDryRun = false;
    FILE *m_pOut = nullptr;
};
