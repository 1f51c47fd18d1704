#include "CRemovalUndo.h"

#include "CPlatform.h"
#include "FileOpsLogging.h"
#include "IFileOps.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

// FAT keeps modification times in two-second steps, so a move to a memory card may round them.
constexpr qint64 kMTimeSlackMs = 2000;

bool isUnchanged(const QFileInfo &info, const CRemovalJournal::CEntry &entry)
{
    return info.size() == entry.i64Size
        && qAbs(info.lastModified().toMSecsSinceEpoch() - entry.i64MTimeMs) < kMTimeSlackMs;
}

bool isThere(const QFileInfo &info)
{
    return info.exists() || info.isSymLink();
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
    const QFileInfo original(entry.strOriginal);
    // A file the removal never confirmed may never have left.
    if (entry.state == CRemovalJournal::EnState::Pending && isThere(original) && isUnchanged(original, entry))
        return EnResult::NeverLeft;

    QString place = entry.strPlace;
    if (method == CRemovalJournal::EnMethod::Trash && place.isEmpty())
        place = fileOps.findInTrash(entry.strOriginal);
    const QFileInfo moved(place);
    if (place.isEmpty() || !isThere(moved)) {
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
    QString strError;
    bool bOk = false;
    if (method == CRemovalJournal::EnMethod::Trash) {
        bOk = fileOps.restoreFromTrash(place, entry.strOriginal, &strError);
    } else {
        QDir().mkpath(original.absolutePath());
        bOk = fileOps.moveFile(place, entry.strOriginal, &strError);
    }
    if (!bOk) {
        *pstrError = strError;
        return EnResult::Refused;
    }
    return EnResult::Restored;
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

    int iTried = 0;
    for (const CRemovalJournal::CEntry &entry : qAsConst(listEntries)) {
        if (entry.state != CRemovalJournal::EnState::Done && entry.state != CRemovalJournal::EnState::Pending)
            continue;
        ++iTried;
        QString strError;
        switch (restoreOne(request.method, entry, &strError)) {
        case EnResult::Restored:
            if (!journal.markRestored(entry.i64Id))
                qCWarning(lcFileOps) << "restored but not recorded:" << entry.strOriginal;
            outcome.listRestored << entry.strOriginal;
            break;
        case EnResult::NeverLeft:
            if (!journal.confirm(entry.i64Id, false, QString()))
                qCWarning(lcFileOps) << "cannot record in the journal:" << entry.strOriginal;
            break;
        case EnResult::Refused:
            qCWarning(lcFileOps).noquote() << "not restored:" << entry.strOriginal << "-" << strError;
            outcome.listFailed.append(qMakePair(entry.strOriginal, strError));
            break;
        }
    }
    if (iTried == 0)
        outcome.strError = tr("Removal %1 has nothing left to undo.").arg(i64Request);
    return outcome;
}
