#pragma once

#include "CRemovalJournal.h"

#include <QCoreApplication>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QStringList>
#include <QVector>

// Brings the files of a recorded removal back: trashed ones out of the trash, moved ones from
// their folder. A file is refused, not forced, when its place is taken or it changed since.
// Each call opens the journal on the calling thread.
class CRemovalUndo
{
    Q_DECLARE_TR_FUNCTIONS(CRemovalUndo)

public:
    struct COutcome
    {
        qint64 i64Request = -1;
        QStringList listRestored;
        // Path and reason of every file that could not come back.
        QList<QPair<QString, QString>> listFailed;
        // Set when nothing could be tried: no journal, a foreign or damaged one, nothing to undo.
        QString strError;
    };

    explicit CRemovalUndo(const QString &strJournalPath = QString());

    [[nodiscard]] bool history(QList<CRemovalJournal::CRequest> *pRequests, QString *pstrError) const;
    // i64Request -1 undoes the newest request that still has files to bring back.
    COutcome undo(qint64 i64Request = -1) const;

private:
    enum class EnResult { Restored, NeverLeft, Refused };

    struct CTask
    {
        const CRemovalJournal::CEntry *pEntry = nullptr;
        EnResult result = EnResult::Refused;
        QString strError;
    };

    EnResult restoreOne(CRemovalJournal::EnMethod method, const CRemovalJournal::CEntry &entry,
                        QString *pstrError) const;
    void restoreAll(CRemovalJournal::EnMethod method, QVector<CTask> *pTasks) const;

    QString m_strJournalPath;
};

Q_DECLARE_METATYPE(CRemovalUndo::COutcome)
