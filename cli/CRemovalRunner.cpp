#include "CRemovalRunner.h"

#include "CFileDelImplement.h"
#include "CInterruptWatcher.h"
#include "CScanReport.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

void note(FILE *pStream, const QString &strText)
{
    std::fprintf(pStream, "%s\n", qPrintable(strText));
}

} // namespace

CRemovalRunner::CRemovalRunner(EnMethod method, const QString &strFolder, bool bDryRun, FILE *pOut)
    : m_method(method), m_strFolder(strFolder), m_bDryRun(bDryRun), m_pOut(pOut)
{
}

QStringList CRemovalRunner::select(const CScanReport &report, const QStringList &listPaths, bool bProposed,
                                   int *pSkipped, FILE *pStream)
{
    QSet<QString> setWanted;
    QSet<QString> setKnown;
    for (const QString &path : listPaths)
        setWanted.insert(QFileInfo(path).absoluteFilePath());
    QStringList listSelected;
    for (const CReportGroup &group : report.listGroups) {
        QStringList listInGroup;
        for (const CReportPhoto &photo : group.listPhotos) {
            setKnown.insert(photo.strPath);
            if (bProposed ? photo.bProposed : setWanted.contains(photo.strPath))
                listInGroup << photo.strPath;
        }
        // One copy of every group stays, whatever the list says.
        if (!listInGroup.isEmpty() && listInGroup.size() == group.listPhotos.size()) {
            note(pStream, QStringLiteral("kept: %1 (the last copy of its group)").arg(listInGroup.first()));
            listInGroup.removeFirst();
            ++*pSkipped;
        }
        listSelected << listInGroup;
    }
    for (const QString &path : qAsConst(setWanted)) {
        if (!setKnown.contains(path)) {
            note(pStream, QStringLiteral("skipped: %1 (not in the saved scan)").arg(path));
            ++*pSkipped;
        }
    }
    return listSelected;
}

QString CRemovalRunner::verb(bool bDone) const
{
    const QString prefix = m_bDryRun ? QStringLiteral("would ") : QString();
    switch (m_method) {
    case EnMethod::Trash:
        return prefix + (bDone && !m_bDryRun ? QStringLiteral("trashed") : QStringLiteral("trash"));
    case EnMethod::Delete:
        return prefix + (bDone && !m_bDryRun ? QStringLiteral("deleted") : QStringLiteral("delete"));
    case EnMethod::Move:
        return prefix + (bDone && !m_bDryRun ? QStringLiteral("moved") : QStringLiteral("move"));
    }
    return QString();
}

CRemovalRunner::COutcome CRemovalRunner::run(const CScanReport &report, const QStringList &listPaths) const
{
    QHash<QString, qint64> mapSizes;
    for (const CReportGroup &group : report.listGroups)
        for (const CReportPhoto &photo : group.listPhotos)
            mapSizes.insert(photo.strPath, photo.i64Size);

    COutcome outcome;
    CFileDelImplement service;
    service.setOpenWindowPause(false);
    // One apply is one removal to undo, though we remove one file at a time.
    service.setContinueRequest(true);
    QString strFolder = m_strFolder;
    for (const QString &path : listPaths) {
        if (CInterruptWatcher::isInterrupted()) {
            outcome.bInterrupted = true;
            break;
        }
        const QFileInfo info(path);
        if (!info.isFile()) {
            note(stderr, QStringLiteral("skipped: %1 (no longer exists)").arg(path));
            ++outcome.iSkipped;
            continue;
        }
        // A file rewritten since the scan may no longer be a copy.
        if (info.size() != mapSizes.value(path, -1)) {
            note(stderr, QStringLiteral("skipped: %1 (changed since the scan)").arg(path));
            ++outcome.iSkipped;
            continue;
        }
        if (m_bDryRun) {
            note(m_pOut, verb(false) + QLatin1Char('\t') + path);
            ++outcome.iDone;
            continue;
        }
        QStringList listOne{path};
        QMap<QString, bool> mapResult;
        switch (m_method) {
        case EnMethod::Trash:
            mapResult = service.DeleFileToTrash(listOne);
            break;
        case EnMethod::Delete:
            mapResult = service.DeleFiles(listOne);
            break;
        case EnMethod::Move:
            mapResult = service.MoveFileToFloder(listOne, strFolder);
            break;
        }
        if (mapResult.value(path, false)) {
            note(m_pOut, verb(true) + QLatin1Char('\t') + path);
            ++outcome.iDone;
        } else {
            const QString reason = service.failureTexts().value(path, QStringLiteral("not done"));
            note(stderr, QStringLiteral("failed: %1 (%2)").arg(path, reason));
            ++outcome.iFailed;
        }
        std::fflush(m_pOut);
    }
    outcome.i64Request = service.lastRequestId();
    return outcome;
}
