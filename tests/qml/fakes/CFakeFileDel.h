#pragma once

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// Stand-in for "dfDeltor": progress properties the tests and the screenshot tool set directly.
class CFakeFileDel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int progress READ progress WRITE setProgress NOTIFY sigProgressChanged)
    Q_PROPERTY(QString currentFile READ currentFile NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong filesize READ filesize NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong filecount READ filecount NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong proccount READ proccount NOTIFY sigProgressChanged)
    Q_PROPERTY(int cancelCount READ cancelCount NOTIFY sigProgressChanged)
    Q_PROPERTY(bool undoRunning READ isUndoRunning NOTIFY sigUndoRunningChanged)
    Q_PROPERTY(QVariantList undoCalls READ undoCalls NOTIFY sigUndoRunningChanged)
public:
    explicit CFakeFileDel(QObject *parent = nullptr) : QObject(parent) {}

    int progress() const { return m_iProgress; }
    void setProgress(int i)
    {
        m_iProgress = i;
        emit sigProgressChanged();
    }
    QString currentFile() const { return m_strCurrentFile; }
    qlonglong filesize() const { return m_i64FileSize; }
    qlonglong filecount() const { return m_i64FileCount; }
    qlonglong proccount() const { return m_i64ProcCount; }
    int cancelCount() const { return m_iCancelCount; }

    Q_INVOKABLE qlonglong totalFiles() const { return m_i64TotalFiles; }
    Q_INVOKABLE QString get2DelFileNames(const QStringList &delList) const
    {
        return delList.isEmpty() ? QString() : delList.first().section(QLatin1Char('/'), -1);
    }
    Q_INVOKABLE void tryDelCancle()
    {
        ++m_iCancelCount;
        emit sigProgressChanged();
    }

    Q_INVOKABLE QVariantList trashRefusals() const { return m_listTrashRefusals; }
    // Test control: the drives the next trash question names.
    Q_INVOKABLE void setTrashRefusals(const QVariantList &list) { m_listTrashRefusals = list; }

    Q_INVOKABLE QVariantList removalHistory() const { return m_listHistory; }
    Q_INVOKABLE QString journalProblem() const { return m_strJournalProblem; }
    // Records the call and runs until the test finishes it with finishUndo().
    Q_INVOKABLE void undoRemoval(qlonglong i64Request = -1)
    {
        m_listUndoCalls << i64Request;
        m_bUndoRunning = true;
        emit sigUndoRunningChanged();
    }
    bool isUndoRunning() const { return m_bUndoRunning; }
    QVariantList undoCalls() const { return m_listUndoCalls; }

    // Test control: the journal as removalHistory() shows it, one request per count of files
    // (newest first), or the problem that disables undo.
    Q_INVOKABLE void setHistory(const QVariantList &listFiles, const QString &strProblem = QString())
    {
        m_listHistory.clear();
        m_strJournalProblem = strProblem;
        qint64 id = listFiles.size();
        const QDateTime time(QDate(2026, 12, 6), QTime(14, 30));
        for (const QVariant &files : listFiles) {
            m_listHistory << QVariantMap{{QStringLiteral("id"), id},
                                         {QStringLiteral("time"), time.addSecs(-3600 * (listFiles.size() - id))},
                                         {QStringLiteral("method"), id % 2 ? 1 : 2},
                                         {QStringLiteral("files"), files.toInt()},
                                         {QStringLiteral("restorable"), files.toInt()}};
            --id;
        }
    }
    Q_INVOKABLE void finishUndo(const QStringList &listRestored, const QStringList &listFailed, const QString &strMessage)
    {
        if (!m_listHistory.isEmpty()) {
            QVariantMap first = m_listHistory.first().toMap();
            first.insert(QStringLiteral("restorable"), listFailed.size());
            m_listHistory.first() = first;
        }
        m_bUndoRunning = false;
        emit sigUndoRunningChanged();
        emit sigUndoFinished({{QStringLiteral("requestId"), m_listUndoCalls.value(m_listUndoCalls.size() - 1)},
                              {QStringLiteral("restored"), listRestored},
                              {QStringLiteral("failed"), listFailed},
                              {QStringLiteral("message"), strMessage}});
    }
    Q_INVOKABLE void clearUndoCalls()
    {
        m_listUndoCalls.clear();
        emit sigUndoRunningChanged();
    }

    // Test control: one call sets every figure the progress window shows.
    Q_INVOKABLE void setState(int iProgress, const QString &strFile, qlonglong i64Count,
                              qlonglong i64Total, qlonglong i64Size)
    {
        m_iProgress = iProgress;
        m_strCurrentFile = strFile;
        m_i64FileCount = i64Count;
        m_i64ProcCount = i64Count;
        m_i64TotalFiles = i64Total;
        m_i64FileSize = i64Size;
        emit sigProgressChanged();
    }

signals:
    void sigProgressChanged();
    void sigShowProcessWind();
    void sigCloseProcessWind();
    void sigUndoRunningChanged();
    void sigUndoFinished(QVariantMap result);

private:
    int m_iProgress = 0;
    QString m_strCurrentFile;
    qlonglong m_i64FileSize = 0;
    qlonglong m_i64FileCount = 0;
    qlonglong m_i64ProcCount = 0;
    qlonglong m_i64TotalFiles = 0;
    int m_iCancelCount = 0;
    QVariantList m_listHistory;
    QVariantList m_listTrashRefusals;
    QString m_strJournalProblem;
    QVariantList m_listUndoCalls;
    bool m_bUndoRunning = false;
};
