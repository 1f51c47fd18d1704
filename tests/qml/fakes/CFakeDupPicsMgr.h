#pragma once

#include "CFakePhotoModel.h"

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <QVector>

class CFakeGroupModel;

// Stand-in for "dfMgr": the QML-facing members with the real names, no engine behind them.
// Every call the screens make is logged so that tests can check what was asked.
class CFakeDupPicsMgr : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList sources READ sources NOTIFY sigSourcesChanged)
    Q_PROPERTY(QVariantList scanSkipped MEMBER m_listScanSkipped NOTIFY sigScanSkippedChanged)
    Q_PROPERTY(QStringList scanSkippedMounts MEMBER m_listScanSkippedMounts NOTIFY sigScanSkippedChanged)
    Q_PROPERTY(qlonglong totalGroupCount READ totalGroupCount NOTIFY sigTotalGroupCountChanged)
    Q_PROPERTY(qlonglong totalDupImgSize READ totalDupImgSize NOTIFY sigTotalDupImgSizeChanged)
    Q_PROPERTY(bool hasDupPics READ hasDupPics NOTIFY sigHasDupPicsChanged)
    Q_PROPERTY(int checkedItemCount READ checkedItemCount NOTIFY sigCheckedItemCountChanged)
    Q_PROPERTY(qlonglong checkedFileSize READ checkedFileSize NOTIFY sigCheckedItemCountChanged)
    Q_PROPERTY(int deleteMethod READ deleteMethod NOTIFY sigDeleteMethodChanged)
    Q_PROPERTY(QStringList calls READ calls NOTIFY callsChanged)
    Q_PROPERTY(QString existingDirectory MEMBER m_strExistingDir)
    Q_PROPERTY(bool hasEngineExtras MEMBER m_bHasEngineExtras NOTIFY sigDecisionsChanged)
    Q_PROPERTY(bool decisionsEnabled MEMBER m_bDecisionsEnabled NOTIFY sigDecisionsChanged)
    Q_PROPERTY(QString decisionsError MEMBER m_strDecisionsError NOTIFY sigDecisionsChanged)
    Q_PROPERTY(int decisionCount READ decisionCount NOTIFY sigDecisionsChanged)
    Q_PROPERTY(QString exportError MEMBER m_strExportError)
public:
    explicit CFakeDupPicsMgr(QObject *parent = nullptr);

    QStringList sources() const { return m_listSources; }
    qlonglong totalGroupCount() const { return m_i64GroupCount; }
    qlonglong totalDupImgSize() const { return m_i64DupSize; }
    bool hasDupPics() const { return m_bHasDupPics; }
    int checkedItemCount() const { return m_iCheckedCount; }
    qlonglong checkedFileSize() const { return m_i64CheckedSize; }
    int deleteMethod() const { return m_iDeleteMethod; }
    QStringList calls() const { return m_listCalls; }

    int groupCount() const { return m_listGroups.size(); }
    CFakePhotoModel *groupAt(int row) const { return m_listGroups.value(row); }
    void recount();
    void logCall(const QString &strCall);

    // Test and screenshot control.
    Q_INVOKABLE void setupResults(const QVariantList &listPhotoCounts);
    Q_INVOKABLE void setSources(const QStringList &listSources);
    Q_INVOKABLE int callCount(const QString &strName) const;
    Q_INVOKABLE void clearCalls();
    Q_INVOKABLE void setFailedList(const QStringList &listFailed) { m_listFailed = listFailed; }
    // {id, pathA, pathB, created} per decision, as the manager's decisionList gives them.
    Q_INVOKABLE void setDecisions(const QVariantList &listDecisions);

    int decisionCount() const { return m_listDecisions.size(); }
    Q_INVOKABLE bool separateGroup(const QVariant &pGroup);
    Q_INVOKABLE bool separatePair(const QVariant &pGroup, const QString &strPathA, const QString &strPathB);
    Q_INVOKABLE QVariantList decisionList() const { return m_listDecisions; }
    Q_INVOKABLE bool forgetDecision(qlonglong iId);
    Q_INVOKABLE bool forgetAllDecisions();

    Q_INVOKABLE void addCollectPath();
    Q_INVOKABLE void addDropPaths(const QList<QUrl> &dropList);
    Q_INVOKABLE void addWholeComputer();
    Q_INVOKABLE void removeCollectPath(const QString &path);
    Q_INVOKABLE void removeCollectPath();
    Q_INVOKABLE int rowCount() const { return m_listSources.size(); }
    Q_INVOKABLE void clear();
    Q_INVOKABLE void setOption(const QVariantMap &value);
    Q_INVOKABLE QVariantMap getOption() const { return m_mapOption; }
    Q_INVOKABLE void catchOption() { logCall(QStringLiteral("catchOption")); }
    Q_INVOKABLE int getSimilarSlot() const;
    Q_INVOKABLE bool getShowDeleteWin() const { return m_bShowDeleteWin; }
    Q_INVOKABLE void setShowDeleteWin(bool bShow);

    Q_INVOKABLE void collectDupFiles() { logCall(QStringLiteral("collectDupFiles")); }
    Q_INVOKABLE void cancel() { logCall(QStringLiteral("cancel")); }
    Q_INVOKABLE qlonglong getGroupCount() const { return m_i64GroupCount; }
    Q_INVOKABLE qlonglong getTotalSize() const { return m_i64DupSize; }
    Q_INVOKABLE void resetModel();
    Q_INVOKABLE QObject *model() const;
    Q_INVOKABLE QObject *getPhotosModelByCreate(const QVariant &pGroup) const;
    Q_INVOKABLE QObject *getPhotosModelNoCreate(const QVariant &pGroup, bool bFilterModel = true) const;

    Q_INVOKABLE void doMark(const QVariant &groupKey);
    Q_INVOKABLE void doAllMark();
    Q_INVOKABLE void clearAllMark();
    Q_INVOKABLE void refreshSimilarSlot() { logCall(QStringLiteral("refreshSimilarSlot")); }
    Q_INVOKABLE void cancelRefresh();

    Q_INVOKABLE void doDelDupPicByMark(int iDelType, const QString &MoveToDirPath = QString());
    Q_INVOKABLE void doDelSingleDupPic(const QVariant &pGroup, const QString &strFilePath, int iDelType = 1);
    Q_INVOKABLE void retForCheckUsb(int iRet) { logCall(QStringLiteral("retForCheckUsb(%1)").arg(iRet)); }
    Q_INVOKABLE void retForCheckTrash(int iRet) { logCall(QStringLiteral("retForCheckTrash(%1)").arg(iRet)); }
    Q_INVOKABLE void retForCheckSpace(int iRet) { logCall(QStringLiteral("retForCheckSpace(%1)").arg(iRet)); }
    Q_INVOKABLE void retForCheckJournal(int iRet) { logCall(QStringLiteral("retForCheckJournal(%1)").arg(iRet)); }
    Q_INVOKABLE void showFailedDelList();
    Q_INVOKABLE QString getFileName(const QString &filePath) const { return filePath.section(QLatin1Char('/'), -1); }
    Q_INVOKABLE QString getExistingDirectory();
    Q_INVOKABLE void openFile(const QString &path) { logCall(QStringLiteral("openFile(%1)").arg(path)); }
    Q_INVOKABLE void locateFile(const QString &path) { logCall(QStringLiteral("locateFile(%1)").arg(path)); }
    Q_INVOKABLE void exportResults(const QString &strTarget, const QString &strFormat)
    {
        logCall(QStringLiteral("exportResults(%1,%2)").arg(strTarget, strFormat));
        emit sigExportFinished(m_strExportError);
    }

signals:
    void sigSourcesChanged();
    void sigSourcesSkipped(QStringList listPaths);
    void sigScanSkippedChanged();
    void sigSwitchToDrag();
    void sigSwitchToSouceList();
    void sigWriteOption(QByteArray arrOption);
    void signalNextPage();
    void sigProcProgress(int curStep, int curProgress);
    void sigScanComplete(int result);
    void sigNotifyCanceled();
    void sigRefreshTotalInfo();
    void sigTotalGroupCountChanged();
    void sigTotalDupImgSizeChanged();
    void sigHasDupPicsChanged();
    void sigCheckedItemCountChanged();
    void sigCanclelRefresh();
    void sigRefreshComplete(int result);
    void sigDeleteMethodChanged();
    void signalShowCheckSpace(QString path);
    void signalShowCheckJournal(QString reason);
    void signalShowCheckUsb();
    void signalShowCheckTrash();
    void sigDelOneImg(QVariant pGroup, QString filePath);
    void sigRefreshGroupInfo(QVariant pGroup);
    void sigDelDupImgsResult(QStringList failList, QStringList succList);
    void sigDelSingleDupImgResult(QString strFilePath, bool bSuccess);
    void sigShowFailedDelList(QString failList);
    void sigSendUserInfo(QString strWindow, QString strActivity, QString list);
    void sigCloseProcessWind();
    void callsChanged();
    void sigDecisionsChanged();
    void sigExportFinished(QString strMessage);

private:
    CFakePhotoModel *findGroup(const QVariant &pGroup) const;

    QStringList m_listSources;
    QVariantList m_listScanSkipped;
    QStringList m_listScanSkippedMounts;
    QVariantMap m_mapOption;
    QString m_strExportError;
    QVector<CFakePhotoModel *> m_listGroups;
    CFakeGroupModel *m_pGroupModel = nullptr;
    qlonglong m_i64GroupCount = 0;
    qlonglong m_i64DupSize = 0;
    bool m_bHasDupPics = false;
    int m_iCheckedCount = 0;
    qlonglong m_i64CheckedSize = 0;
    int m_iDeleteMethod = 1;
    bool m_bShowDeleteWin = true;
    QString m_strExistingDir;
    QStringList m_listFailed;
    QStringList m_listCalls;
    bool m_bHasEngineExtras = true;
    bool m_bDecisionsEnabled = true;
    QString m_strDecisionsError;
    QVariantList m_listDecisions;
};
