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
    qputenv("MIRELLE_ENGINE_STATS", (m_home.path() + QStringLiteral("/stats.txt")).toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    CEngineHarness harness;
    QVERIFY2(harness.isLoaded() && harness.extras(), SCAN_ENGINE_MODULE);
    QCOMPARE(harness.extras()->RotationMatching(), 0);
}

void CEngineTest::init()
{
    m_pDir = std::make_unique<QTemporaryDir>();
    // A home per test, outside the scanned folder, and with it a fresh feature cache: a scan
    // must not take an earlier test's features.
    m_pCache = std::make_unique<QTemporaryDir>();
    qputenv("HOME", QFile::encodeName(m_pCache->path()));
}

void CEngineTest::cleanup()
{
    for (const QString &mount : qAsConst(m_listMounts))
        ::umount2(QFile::encodeName(mount).constData(), MNT_DETACH);
    m_listMounts.clear();
    removeTree(m_pDir->path());
    m_pDir.reset();
    m_pCache.reset();
}

void CEngineTest::removeTree(const QString &strPath)
{
    ::nftw(QFile::encodeName(strPath).constData(),
           [](const char *pszPath, const struct stat *, int, FTW *) { return ::remove(pszPath); }, 16,
           FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
}
