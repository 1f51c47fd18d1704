#pragma once

#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class CDupPicsMgr;
class CManagerTestEnvironment;
class CFakeEngineControl;
class QQmlEngine;

// Stand-in for "apploader": the screens only hear this signal of the loader.
class CScreenLoader : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void sigShowWindow();
};

// The real manager on the fake scan engine, with its photos, trash and journal in a
// temporary folder; shared by the screens' tests and the screenshot tool.
class CScreenFixture : public QObject
{
    Q_OBJECT
public:
    enum class EnPublish { Everything, LoaderOnly };

    explicit CScreenFixture(QObject *parent = nullptr);
    ~CScreenFixture() override;

    static void registerTypes();
    void publish(QQmlEngine *pEngine, EnPublish publish = EnPublish::Everything);
    CDupPicsMgr *mgr() const { return m_pMgr.get(); }

    // Scans groups of the given sizes, made of real pictures; group i's key is 1000 + i.
    // Returns when the manager reported the end of the scan.
    Q_INVOKABLE bool scan(const QVariantList &listCounts);
    // Makes the photos and the engine's script for the next scan; a held scan runs until
    // stopped, a slow one takes iSlowMs longer.
    Q_INVOKABLE bool prepare(const QVariantList &listCounts, bool bHold = false, int iSlowMs = 0);
    // What the next scan reports as passed over, by kind (EnScanSkipped); once.
    Q_INVOKABLE void setSkipped(const QVariantList &listCounts) { m_listSkipped = listCounts; }
    // Scans nothing, as a scan that found no duplicates.
    Q_INVOKABLE bool scanNothing() { return scan({}); }
    Q_INVOKABLE QString photoPath(int iGroup, int iRow) const;
    Q_INVOKABLE QString folder() const { return m_dir.path(); }
    // A scan or a regroup runs.
    Q_INVOKABLE bool scanning() const;
    // Marks exactly the rows of the group that listMarks says.
    Q_INVOKABLE void setMarks(int iGroup, const QVariantList &listMarks);
    Q_INVOKABLE bool exists(const QString &strPath) const;
    Q_INVOKABLE bool inTrash(const QString &strPath) const;
    Q_INVOKABLE bool makeFolder(const QString &strName) const { return QDir(m_dir.path()).mkpath(strName); }
    Q_INVOKABLE bool remove(const QString &strPath) const { return QFile::remove(strPath); }
    // Puts a file that is not the scanned photo at strPath.
    Q_INVOKABLE bool writeFile(const QString &strPath) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CManagerTestEnvironment> m_pEnv;
    std::unique_ptr<CFakeEngineControl> m_pEngine;
    std::unique_ptr<CDupPicsMgr> m_pMgr;
    CScreenLoader *m_pLoader = nullptr;
    int m_iScan = 0;
    QVariantList m_listSkipped;
};
