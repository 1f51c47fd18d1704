#pragma once

#include "CDupPicsMgr.h"
#include "CLinuxVolumes.h"
#include "CMemoryRegistry.h"
#include "CPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>

// A stand-in photo, folders included; the fake engine reports whatever sizes its script says.
inline QString writePhoto(const QString &strPath, int iBytes = 100)
{
    QDir().mkpath(QFileInfo(strPath).path());
    QFile file(strPath);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write(QByteArray(iBytes, 'x'));
    return strPath;
}

inline QByteArray fileBytes(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The fake engine's script: everything on volume "/", the scan's events and the regroup's.
inline QByteArray fakeScript(const QJsonArray &events, const QJsonArray &regroup = {})
{
    return QJsonDocument(QJsonObject{{"volumes", QJsonArray{"/"}}, {"events", events}, {"regroup", regroup}})
        .toJson(QJsonDocument::Compact);
}

// Runs a scan; false when it did not complete.
inline bool scanAndWait(CDupPicsMgr &mgr)
{
    QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
    mgr.collectDupFiles();
    return completeSpy.wait(10000);
}

// Group key -> names of the photos each group still shows, in their order.
inline QMap<quint64, QStringList> groupNames(const CDupPicsMgr &mgr)
{
    QMap<quint64, QStringList> map;
    for (quint64 key : mgr.groupOrder()) {
        GroupSummary summary;
        if (!mgr.groupSummary(key, &summary))
            continue;
        for (const CPhotoRecordCopy &file : summary.files) {
            if (!file.isHidden())
                map[key] << QFileInfo(file.path()).fileName();
        }
    }
    return map;
}

// Keeps a manager under test away from the user's registry stand-in and makes every
// path belong to one volume, "/".
class CManagerTestEnvironment
{
public:
    CManagerTestEnvironment()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Test mode still points the data folder into the real home.
        qputenv("MIRELLE_DECISIONS_DB", QFile::encodeName(m_dir.filePath(QStringLiteral("decisions.sqlite"))));
        QFile mounts(m_dir.filePath(QStringLiteral("mounts")));
        if (mounts.open(QIODevice::WriteOnly))
            mounts.write("/dev/fake / ext4 rw 0 0\n");
        mounts.close();
        m_pVolumes = std::make_unique<CLinuxVolumes>(mounts.fileName());
        dp::platform::setVolumes(m_pVolumes.get());
        dp::platform::setRegistry(&m_registry);
    }
    ~CManagerTestEnvironment()
    {
        dp::platform::setVolumes(nullptr);
        dp::platform::setRegistry(nullptr);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CLinuxVolumes> m_pVolumes;
    CMemoryRegistry m_registry;
};

#ifdef FAKE_ENGINE_PATH
#include "FakeEngineControl.h"

// What every manager test needs: the isolated environment, the fake engine the manager
// loads and a folder of its own for each test function.
class CManagerFixture
{
protected:
    CManagerFixture() { CDupPicsMgr::setEngineLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH)); }

    // A new folder; with bHome the trash and the removal journal lie below it too.
    void newFolder(bool bHome = false)
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        if (bHome) {
            qputenv("HOME", m_pDir->path().toUtf8());
            qputenv("XDG_DATA_HOME", m_pDir->filePath("xdg-data").toUtf8());
        }
    }
    QString photo(const QString &strName, int iBytes = 100) { return writePhoto(m_pDir->filePath(strName), iBytes); }
    // The engine's report of a photo: a new group when iGroup is 0, else one joining it. The
    // size is the stand-in's, so that a removal finds the file as the scan saw it.
    QJsonObject found(quint64 iId, const QString &strName, quint64 iGroup = 0, const QJsonObject &extra = {})
    {
        QJsonObject object{{"op", iGroup ? "join" : "create"}, {"id", double(iId)}, {"path", photo(strName)}, {"size", 100}};
        if (iGroup) {
            object.insert("group", double(iGroup));
            object.insert("sim", 90);
        }
        for (auto it = extra.begin(); it != extra.end(); ++it)
            object.insert(it.key(), it.value());
        return object;
    }
    void setScript(const QJsonArray &events, const QJsonArray &regroup = {}) { m_fake.setScript(fakeScript(events, regroup)); }

    CManagerTestEnvironment m_env;
    CFakeEngineControl m_fake;
    std::unique_ptr<QTemporaryDir> m_pDir;
};
#endif
