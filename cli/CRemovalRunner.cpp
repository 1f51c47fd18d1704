#include "CRemovalRunner.h"

#include "CFileDelImplement.h"
#include "CFileStamp.h"
#include "CInterruptWatcher.h"
#include "CPathCodec.h"
#include "CScanReport.h"

#include <QDir>
#include <QHash>
#include <QSet>

namespace {

void note(FILE *pStream, const QString &strText)
{
    // File names go out as the system's bytes, so that a script can act on them.
    std::fprintf(pStream, "%s\n", dp::platform::pathToBytes(strText).constData());
}

void skip(FILE *pStream, int *pSkipped, const QString &strPath, const QString &strWhy)
{
    note(pStream, QStringLiteral("skipped: %1 (%2)").arg(strPath, strWhy));
    ++*pSkipped;
}

bool isUnder(const QString &strPath, const QStringList &listFolders)
{
    for (const QString &folder : listFolders) {
        if (folder == QLatin1String("/") || strPath.startsWith(folder + QLatin1Char('/')))
            return true;
    }
    return false;
}

CScannedFile scannedFile(const QString &strPath, const CReportPhoto &photo)
{
    return CScannedFile{strPath, photo.i64Size, photo.i64FileTime, photo.iContentKey};
}

} // namespace

CRemovalRunner::CRemovalRunner(EnMethod method, const QString &strFolder, bool bDryRun, FILE *pOut)
    : m_method(method), m_strFolder(strFolder), m_bDryRun(bDryRun), m_pOut(pOut)
{
}

CRemovalRunner::CPlan CRemovalRunner::plan(const CScanReport &report, const QStringList &listPaths, bool bProposed,
                                           int *pSkipped, FILE *pStream)
{
    // As the scan walked them: a source that is a link is followed.
    QStringList listSources;
    for (const QString &source : report.settings.listSources)
        listSources << dp::platform::resolvedFolder(source);

    // Every rule below sees one spelling per file: "//", "/./", ".." and linked folders
    // would otherwise let one file pass for two.
    QHash<QString, int> mapCount;
    QList<QList<QString>> listCanonical;
    for (const CReportGroup &group : report.listGroups) {
        QList<QString> listGroup;
        for (const CReportPhoto &photo : group.listPhotos) {
            const QString path = dp::platform::canonicalPath(photo.strPath);
            listGroup << path;
            ++mapCount[path];
        }
        listCanonical << listGroup;
    }
    QSet<QString> setWanted;
    for (const QString &path : listPaths)
        setWanted.insert(dp::platform::canonicalPath(path));

    QList<CRemovalGroup> listGroups;
    QSet<QString> setNoted;
    for (int g = 0; g < report.listGroups.size(); ++g) {
        const CReportGroup &group = report.listGroups.at(g);
        CRemovalGroup removal;
        for (int i = 0; i < group.listPhotos.size(); ++i) {
            const CReportPhoto &photo = group.listPhotos.at(i);
            const QString &path = listCanonical.at(g).at(i);
            const bool bChosen = bProposed ? photo.bProposed : setWanted.contains(path);
            QString strWhy;
            if (mapCount.value(path) > 1)
                strWhy = QStringLiteral("listed more than once in the saved scan");
            else if (!isUnder(path, listSources))
                strWhy = QStringLiteral("not under the scanned folders");
            else if (photo.iContentKey == 0 || photo.i64FileTime == 0)
                strWhy = QStringLiteral("the saved scan does not record its content");
            if (!strWhy.isEmpty()) {
                // Such a photo is neither removed nor trusted as the copy that stays.
                if (bChosen && !setNoted.contains(path)) {
                    skip(pStream, pSkipped, path, strWhy);
                    setNoted.insert(path);
                }
                continue;
            }
            (bChosen ? removal.listRemoved : removal.listKept) << scannedFile(path, photo);
        }
        listGroups << removal;
    }
    const CPlan plan = CRemovalCoordinator::plan(listGroups);
    for (const QString &path : plan.listKeptLast) {
        note(pStream, QStringLiteral("kept: %1 (the last copy of its group)").arg(path));
        ++*pSkipped;
    }
    for (const QString &path : qAsConst(setWanted)) {
        if (!mapCount.contains(path))
            skip(pStream, pSkipped, path, QStringLiteral("not in the saved scan"));
    }
    return plan;
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

CRemovalRunner::COutcome CRemovalRunner::run(const CPlan &plan, bool bNeedUndo) const
{
    COutcome outcome;
    CRemovalCoordinator coordinator;
    CFileDelImplement &service = *coordinator.deletionService();
    service.setOpenWindowPause(false);
    // One apply is one removal to undo, though we remove one file at a time.
    service.setContinueRequest(true);
    service.setRequireJournal(bNeedUndo && m_method != EnMethod::Delete);
    service.setRemovalGuard(plan.pGuard);
    QString strFolder = m_strFolder;
    for (const QString &path : plan.listPaths) {
        if (CInterruptWatcher::isInterrupted()) {
            outcome.bInterrupted = true;
            break;
        }
        if (m_bDryRun) {
            // The same last word as a real run, so that the preview tells the truth.
            const QString strWhy = plan.pGuard->check(path);
            if (strWhy.isEmpty()) {
                note(m_pOut, verb(false) + QLatin1Char('\t') + path);
                ++outcome.iDone;
            } else {
                note(stderr, QStringLiteral("skipped: %1 (%2)").arg(path, strWhy));
                ++outcome.iSkipped;
            }
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
        const QString strRefusal = plan.pGuard->refusalOf(path);
        if (mapResult.value(path, false)) {
            note(m_pOut, verb(true) + QLatin1Char('\t') + path);
            ++outcome.iDone;
        } else if (!strRefusal.isEmpty()) {
            note(stderr, QStringLiteral("skipped: %1 (%2)").arg(path, strRefusal));
            ++outcome.iSkipped;
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
