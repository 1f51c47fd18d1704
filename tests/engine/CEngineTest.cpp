#include "CEngineTest.h"
#include "CEngineHarness.h"

#include <QtTest>

#include <ftw.h>
#include <sys/mount.h>

#include <cstdio>

void CEngineTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", m_home.path().toUtf8());
    qputenv("XDG_CACHE_HOME", (m_home.path() + QStringLiteral("/cache")).toUtf8());
    qputenv("MIRELLE_ENGINE_STATS", (m_home.path() + QStringLiteral("/stats.txt")).toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    CEngineHarness harness;
    QVERIFY2(harness.isLoaded() && harness.extras(), SCAN_ENGINE_MODULE);
    QCOMPARE(harness.extras()->RotationMatching(), 0);
}

void CEngineTest::cleanup()
{
    for (const QString &mount : qAsConst(m_listMounts))
        ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
    m_listMounts.clear();
    removeTree(m_pDir->path());
    m_pDir.reset();
    // A test may leave a file where the cache folder goes.
    const QString cacheFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/mirelle";
    if (QFileInfo(cacheFolder).isFile())
        QFile::remove(cacheFolder);
}

void CEngineTest::removeTree(const QString &strPath)
{
    ::nftw(QFile::encodeName(strPath).constData(),
           [](const char *pszPath, const struct stat *, int, FTW *) { return ::remove(pszPath); }, 16,
           FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
}
