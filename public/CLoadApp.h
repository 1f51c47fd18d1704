#pragma once

#include <QObject>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class CComponentBase;
class CComponentMgr;
class CNexClient;
class COptionsServer;
class QApplication;
class QLocalServer;
class QLocalSocket;
class QQmlApplicationEngine;
class QQuickWindow;

// The loader: prepares the process, the Qt application and the QML engine, loads the
// component plug-ins, keeps a single instance and runs the event loop. Subclasses fill
// the hooks for one program.
class CLoadApp : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool nexEnable READ nexEnable WRITE setNexEnable NOTIFY sigNexEanbleChanged)
public:
    explicit CLoadApp(const QString &strAppName, QObject *parent = nullptr);
    ~CLoadApp() override;

    int load(int &argc, char **argv);

    bool nexEnable() const;
    void setNexEnable(bool bEnable);
    bool isMainland() const { return m_bMainland; }
    QQuickWindow *mainWindow() const { return m_pMainWindow; }
    QQmlApplicationEngine *engine() const { return m_pEngine; }

    // Asks the suite program appName to show itself; true when it answered.
    bool CheckDupAppRun(QString appName);
    // The helper application ID chosen from the window's installVersion and the ID map.
    QByteArray helperAppId() const;

    // The paths among the program's arguments (not options, not "uninstall"), made
    // absolute against the folder the program was started in.
    static QStringList pathArguments(const QList<QByteArray> &listArguments, const QString &strStartDir);

Q_SIGNALS:
    void sigNexEanbleChanged();
    void sigShowWindow();

protected Q_SLOTS:
    virtual void onNativeMsg(void *pMsg, long *pResult);
    virtual void onLoadMoreQm(QString strQm);
    virtual void appLoaded();
    virtual QSize windowSize();

public:
    Q_INVOKABLE void setProductName(QString name);
    Q_INVOKABLE void setProductRcc(QString rccName);
    Q_INVOKABLE void setNexAppIDList(QVariantMap list);
    Q_INVOKABLE bool hasComponent(QString name);
    Q_INVOKABLE virtual bool canNetwork();
    Q_INVOKABLE QString currentVersion(QString product, bool installversion = false);
    Q_INVOKABLE virtual bool isNeedStartCheckUpdate();
    Q_INVOKABLE QPointF cursorPos();
    Q_INVOKABLE void currentTimeToDebug(QString str = QString());

protected:
    virtual void registerComponents(CComponentMgr *pComponentMgr);
    virtual void onEngineCreated(QQmlApplicationEngine *pEngine);
    virtual QApplication *createApplication(int &argc, char **argv);
    virtual void onMessage(QMap<QString, QByteArray> mapMessages);
    virtual QString configFilePath(QString strDefault);
    virtual bool checkRunningInstance(QQuickWindow *pWindow);

    // The suite's main interface that a second start defers to; none in the plain loader.
    virtual QString suiteInterfaceName() const { return QString(); }

    // Becomes the single-instance server under the own name.
    void listenAsInstanceServer();
    QString ownServerName() const;
    // Serves the options conversation ourselves when the suite's options server does not answer.
    void ensureOptionsServer();

    // The paths this start was given (pathArguments); a running instance gets them instead.
    QStringList startPaths() const { return m_listStartPaths; }
    QLocalSocket *instanceSocket() const { return m_pInstanceSocket; }
    QLocalSocket *suiteSocket() const { return m_pSuiteSocket; }
    CComponentBase *publicLoader() const { return m_pPublicLoader; }

private:
    void onNewConnection();
    void onInstanceMessage(QLocalSocket *pSocket);
    void bringMainWindowToFront();
    void releaseSession();

    QString m_strProductName;
    QString m_strRccName;
    QStringList m_listStartPaths;
    QVariantMap m_mapNexAppIds;
    QQuickWindow *m_pMainWindow = nullptr;
    QLocalServer *m_pLocalServer = nullptr;
    QLocalSocket *m_pInstanceSocket = nullptr;
    QQmlApplicationEngine *m_pEngine = nullptr;
    CComponentBase *m_pPublicLoader = nullptr;
    QLocalSocket *m_pSuiteSocket = nullptr;
    bool m_bMainland = false;
    bool m_bRccRegistered = false;
    std::unique_ptr<CNexClient> m_pNexClient;
    COptionsServer *m_pOptionsServer = nullptr;
};
