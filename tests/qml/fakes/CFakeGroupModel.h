#pragma once

#include <QAbstractListModel>

class CFakeDupPicsMgr;

// The group paging proxy as the screens see it: four roles and three slots.
class CFakeGroupModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(double showPosition READ showPosition NOTIFY sigGroupShowPosChanged)
public:
    explicit CFakeGroupModel(CFakeDupPicsMgr *pMgr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    double showPosition() const { return m_iShowPos; }
    void reset();
    void refreshRow(int row);

public slots:
    QVariantList getCurrentShowGroup() const;
    void setCurrentShowPosition(double row);
    QString getGroupInfo(QAbstractItemModel *pModel) const;

signals:
    void sigGroupShowPosChanged();

private:
    CFakeDupPicsMgr *m_pMgr = nullptr;
    int m_iShowPos = 0;
};
