#pragma once

#include "CGroupSortFilterProxyModel.h"
#include "CNodeItemModel.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CResultStore.h"

#include <QAbstractItemModelTester>
#include <QHash>

#include <memory>
#include <vector>

// A photo as the engine reports it, shot 2021-03-04 05:06:07 UTC; the path must outlive it.
inline PhotoRecord testRecord(const QString &strPath, quint64 iId, uint8_t flags, uint64_t iSize)
{
    PhotoRecord record;
    record.pszPath = reinterpret_cast<const ZKChar *>(strPath.utf16());
    record.fileSize = iSize;
    record.dateTime = 132593079670000000ULL;
    record.flags = flags;
    record.similarity = 100;
    record.width = 640;
    record.height = 480;
    record.definition = 5.0;
    record.fileId = iId;
    return record;
}

// A result store with the models on it, filled the way the manager's intake fills them:
// records into the store, then rows into the models. Every model is under a tester.
class CStoreFixture
{
public:
    CStoreFixture()
    {
        proxy.setSourceModel(&groups);
        watch(&groups);
        watch(&proxy);
    }

    static QString pathOf(const QString &strName) { return QStringLiteral("/photos/") + strName; }

    // Files a new group of one photo; its key is the photo's file id.
    quint64 create(const QString &strName, uint8_t flags = 0, uint64_t iSize = 1000)
    {
        const quint64 key = m_iNextId;
        file(strName, key, false, flags, iSize);
        return key;
    }
    void join(const QString &strName, quint64 key, uint8_t flags = 0, uint64_t iSize = 2048)
    {
        file(strName, key, true, flags, iSize);
    }
    // The group holding strAbsorbed moves into the group holding strInto.
    void merge(const QString &strAbsorbed, const QString &strInto)
    {
        CResultStore::CMerge merge;
        if (!store.mergeGroups(pathOf(strAbsorbed), pathOf(strInto), false, &merge))
            return;
        groups.refreshGroup(merge.iOldKey);
        if (CPhotosItemModel *pOld = photosOf(merge.iOldKey))
            pOld->refreshAll();
        for (const QString &path : qAsConst(merge.listOldPaths))
            addRow(merge.iNewKey, path);
    }
    // The group's strip: its photo model behind its proxy, made once.
    CPhotosSortFilterProxyModel *open(quint64 key)
    {
        if (!m_mapStrips.contains(key)) {
            auto *pModel = new CPhotosItemModel(&store, key, &m_owner);
            auto *pProxy = new CPhotosSortFilterProxyModel(&store, key, &m_owner);
            pProxy->attachPhotosModel(pModel);
            watch(pModel);
            watch(pProxy);
            m_mapStrips.insert(key, pProxy);
        }
        return m_mapStrips.value(key);
    }
    CPhotosItemModel *photosOf(quint64 key) const
    {
        return m_mapStrips.contains(key) ? static_cast<CPhotosItemModel *>(m_mapStrips[key]->sourceModel()) : nullptr;
    }

    CResultStore store;
    CNodeItemModel groups{&store};
    CGroupSortFilterProxyModel proxy{&store};

private:
    void file(const QString &strName, quint64 key, bool bJoined, uint8_t flags, uint64_t iSize)
    {
        const QString path = pathOf(strName);
        store.addPhoto(key, CPhotoRecordCopy(testRecord(path, m_iNextId++, flags, iSize)), bJoined);
        addRow(key, path);
    }
    void addRow(quint64 key, const QString &strPath)
    {
        groups.addGroup(key);
        if (CPhotosItemModel *pModel = photosOf(key))
            pModel->addPhoto(strPath);
    }
    void watch(QAbstractItemModel *pModel)
    {
        m_listTesters.emplace_back(
            std::make_unique<QAbstractItemModelTester>(pModel, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }

    quint64 m_iNextId = 1000;
    QObject m_owner;
    QHash<quint64, CPhotosSortFilterProxyModel *> m_mapStrips;
    // Destroyed first, the testers never watch a model go.
    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_listTesters;
};
