#pragma once

#include <QAbstractListModel>
#include <QVariant>
#include <QVector>

class CFakeDupPicsMgr;

struct CFakePhoto
{
    QString strPath;
    int iWidth = 0;
    int iHeight = 0;
    qlonglong i64Size = 0;
    QString strDate;
    bool bMarked = false;
    bool bBurst = false;
    int iSimilarity = 100;
    int iState = 1; // 0 no thumbnail yet, 1 ready, 2 failed
};

// One group's photos with the photo paging proxy's roles and slots; owned by the fake manager.
class CFakePhotoModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(double showPosition READ showPosition NOTIFY sigPhotosShowPosChanged)
    Q_PROPERTY(QString lastMaxThumbPath READ lastMaxThumbPath NOTIFY sigNewBigImgTask)
public:
    enum EnPhotoRoles {
        PhotosType = Qt::UserRole + 1,
        PhotosPath, PhotosCheck, PhotosDataTime, PhotosWidth, PhotosHeight, PhotosFileName,
        PhotosFilePath, PhotosSize, PhotosDefinition, PhotosMaxPath, PhotosAbsolutePath, PhotosState, PhotosBurst,
        PhotosSimilarity
    };

    CFakePhotoModel(CFakeDupPicsMgr *pMgr, quint64 pGroup, QVector<CFakePhoto> listPhotos);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    quint64 groupKey() const { return m_pGroup; }
    const QVector<CFakePhoto> &photos() const { return m_listPhotos; }
    double showPosition() const { return m_iShowPos; }
    QString lastMaxThumbPath() const { return m_strLastMaxThumb; }
    void setAllMarks(bool bKeepFirst, bool bOn);
    void removePath(const QString &strPath);
    Q_INVOKABLE void setThumbState(int row, int iState);
    Q_INVOKABLE void setMarks(const QVariantList &listMarks);
    Q_INVOKABLE void setBurst(const QVariantList &listBurst);

    Q_INVOKABLE void refresh();
    Q_INVOKABLE bool getCheckState(int row) const;

public slots:
    void setCurrentShowPosition(double row);
    QStringList getCurrentShowPhotos() const;
    void setCheckState(int row, bool bState);
    void setCheckStateByDesktop(int row, bool bState);
    void setCheckStateByDesktop(int row);
    void deleteOnePhotos(int row);
    void clearMark();
    QVariantList getFileInfo(int row) const;
    void getMaxThumb(int row);
    QVariant getPhotosWidth(int row) const;
    QVariant getPhotosHeight(int row) const;

signals:
    void sigPhotosShowPosChanged();
    void sigCheckStateChanged(int row, bool currentState);
    void sigRefreshThumb(int row, bool bResult);
    void sigDeleteOnePhotos(QVariant pGroup, QString strFilePath);
    void sigRefreshMarkInfo();
    void sigNewBigImgTask(QVariant pGroup, QString filePath);
    void sigRefreshMaxThumb(int row, QVariantList listMet);

private:
    QString photoId(int row) const;

    CFakeDupPicsMgr *m_pMgr = nullptr;
    quint64 m_pGroup = 0;
    QVector<CFakePhoto> m_listPhotos;
    int m_iShowPos = 0;
    QString m_strLastMaxThumb;
};
