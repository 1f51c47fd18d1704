#include "CRemovalCoordinator.h"

#include "CFileDelImplement.h"
#include "CFileStamp.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace {

constexpr qint64 kSingleRequestGuardMs = 2000;

} // namespace

CRemovalCoordinator::CRemovalCoordinator(QObject *parent)
    : QObject(parent), m_pFileDel(new CFileDelImplement(this))
{
}

CRemovalCoordinator::~CRemovalCoordinator()
{
    abandonQuestions();
}

void CRemovalCoordinator::setDeleteMethod(int iMethod)
{
    m_iMethod = iMethod;
    Q_EMIT sigDeleteMethodChanged();
}

QString CRemovalCoordinator::moveFolder() const
{
    QMutexLocker locker(&m_folderLock);
    return m_strMoveFolder;
}

void CRemovalCoordinator::setScannedFolders(const QStringList &listFolders)
{
    QMutexLocker locker(&m_folderLock);
    m_listScannedFolders = listFolders;
}

QString CRemovalCoordinator::moveFolderProblem(const QString &strFolder, const QStringList &listScanned)
{
    const QString strResolved = dp::platform::resolvedFolder(strFolder);
    // The folder and those above it by identity too: a bind mount shows a scanned folder
    // under another name.
    QList<CFileStamp> listAbove;
    for (QString folder = strResolved;;) {
        listAbove << dp::platform::fileStamp(folder);
        const QString parent = QFileInfo(folder).path();
        if (parent == folder || parent.isEmpty())
            break;
        folder = parent;
    }
    for (const QString &source : listScanned) {
        const QString strSource = dp::platform::resolvedFolder(source);
        const CFileStamp sourceStamp = dp::platform::fileStamp(strSource);
        if (strSource == QLatin1String("/") || strResolved == strSource
            || strResolved.startsWith(strSource + QLatin1Char('/'))
            || std::any_of(listAbove.cbegin(), listAbove.cend(),
                           [&sourceStamp](const CFileStamp &above) { return above.isSameFile(sourceStamp); }))
            return QStringLiteral("%1 lies inside the scanned folder %2: choose a folder outside it")
                .arg(QDir::toNativeSeparators(strFolder), QDir::toNativeSeparators(source));
    }
    return QString();
}

bool CRemovalCoordinator::requestMarked(int iMethod, const QString &strMoveFolder)
{
    setDeleteMethod(iMethod);
    if (iMethod != Method_Move)
        return true;
    QMutexLocker locker(&m_folderLock);
    m_strMoveFolder = strMoveFolder;
    return !strMoveFolder.isEmpty();
}

bool CRemovalCoordinator::requestSingle(int iMethod, const QString &strPath)
{
    // The same photo asked for again within 2000 ms is a double click or a held key, and
    // each such repeat restarts the wait; another photo is a request of its own.
    if (!m_singleRequestClock.isValid())
        m_singleRequestClock.start();
    const qint64 now = m_singleRequestClock.elapsed();
    const bool bRepeat = m_iLastSingleRequestMs >= 0 && now - m_iLastSingleRequestMs <= kSingleRequestGuardMs
        && strPath == m_strLastSinglePath;
    m_iLastSingleRequestMs = now;
    m_strLastSinglePath = strPath;
    if (!bRepeat)
        setDeleteMethod(iMethod);
    return !bRepeat;
}

bool CRemovalCoordinator::checkIsContainUsb() const
{
    return m_pFileDel->driveCheck().checkIsContainUsb();
}

bool CRemovalCoordinator::checkTrashSufficient()
{
    // The question opens the progress window next: it starts from nothing.
    if (m_pFileDel->driveCheck().hasChecked())
        m_pFileDel->resetProgress();
    return m_pFileDel->driveCheck().checkTrashSufficient();
}

bool CRemovalCoordinator::checkTrashSufficient(const QString &strFilePath) const
{
    return m_pFileDel->driveCheck().checkTrashSufficient(strFilePath);
}

bool CRemovalCoordinator::checkSpace(const QString &strPath) const
{
    return m_pFileDel->driveCheck().checkSpace(strPath);
}

void CRemovalCoordinator::answer(int iAnswer)
{
    QMutexLocker locker(&m_questionLock);
    m_iAnswer = iAnswer;
    m_bAnswered = true;
    m_answered.wakeAll();
}

void CRemovalCoordinator::abandonQuestions()
{
    QMutexLocker locker(&m_questionLock);
    m_bAbandoned = true;
    m_answered.wakeAll();
}

bool CRemovalCoordinator::isAbandoned()
{
    QMutexLocker locker(&m_questionLock);
    return m_bAbandoned;
}

int CRemovalCoordinator::askAndWait(const std::function<void()> &emitQuestion)
{
    QMutexLocker locker(&m_questionLock);
    m_bAnswered = false;
    emitQuestion();
    while (!m_bAnswered && !m_bAbandoned)
        m_answered.wait(&m_questionLock);
    return m_bAbandoned ? 1 : m_iAnswer;
}

bool CRemovalCoordinator::confirmWithoutUndo()
{
    const int iMethod = m_iMethod.load();
    if (iMethod != Method_Trash && iMethod != Method_Move)
        return true;
    QString strReason;
    if (m_pFileDel->checkJournal(&strReason))
        return true;
    return askAndWait([this, strReason] { Q_EMIT signalShowCheckJournal(strReason); }) == 0;
}

QStringList CRemovalCoordinator::askWhereTrashCannotTake(const QStringList &listPaths, int *piAnswer)
{
    bool bRemovable = false;
    const QStringList listPermanent = m_pFileDel->driveCheck().pathsTrashCannotTake(listPaths, &bRemovable);
    if (listPermanent.isEmpty())
        return {};
    *piAnswer = askAndWait([this, bRemovable] {
        if (bRemovable)
            Q_EMIT signalShowCheckUsb();
        else
            Q_EMIT signalShowCheckTrash();
    });
    return listPermanent;
}

CRemovalPlan CRemovalCoordinator::plan(const QList<CRemovalGroup> &listGroups)
{
    CRemovalPlan plan;
    plan.pGuard = std::make_shared<CRemovalGuard>();
    for (const CRemovalGroup &group : listGroups) {
        QList<CScannedFile> listRemoved = group.listRemoved;
        QList<CScannedFile> listKept = group.listKept;
        if (listRemoved.isEmpty())
            continue;
        if (listKept.isEmpty()) {
            listKept << listRemoved.takeFirst();
            plan.listKeptLast << listKept.first().strPath;
        }
        for (const CScannedFile &file : qAsConst(listRemoved)) {
            plan.pGuard->add(file, listKept);
            plan.listPaths << file.strPath;
        }
    }
    return plan;
}

CRemovalCoordinator::COutcome CRemovalCoordinator::remove(QStringList listPaths, const QList<CRemovalGroup> &listGroups)
{
    COutcome outcome;
    {
        QMutexLocker locker(&m_questionLock);
        m_iAnswer = 0;
    }
    m_pFileDel->setTotalFiles(listPaths.size());
    const CRemovalPlan planned = plan(listGroups);
    for (const QString &path : planned.listKeptLast) {
        listPaths.removeAll(path);
        outcome.mapResult.insert(path, false);
    }
    m_pFileDel->setRemovalGuard(planned.pGuard);
    const auto disarm = qScopeGuard([this] { m_pFileDel->setRemovalGuard(nullptr); });
    const auto noteKept = qScopeGuard([this, &planned] {
        for (const QString &path : planned.listKeptLast)
            m_pFileDel->noteNotRemoved(path, tr("the last copy of its group stays"));
    });

    auto merge = [&outcome](const QMap<QString, bool> &mapMore) {
        for (auto it = mapMore.cbegin(); it != mapMore.cend(); ++it)
            outcome.mapResult.insert(it.key(), it.value());
    };
    if (!confirmWithoutUndo()) {
        outcome.status = EnStatus::Declined;
    } else if (m_iMethod == Method_Delete) {
        merge(m_pFileDel->DeleFiles(listPaths));
    } else if (m_iMethod == Method_Trash) {
        // Only photos the trash cannot take are asked about, and only they are deleted.
        int iAnswer = 0;
        const QStringList listPermanent = askWhereTrashCannotTake(listPaths, &iAnswer);
        if (iAnswer != 0) {
            outcome.status = EnStatus::Declined;
        } else {
            merge(m_pFileDel->trashOrDelete(listPaths, listPermanent));
            // The failure message says "delete" only when nothing went to the trash.
            if (!listPermanent.isEmpty() && listPermanent.size() >= listPaths.size())
                setDeleteMethod(Method_Delete);
        }
    } else if (m_iMethod == Method_Move) {
        QString strFolder = moveFolder();
        QStringList listScanned;
        {
            QMutexLocker locker(&m_folderLock);
            listScanned = m_listScannedFolders;
        }
        const QString strProblem = moveFolderProblem(strFolder, listScanned);
        if (!strProblem.isEmpty()) {
            for (const QString &path : qAsConst(listPaths)) {
                m_pFileDel->noteNotRemoved(path, strProblem);
                outcome.mapResult.insert(path, false);
            }
        } else if (!checkSpace(strFolder)) {
            askAndWait([this, strFolder] { Q_EMIT signalShowCheckSpace(strFolder); });
            outcome.status = EnStatus::Stopped;
        } else {
            merge(m_pFileDel->MoveFileToFloder(listPaths, strFolder));
        }
    }
    if (isAbandoned())
        outcome.status = EnStatus::Abandoned;
    return outcome;
}
