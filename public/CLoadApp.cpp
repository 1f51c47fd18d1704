#include "CLoadApp.h"

#include "CComponentBase.h"
#include "CComponentMgr.h"
#include "CDisplaySetup.h"
#include "CLocalMessage.h"
#include "XLogging.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QResource>
#include <QThread>

CLoadApp::CLoadApp(const QString &strAppName, QObject *parent)
    : QObject(parent)
    , m_strRccName(strAppName)
    , m_pLocalServer(new QLocalServer)
    , m_pInstanceSocket(new QLocalSocket)
    , m_pSuiteSocket(new QLocalSocket)
{
}

CLoadApp::~CLoadApp()
{
    for (QLocalSocket *pSocket : {m_pInstanceSocket, m_pSuiteSocket}) {
        pSocket->abort();
        pSocket->disconnect();
        pSocket->deleteLater();
    }
    m_pLocalServer->close();
    m_pLocalServer->deleteLater();
}

void CLoadApp::setNexEnable(bool bEnable)
{
    m_bNexEnable = bEnable;
    Q_EMIT sigNexEanbleChanged();
}

int CLoadApp::load(int &argc, char **argv)
{
    // Only the plug-ins and QML modules beside the executable are used.
    const QString exeDir = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    QDir::setCurrent(exeDir);
    QCoreApplication::addLibraryPath(exeDir);
    qunsetenv("QT_PLUGIN_PATH");
    qunsetenv("QML2_IMPORT_PATH");

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    qputenv("QT_SCALE_FACTOR", QByteArray());
    qputenv("QT_AUTO_SCREEN_SCALE_FACTOR", QByteArray::number(CDisplaySetup::screenScaleFactor(), 'g', 6));
    CDisplaySetup::openGLFeature(false);

    QApplication *pApp = createApplication(argc, argv);
    int iExitCode = 0;

    if (QCoreApplication::arguments().contains(QStringLiteral("uninstall"))) {
        m_pInstanceSocket->connectToServer(ownServerName(), QIODevice::ReadWrite);
        if (m_pInstanceSocket->waitForConnected(100))
            CLocalMessage::sendLocalMessage(m_pInstanceSocket, CLocalMessage::kExitApp, QByteArray(), false);
        pApp->deleteLater();
        return 0;
    }

    QApplication::setFont(QFont(m_bMainland ? QStringLiteral("Microsoft YaHei") : QStringLiteral("Segoe UI")));

    CComponentMgr componentMgr;
    QQmlApplicationEngine engine;
    componentMgr.setEngine(&engine);
    m_pEngine = &engine;
    engine.rootContext()->setContextProperty(QStringLiteral("apploader"), this);
    onEngineCreated(&engine);

    registerComponents(&componentMgr);
    m_bRccRegistered = QResource::registerResource(
        QCoreApplication::applicationDirPath() + QStringLiteral("/%1.rcc").arg(m_strRccName), QString());
    if (QObject *pMainFrame = componentMgr.loadComponent(QStringLiteral("MainFrame")))
        connect(pMainFrame, SIGNAL(sigNativeMsg(void *, long *)), this, SLOT(onNativeMsg(void *, long *)));

    if (!engine.rootObjects().isEmpty())
        m_pMainWindow = qobject_cast<QQuickWindow *>(engine.rootObjects().first());

    if (checkRunningInstance(m_pMainWindow)) {
        m_pEngine = nullptr;
        pApp->deleteLater();
        return 0;
    }

    Q_EMIT sigShowWindow();
    appLoaded();
    qCInfo(lcStartTime) << "Init End";

    connect(&engine, &QQmlApplicationEngine::quit, pApp, &QCoreApplication::quit);
    iExitCode = QApplication::exec();
    m_pMainWindow = nullptr;
    m_pEngine = nullptr;
    pApp->deleteLater();
    return iExitCode;
}

void CLoadApp::onNativeMsg(void *, long *) {}
void CLoadApp::onLoadMoreQm(QString) {}
void CLoadApp::appLoaded() {}
QSize CLoadApp::windowSize() { return QSize(1020, 600); }

void CLoadApp::setProductName(QString name) { m_strProductName = std::move(name); }

void CLoadApp::setProductRcc(QString rccName)
{
    if (!m_bRccRegistered)
        m_strRccName = std::move(rccName);
}

void CLoadApp::setNexAppIDList(QVariantMap list) { m_mapNexAppIds = std::move(list); }

bool CLoadApp::hasComponent(QString name)
{
    return QFile::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/%1.dll").arg(name));
}

bool CLoadApp::canNetwork() { return true; }

QString CLoadApp::currentVersion(QString product, bool installversion)
{
    Q_UNUSED(installversion)
    return product == m_strProductName ? QCoreApplication::applicationVersion() : QString();
}

bool CLoadApp::isNeedStartCheckUpdate() { return true; }

QPointF CLoadApp::cursorPos() { return QCursor::pos(); }

void CLoadApp::currentTimeToDebug(QString str)
{
    qCDebug(lcStartTime) << (str.isEmpty() ? QStringLiteral("print time") : str);
}

void CLoadApp::registerComponents(CComponentMgr *pComponentMgr)
{
    m_pPublicLoader = qobject_cast<CComponentBase *>(pComponentMgr->loadComponent(QStringLiteral("PublicLoader")));
    QObject *pMultiLanguage = pComponentMgr->loadComponent(QStringLiteral("MultiLanguage"));
    if (pMultiLanguage) {
        connect(pMultiLanguage, SIGNAL(sigLoadMoreQm(QString)), this, SLOT(onLoadMoreQm(QString)));
        if (m_pPublicLoader)
            connect(pMultiLanguage, SIGNAL(sigCurrentLanguageChanged()), m_pPublicLoader,
                    SIGNAL(sigCurrentLanguageChanged()));
    }
}

void CLoadApp::onEngineCreated(QQmlApplicationEngine *) {}

QApplication *CLoadApp::createApplication(int &argc, char **argv)
{
    return new QApplication(argc, argv);
}

void CLoadApp::onMessage(QMap<QString, QByteArray>) {}

QString CLoadApp::configFilePath(QString strDefault)
{
    return strDefault;
}

QString CLoadApp::ownServerName() const
{
    return CLocalMessage::ownServerName(QCoreApplication::applicationFilePath(), QProcess::systemEnvironment());
}

bool CLoadApp::checkRunningInstance(QQuickWindow *)
{
    m_pInstanceSocket->connectToServer(ownServerName(), QIODevice::ReadWrite);
    m_pInstanceSocket->waitForConnected(1000);
    if (m_pInstanceSocket->state() != QLocalSocket::UnconnectedState) {
        CLocalMessage::sendLocalMessage(m_pInstanceSocket, CLocalMessage::kShowApp, QByteArray(), true);
        return true;
    }
    listenAsInstanceServer();
    return false;
}

void CLoadApp::listenAsInstanceServer()
{
    const QString name = ownServerName();
    // A crashed instance may have left its socket file behind.
    QLocalServer::removeServer(name);
    m_pLocalServer->setSocketOptions(QLocalServer::WorldAccessOption);
    m_pLocalServer->listen(name);
    connect(m_pLocalServer, &QLocalServer::newConnection, this, &CLoadApp::onNewConnection, Qt::UniqueConnection);
}

void CLoadApp::onNewConnection()
{
    while (QLocalSocket *pSocket = m_pLocalServer->nextPendingConnection())
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { onInstanceMessage(pSocket); });
}

void CLoadApp::onInstanceMessage(QLocalSocket *pSocket)
{
    const QMap<QString, QByteArray> map = CLocalMessage::parseLocalMessages(pSocket->readAll());
    if (map.contains(QLatin1String(CLocalMessage::kExitApp))) {
        if (m_pPublicLoader)
            m_pPublicLoader->release();
        QThread::msleep(500);
        QCoreApplication::quit();
        ::exit(0);
    }
    if (map.contains(QLatin1String(CLocalMessage::kShowApp))) {
        Q_EMIT sigShowWindow();
        bringMainWindowToFront();
    }
    onMessage(map);
}

void CLoadApp::bringMainWindowToFront()
{
    if (!m_pMainWindow)
        return;
    m_pMainWindow->showNormal();
    m_pMainWindow->raise();
    m_pMainWindow->requestActivate();
}
