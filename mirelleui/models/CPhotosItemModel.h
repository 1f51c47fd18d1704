#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class CPhotoRecordCopy;
class CResultStore;
class CPhotosSortFilterProxyModel;

// The photos of one group. It keeps only the row order (the paths) and each row's
// thumbnail state and reads the rest from the group's records in the result store. The
// manager creates one per group on demand, owns it and carries out the marks it asks for.
class CPhotosItemModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum EnPhotoRoles {
        PhotosTypeRole = Qt::UserRole + 1,
        PhotosPathRole,
        PhotosCheckRole,
        PhotosDataTimeRole,
        PhotosWidthRole,
        PhotosHeightRole,
        PhotosFileNameRole,
        PhotosFilePathRole,
        PhotosSizeRole,
        PhotosDefinitionRole,
        PhotosMaxPathRole,
        PhotosAbsolutePathRole,
        PhotosStateRole,
        PhotosBurstRole,
        // Why the automatic rule marked the photo; empty for a mark set by hand.
        MarkReasonRole,
        PhotosSimilarityRole,
        // Whether the engine took the photo for a camera original.
        PhotosOriginalRole
    };
    Q_ENUM(EnPhotoRoles)

    enum EnThumbState { ThumbState_None = 0, ThumbState_Ready = 1, ThumbState_Failed = 2 };

    CPhotosItemModel(CResultStore *pStore, quint64 pGroup, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Role 259 asks for the mark through sigMarkRequested and changes nothing here.
    Q_INVOKABLE bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Marks at once, on the GUI thread, and says so by sigMarkedNow; no dataChanged: the
    // next read sees the record.
    Q_INVOKABLE void setCheckState(int row, bool bState);
    Q_INVOKABLE void clearMark();

    quint64 groupKey() const { return m_pGroup; }
    QString pathAt(int row) const { return m_listPaths.value(row); }
    int rowOfPath(const QString &strPath) const { return m_mapRowOfPath.value(strPath, -1); }
    bool addPhoto(const QString &strPath);
    bool refreshPhoto(const QString &strPath);
    // Re-announces every row: the group left the results, so the proxy drops them all.
    void refreshAll();
    QModelIndex indexOfPath(const QString &strPath) const;
    int proxyRowOf(int row) const;
    void setPhotoProxy(CPhotosSortFilterProxyModel *pProxy);
    void clear();

    static QString typeOfPath(const QString &strPath);
    static QString fileNameOfPath(const QString &strPath);
    static QString folderOfPath(const QString &strPath);
    // A Windows FILETIME (UTC) in local time, "yyyy-MM-dd hh:mm:ss".
    static QString dateTimeText(quint64 iFileTime);

Q_SIGNALS:
    void sigCheckStateChanged(int row, bool currentState);
    void sigRefreshThumb(int row, bool bResult);
    void sigRefreshMaxThumb(int row, QVariantList listMet);
    // Requests for the manager's operation worker; connect them directly, so that requests
    // keep the order in which they were made.
    void sigMarkRequested(quint64 pGroup, QString strPath, bool bState);
    void sigClearMarksRequested(quint64 pGroup);
    void sigMarkedNow();

public Q_SLOTS:
    // The records already carry the new marks; this only tells the views which rows.
    void setCheckState(QList<QPair<QString, bool>> listState);
    void slotRefreshThumb(QString strFilePath, bool bResult);
    void slotBigImageResult(QString filePath, QVariantMap metMap, bool bResult);
    QVariantList getFileInfo(QModelIndex row);

private:
    bool readRecord(int row, CPhotoRecordCopy *pRecord) const;
    void emitRowChanged(int row);

    quint64 m_pGroup;
    CResultStore *m_pStore;
    QHash<int, QByteArray> m_mapRoleNames;
    QStringList m_listPaths;
    QList<int> m_listThumbStates;
    QHash<QString, int> m_mapRowOfPath;
    QPointer<CPhotosSortFilterProxyModel> m_pProxy;
};
