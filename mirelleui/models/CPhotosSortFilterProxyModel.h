#pragma once

#include <QMutex>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

class CPhotosItemModel;
class CResultStore;

// The photo strip of one group: its photos without the hidden ones, the photos around
// the scroll position and the per-photo actions of the result screen. Actions that
// change data leave as signals. Owned by the manager.
class CPhotosSortFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    static constexpr int kPhotoPageSize = 16;

    CPhotosSortFilterProxyModel(CResultStore *pStore, quint64 pGroup, QObject *parent = nullptr);

    // Takes the group's photo model as source, tells it about this proxy and forwards its signals.
    void attachPhotosModel(CPhotosItemModel *pModel);
    quint64 groupKey() const { return m_pGroup; }
    int currentShowPosition() const { return m_iShowPos; }

    Q_INVOKABLE void refresh();
    Q_INVOKABLE bool getCheckState(int row);
    // Why the automatic rule marked the row; empty for a hand mark or no mark.
    Q_INVOKABLE QString markReasonAt(int row);

Q_SIGNALS:
    void sigPhotosShowPosChanged();
    void sigCheckStateChanged(int row, bool currentState);
    void sigRefreshThumb(int row, bool bResult);
    void sigDeleteOnePhotos(QVariant pGroup, QString strFilePath);
    void sigRefreshMarkInfo();
    void sigNewBigImgTask(QVariant pGroup, QString filePath);
    void sigRefreshMaxThumb(int row, QVariantList listMet);

public Q_SLOTS:
    void setCurrentShowPosition(double row);
    // Paths around the position; callable from any thread, like the group window.
    QStringList getCurrentShowPhotos();
    void setCheckState(int row, bool bState);
    void setCheckStateByDesktop(int row, bool bState);
    void setCheckStateByDesktop(int row);
    void deleteOnePhotos(int row);
    void clearMark();
    QVariantList getFileInfo(int row);
    void getMaxThumb(int row);
    QVariant getPhotosWidth(int row);
    QVariant getPhotosHeight(int row);

protected:
    bool filterAcceptsRow(int source_row, const QModelIndex &source_parent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    void updateWindow();
    QVariant checkedRowValue(int row, int role);

    CResultStore *m_pStore;
    quint64 m_pGroup;
    int m_iShowPos = 0;
    int m_iPageSize = kPhotoPageSize;
    int m_iPagesBefore = 1;
    int m_iPagesAfter = 1;
    CPhotosItemModel *m_pPhotos = nullptr;
    mutable QMutex m_windowLock;
    QStringList m_listWindow;
};
