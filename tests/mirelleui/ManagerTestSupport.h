#pragma once

#include "CLinuxVolumes.h"
#include "CPlatform.h"
#include "IRegistry.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>

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
