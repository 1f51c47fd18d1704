#pragma once

#include <QList>
#include <QMutex>
#include <QSortFilterProxyModel>

#include <atomic>

class CNodeItemModel;
class CResultStore;

// The group list the result screen shows: the store's groups that have something to
// show, the groups around the scroll position, and each group's caption. Owned by the
// manager, which hands it out as model().
class CGroupSortFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    static constexpr int kGroupPageSize = 6;

    explicit CGroupSortFilterProxyModel(CResultStore *pStore, QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *pSource) override;
    int currentShowPosition() const { return m_iShowPos; }
    // While paused the window reads as empty: the thumbnail refresh has nothing to make.
    void setWindowPaused(bool bPaused) { m_bWindowPaused = bPaused; }
    bool isWindowPaused() const { return m_bWindowPaused.load(); }
    // "0 KB" for nothing, else two decimals and the largest unit that keeps the value at 1 or more.
    static QString sizeText(quint64 iSize);

Q_SIGNALS:
    void sigGroupShowPosChanged();

public Q_SLOTS:
    // Group keys of the rows around the position, as pointer-sized values; callable from
    // any thread (the thumbnail refresh asks from its own).
    QList<void *> getCurrentShowGroup();
    void setCurrentShowPosition(double row);
    QString getGroupInfo(QAbstractItemModel *pModel);

protected:
    bool filterAcceptsRow(int source_row, const QModelIndex &source_parent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    void updateWindow();

    CResultStore *m_pStore;
    std::atomic_bool m_bWindowPaused{false};
    int m_iShowPos = 0;
    int m_iPageSize = kGroupPageSize;
    int m_iPagesBefore = 1;
    int m_iPagesAfter = 1;
    CNodeItemModel *m_pGroups = nullptr;
    // The window is worked out on the GUI thread whenever rows or the position change;
    // other threads read this copy instead of walking a model that is changing under them.
    mutable QMutex m_windowLock;
    QList<void *> m_listWindow;
};
