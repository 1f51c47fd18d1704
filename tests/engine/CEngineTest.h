#pragma once

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The engine tests' fixture: the engine's statistics and cache in temporary folders, so that
// no test touches the user's, and a fresh folder, home and feature cache per test.
class CEngineTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
    QString path(const QString &strName) const { return m_pDir->filePath(strName); }
    // Removes a tree by bytes: QTemporaryDir cannot remove names that are not UTF-8.
    static void removeTree(const QString &strPath);

    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<QTemporaryDir> m_pCache;  // the home, where the cache goes
    QStringList m_listMounts;  // undone in cleanup()
};
