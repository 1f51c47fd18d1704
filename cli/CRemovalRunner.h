#pragma once

#include "CRemovalCoordinator.h"

#include <QString>
#include <QStringList>

#include <cstdio>

struct CScanReport;

// Removes the chosen photos of a saved scan through the removal coordinator's rules, one file
// at a time so that an interrupt stops between files and never inside one.
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
        // Why the removal could not be journalled (it was then not made), "" when it was.
        QString strJournalError;
    };

    // The files to remove and the guard that checks each against the disk just before it goes.
    using CPlan = CRemovalPlan;

    CRemovalRunner(EnMethod method, const QString &strFolder, bool bDryRun, FILE *pOut);

    // The photos to remove: every proposed one, or those of listPaths, minus what is unsafe:
    // paths the scan does not hold or holds twice, files outside its folders, photos without
    // a record of their content, and the last copy of a group. Paths are made canonical
    // before any rule. Reasons go to pStream.
    [[nodiscard]] static CPlan plan(const CScanReport &report, const QStringList &listPaths, bool bProposed,
                                    int *pSkipped, FILE *pStream);
    // bNeedUndo: a removal that cannot be journalled is not made.
    [[nodiscard]] COutcome run(const CPlan &plan, bool bNeedUndo) const;

private:
    QString verb(bool bDone) const;

    EnMethod m_method = EnMethod::Trash;
    QString m_strFolder;
    bool m_bDryRun = false;
    FILE *m_pOut = nullptr;
};
