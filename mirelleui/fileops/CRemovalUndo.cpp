#include "CRemovalUndo.h"

#include "CFileStamp.h"
#include "CPathCodec.h"
#include "CPlatform.h"
#include "FileOpsLogging.h"
#include "IFileOps.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>

namespace {

// FAT keeps modification times in two-second steps, so a move to a memory card may round them.
constexpr qint64 kMTimeSlackMs = 2000;
// Putting a file back is a rename and the removal of its trash record: the disk waits, not
// the processor, so more threads than cores still shorten the undo.
constexpr int kRestoreThreads = 8;
constexpr int kFilesPerThreadAtLeast = 64;

bool isUnchanged(const CFileFacts &facts, const CRemovalJournal::CEntry &entry)
{
    return facts.bExists && facts.i64Size == entry.i64Size && qAbs(facts.i64MTimeMs - entry.i64MTimeMs) < kMTimeSlackMs;
}

bool isThere(const CFileFacts &facts)
{
    return facts.bExists || facts.bLink;
}

// True when strCopy holds byte for byte the file the entry recorded at its original place.
bool isCopyOf(const QString &strCopy, const CRemovalJournal::CEntry &entry)
{
    const CFileFacts copy = dp::platform::fileOps().fileFacts(strCopy);
    // Names Qt cannot spell are not read here: the copy then stays, which loses nothing.
    if (strCopy.isEmpty() || copy.bLink || !isUnchanged(copy, entry) || dp::platform::needsRawAccess(strCopy)
        || dp::platform::needsRawAccess(entry.strOriginal))
        return false;
    QFile copyFile(strCopy);
    QFile originalFile(entry.strOriginal);
    if (!copyFile.open(QIODevice::ReadOnly) || !originalFile.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 kChunk = 1 << 20;
    while (!originalFile.atEnd()) {
        const QByteArray chunk = originalFile.read(kChunk);
        if (chunk.isEmpty() || copyFile.read(kChunk) != chunk)
            return false;
    }
    return copyFile.atEnd();
}

// Where a file put back at strPath would land now: the links of its folders resolved, as far
// as they exist; the folders still missing, which undo creates, follow as named.
QString resolvedPlace(const QString &strPath)
{
    QString head = strPath;
    QString tail;
    for (int iSlash = head.lastIndexOf(QLatin1Char('/')); iSlash > 0; iSlash = head.lastIndexOf(QLatin1Char('/'))) {
        const QString folder = head.left(iSlash);
        if (isThere(dp::platform::fileOps().fileFacts(folder)))
            break;
        tail.prepend(head.mid(iSlash));
        head = folder;
    }
    return dp::platform::canonicalPath(head) + tail;
}

} // namespace

CRemovalUndo::CRemovalUndo(const QString &strJournalPath) : m_strJournalPath(strJournalPath) {}

bool CRemovalUndo::history(QList<CRemovalJournal::CRequest> *pRequests, QString *pstrError) const
{
    CRemovalJournal journal(m_strJournalPath);
    return journal.open(false, pstrError) && journal.requests(pRequests, pstrError);
}

CRemovalUndo::EnResult CRemovalUndo::restoreOne(CRemovalJournal::EnMethod method,
                                                const CRemovalJournal::CEntry &entry, QString *pstrError) const
{
    IFileOps &fileOps = dp::platform::fileOps();
    const CFileFacts original = fileOps.fileFacts(entry.strOriginal);
    // A move cut short by a crash may have left a partial copy beside its target.
    if (entry.state == CRemovalJournal::EnState::Pending && method == CRemovalJournal::EnMethod::Move)
        fileOps.discardPartialMove(entry.strPlace);
    // A file the removal never confirmed may never have left.
    if (entry.state == CRemovalJournal::EnState::Pending && isThere(original) && isUnchanged(original, entry)) {
        // A move killed after its copy took the final name, before the original went: that
        // copy is ours, and leaving it would leave the photo twice.
        if (method == CRemovalJournal::EnMethod::Move && isCopyOf(entry.strPlace, entry)) {
            QString strError;
            if (!fileOps.removeFile(entry.strPlace, &strError))
                qCWarning(lcFileOps).noquote() << "left a second copy at" << entry.strPlace << "-" << strError;
        }
        return EnResult::NeverLeft;
    }

    QString place = entry.strPlace;
    if (method == CRemovalJournal::EnMethod::Trash && place.isEmpty())
        place = fileOps.findInTrash(entry.strOriginal);
    const CFileFacts moved = place.isEmpty() ? CFileFacts() : fileOps.fileFacts(place);
    const bool bMovedThere = !place.isEmpty() && isThere(moved);
    // An undo cut short before it recorded what it had done: the file is back already.
    if (!bMovedThere && isThere(original) && isUnchanged(original, entry))
        return EnResult::Restored;
    // Its whole folder missing is most often a drive not plugged in, not a trash emptied.
    const QString strWentTo = place.left(place.lastIndexOf(QLatin1Char('/')));
    if (!bMovedThere && !strWentTo.isEmpty() && !isThere(fileOps.fileFacts(strWentTo))) {
        const QString strText = method == CRemovalJournal::EnMethod::Trash
            ? tr("the trash it went to is not there (%1): is its drive connected?")
            : tr("the folder it went to is not there (%1): is its drive connected?");
        *pstrError = strText.arg(QDir::toNativeSeparators(strWentTo));
        return EnResult::Refused;
    }
    if (!bMovedThere) {
        *pstrError = method == CRemovalJournal::EnMethod::Trash
            ? tr("it is no longer in the trash (was the trash emptied?)")
            : tr("it is no longer at %1").arg(QDir::toNativeSeparators(place));
        return EnResult::Refused;
    }
    if (isThere(original)) {
        *pstrError = tr("another file now takes its place");
        return EnResult::Refused;
    }
    if (!isUnchanged(moved, entry)) {
        *pstrError = tr("it has changed since it was removed (size or modification time differ)");
        return EnResult::Refused;
    }
    if (!entry.strResolved.isEmpty()) {
        const QString strNow = resolvedPlace(entry.strOriginal);
        if (strNow != entry.strResolved) {
            *pstrError = tr("its folder now leads to %1 (a link took its place since the removal)")
                             .arg(QDir::toNativeSeparators(strNow.left(strNow.lastIndexOf(QLatin1Char('/')))));
            return EnResult::Refused;
        }
    }
    QString strError;
    bool bOk = false;
    if (method == CRemovalJournal::EnMethod::Trash) {
        bOk = fileOps.restoreFromTrash(place, entry.strOriginal, &strError);
    } else {
        const QString folder = entry.strOriginal.left(entry.strOriginal.lastIndexOf(QLatin1Char('/')));
        if (!folder.isEmpty() && !fileOps.makeFolder(folder))
            strError = tr("its folder cannot be created again");
        else
            bOk = fileOps.moveFile(place, entry.strOriginal, &strError);
    }
    if (!bOk) {
        *pstrError = strError;
        return EnResult::Refused;
    }
    return EnResult::Restored;
}

void CRemovalUndo::restoreAll(CRemovalJournal::EnMethod method, QVector<CTask> *pTasks) const
{
    const int iThreads = std::clamp(pTasks->size() / kFilesPerThreadAtLeast, 1, kRestoreThreads);
    auto restoreRange = [this, method, pTasks](int iBegin, int iEnd) {
        for (int i = iBegin; i < iEnd; ++i) {
            CTask &task = (*pTasks)[i];
            task.result = restoreOne(method, *task.pEntry, &task.strError);
        }
    };
    if (iThreads == 1) {
        restoreRange(0, pTasks->size());
        return;
    }
    QThreadPool pool;
    pool.setMaxThreadCount(iThreads);
    QVector<QFuture<void>> futures;
    const int iStep = (pTasks->size() + iThreads - 1) / iThreads;
    for (int begin = 0; begin < pTasks->size(); begin += iStep)
        futures << QtConcurrent::run(&pool, restoreRange, begin, std::min(begin + iStep, pTasks->size()));
    for (QFuture<void> &future : futures)
        future.waitForFinished();
}

CRemovalUndo::COutcome CRemovalUndo::undo(qint64 i64Request) const
{
    COutcome outcome;
    CRemovalJournal journal(m_strJournalPath);
    if (!journal.open(false, &outcome.strError))
        return outcome;
    if (i64Request < 0) {
        i64Request = journal.lastRestorableRequest(&outcome.strError);
        if (i64Request < 0) {
            if (outcome.strError.isEmpty())
                outcome.strError = tr("There is no removal left to undo.");
            return outcome;
        }
    }
    outcome.i64Request = i64Request;
    CRemovalJournal::CRequest request;
    QList<CRemovalJournal::CEntry> listEntries;
    if (!journal.request(i64Request, &request, &outcome.strError)
        || !journal.entries(i64Request, &listEntries, &outcome.strError))
        return outcome;

    QVector<CTask> tasks;
    for (const CRemovalJournal::CEntry &entry : qAsConst(listEntries)) {
        if (entry.state == CRemovalJournal::EnState::Done || entry.state == CRemovalJournal::EnState::Pending)
            tasks.append(CTask{&entry, EnResult::Refused, QString()});
    }
    const int iTried = tasks.size();
    restoreAll(request.method, &tasks);

    // The outcomes are recorded together: an undo cut short finds the files it put back
    // where they belong and counts them as restored then.
    QList<QPair<qint64, CRemovalJournal::EnState>> listStates;
    for (const CTask &task : qAsConst(tasks)) {
        switch (task.result) {
        case EnResult::Restored:
            listStates.append(qMakePair(task.pEntry->i64Id, CRemovalJournal::EnState::Restored));
            outcome.listRestored << task.pEntry->strOriginal;
            break;
        case EnResult::NeverLeft:
            listStates.append(qMakePair(task.pEntry->i64Id, CRemovalJournal::EnState::Failed));
            break;
        case EnResult::Refused:
            qCWarning(lcFileOps).noquote() << "not restored:" << task.pEntry->strOriginal << "-" << task.strError;
            outcome.listFailed.append(qMakePair(task.pEntry->strOriginal, task.strError));
            break;
        }
    }
    if (!listStates.isEmpty() && !journal.setStates(listStates))
        qCWarning(lcFileOps) << "removal journal: the outcome of undoing request" << i64Request << "is not recorded";
    if (iTried == 0)
        outcome.strError = tr("Removal %1 has nothing left to undo.").arg(i64Request);
    return outcome;
}
