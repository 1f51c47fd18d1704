#pragma once

#include "CDupPicsMgr.h"
#include "CLinuxVolumes.h"
#include "CPlatform.h"
#include "IRegistry.h"

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
    class CMemoryRegistry : public IRegistry
    {
    public:
        QVariant value(const QString &strKey, const QVariant &defaultValue) const override
        {
            return m_map.value(strKey, defaultValue);
        }
        bool setValue(const QString &strKey, const QVariant &value) override
        {
            m_map.insert(strKey, value);
            return true;
        }
        QMap<QString, QVariant> m_map;
    };

    QTemporaryDir m_dir;
    std::unique_ptr<CLinuxVolumes> m_pVolumes;
    CMemoryRegistry m_registry;
};
