#pragma once

#include "CRemovalGuard.h"

#include <QElapsedTimer>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <memory>

class CFileDelImplement;

// One group of the results as a removal sees it: the photos asked to go and those it keeps.
struct CRemovalGroup
{
    QList<CScannedFile> listRemoved;
    QList<CScannedFile> listKept;
};

// What a request may remove, and the guard that checks each file just before it goes.
struct CRemovalPlan
{
    QStringList listPaths;
    std::shared_ptr<CRemovalGuard> pGuard;
    // Asked to go, but the last copy of a group: they stay, whatever the request says.
    QStringList listKeptLast;
};

// Holds the questions asked before a removal and runs every removal request, marked or single,
// through one path: the last copy of each group stays, the guard checks each file against the
// scan, the user is asked about undo, the trash and room, and the deletion service removes.
// Owned by the scan manager; requests run on its operation worker, answers come from the GUI.
class CRemovalCoordinator : public QObject
{
    Q_OBJECT
public:
    // The values of the scan manager's EnDupPicDelType.
    enum EnMethod { Method_Delete = 0, Method_Trash = 1, Method_Move = 2 };

    enum class EnStatus {
        Done,      // the request ran; mapResult holds every file it touched
        Declined,  // the user stopped it at a question: nothing was removed
        Stopped,   // no room in the move folder, the user was told: nothing was removed
        Abandoned  // the program closed during a question
    };
    struct COutcome
    {
        EnStatus status = EnStatus::Done;
        QMap<QString, bool> mapResult;
    };

    explicit CRemovalCoordinator(QObject *parent = nullptr);
    ~CRemovalCoordinator() override;

    CFileDelImplement *deletionService() const { return m_pFileDel; }
    int deleteMethod() const { return m_iMethod.load(); }
    void setDeleteMethod(int iMethod);
    QString moveFolder() const;
    // The folders of the scan whose photos the requests remove: no move goes into them.
    void setScannedFolders(const QStringList &listFolders);
    // Why photos scanned from listScanned must not be moved to strFolder (it lies inside one of
    // them, links resolved: the next scan would find the copies again); "" when they may.
    static QString moveFolderProblem(const QString &strFolder, const QStringList &listScanned);

    // The request for the marked photos; false when there is nothing to queue (a move
    // without a folder).
    bool requestMarked(int iMethod, const QString &strMoveFolder);
    // The request for one photo; false when it repeats the request for the same photo
    // within 2000 ms.
    bool requestSingle(int iMethod, const QString &strPath);

    // The pre-check questions the screens ask before they send a request.
    bool checkIsContainUsb() const;
    bool checkTrashSufficient();
    bool checkTrashSufficient(const QString &strFilePath) const;
    bool checkSpace(const QString &strPath) const;
    // The answer to the open question: 0 goes on.
    void answer(int iAnswer);
    // Closing the program with a question open abandons the request: nothing is removed.
    void abandonQuestions();

    // The photos of the groups that may go: a group that would lose every photo keeps the
    // first one asked for. Every planned file is armed in the guard with its group's kept ones.
    [[nodiscard]] static CRemovalPlan plan(const QList<CRemovalGroup> &listGroups);
    // Removes listPaths, as planned from listGroups, by the current method, asking first where
    // needed. A path of no group stays in the request: the guard refuses it.
    [[nodiscard]] COutcome remove(QStringList listPaths, const QList<CRemovalGroup> &listGroups);

Q_SIGNALS:
    void sigDeleteMethodChanged();
    void signalShowCheckSpace(QString path);
    void signalShowCheckJournal(QString reason);
    void signalShowCheckUsb();
    void signalShowCheckTrash();

private:
    // Emits the question and waits for the answer; 1 (stop) when abandoned.
    int askAndWait(const std::function<void()> &emitQuestion);
    // False when a trash or move request could not be undone and the user stopped it.
    bool confirmWithoutUndo();
    // Asks about the photos the trash cannot take and returns them; *piAnswer is the
    // answer, 0 when nothing was asked.
    QStringList askWhereTrashCannotTake(const QStringList &listPaths, int *piAnswer);
    bool isAbandoned();

    CFileDelImplement *m_pFileDel = nullptr;
    std::atomic_int m_iMethod{Method_Trash};
    mutable QMutex m_folderLock;
    QString m_strMoveFolder;
    QStringList m_listScannedFolders;

    QMutex m_questionLock;
    QWaitCondition m_answered;
    int m_iAnswer = 0;
    bool m_bAnswered = false;
    bool m_bAbandoned = false;

    qint64 m_iLastSingleRequestMs = -1;
    QString m_strLastSinglePath;
    QElapsedTimer m_singleRequestClock;
};
