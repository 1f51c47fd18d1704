#include "CLoadApp.h"

#include "CAppConfig.h"
#include "CComponentBase.h"
#include "CComponentMgr.h"
#include "CDisplaySetup.h"
#include "CLocalMessage.h"
#include "CNexClient.h"
#include "COptionsServer.h"
#include "CPathCodec.h"
#include "CPlatform.h"
#include "CTcpData.h"
#include "CTraceLog.h"
#include "IDesktop.h"
#include "IModules.h"
#include "XLogging.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickWindow>
#include <QResource>
#include <QSGRendererInterface>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>
#include <cstdlib>

namespace {

// Local messages are a few dozen bytes; a peer flooding the instance socket is cut off.
constexpr qint64 kMaxMessageBytes = 64 * 1024;

} // namespace

CLoadApp::CLoadApp(const QString &strAppName, QObject *parent)
    : QObject(parent)
    , m_strRccName(strAppName)
    , m_pLocalServer(new QLocalServer)
    , m_pInstanceSocket(new QLocalSocket)
    , m_pSuiteSocket(new QLocalSocket)
    , m_bMainland(CDisplaySetup::isMainland())
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

bool CLoadApp::nexEnable() const
{
    return CNexClient::isRegistered(helperAppId());
}

void CLoadApp::setNexEnable(bool bEnable)
{
    if (!CNexClient::setRegistered(helperAppId(), bEnable))
        return;
    Q_EMIT sigNexEanbleChanged();
}

QByteArray CLoadApp::helperAppId() const
{
    const QString installVersion =
        m_pMainWindow ? m_pMainWindow->property("installVersion").toString() : QString();
    return CNexClient::chooseAppId(installVersion, m_mapNexAppIds);
}

int CLoadApp::load(int &argc, char **argv)
{
    // Only the plug-ins and QML modules beside the executable are used.
    CAppConfig::setExecutablePath(QString::fromLocal8Bit(argv[0]));
    const QString exeDir = CAppConfig::executableDirectory();
    // Relative paths on the command line mean the folder we were started in, not ours.
    const QString strStartDir = QDir::currentPath();
    QDir::setCurrent(exeDir);
    QCoreApplication::addLibraryPath(exeDir);
    qunsetenv("QT_PLUGIN_PATH");
    qunsetenv("QML2_IMPORT_PATH");

    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    qputenv("QT_SCALE_FACTOR", QByteArray());
    // Where the desktop cannot be asked before the application exists, Qt's own scaling
    // stays in charge: a 0 here would switch it off.
    const double dScale = CDisplaySetup::screenScaleFactor(windowSize());
    if (dScale > 0)
        qputenv("QT_AUTO_SCREEN_SCALE_FACTOR", QByteArray::number(dScale, 'g', 6));
    const CDisplaySetup::COpenGLChoice openGL = CDisplaySetup::openGLFeature(false, configFilePath(QString()));

    QApplication *pApp = createApplication(argc, argv);
    int iExitCode = 0;
    // Qt has taken its own options out of argv; the bytes keep names that are not UTF-8.
    QList<QByteArray> listArguments;
    for (int i = 1; i < argc; ++i)
        listArguments << QByteArray(argv[i]);
    m_listStartPaths = pathArguments(listArguments, strStartDir);
    CTraceLog::installMessageHandler();
    if (dScale <= 0)
        qCInfo(lcLoadApp) << "screen scale factor" << CDisplaySetup::screenScaleFactor(windowSize());

    // Qt Quick draws without OpenGL where there is none (offscreen) or when the
    // configuration asks for software rendering.
    const QString platform = QGuiApplication::platformName();
    if (openGL.bSoftware || platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    // Desktop-sized text drawn as the platform draws it: distance-field text makes a field for
    // every new glyph on the render thread, which held a screen's first frame (and the GUI
    // thread waiting on it) for hundreds of milliseconds.
    QQuickWindow::setTextRenderType(QQuickWindow::NativeTextRendering);

    if (QCoreApplication::arguments().contains(QStringLiteral("uninstall"))) {
        m_pInstanceSocket->connectToServer(ownServerName(), QIODevice::ReadWrite);
        if (m_pInstanceSocket->waitForConnected(100))
            CLocalMessage::sendLocalMessage(m_pInstanceSocket, CLocalMessage::kExitApp, QByteArray(), false);
        pApp->deleteLater();
        return 0;
    }

    QApplication::setFont(QFont(CDisplaySetup::fontFamily(m_bMainland)));

    CComponentMgr componentMgr;
    QQmlApplicationEngine engine;
    componentMgr.setEngine(&engine);
    m_pEngine = &engine;
    engine.rootContext()->setContextProperty(QStringLiteral("apploader"), this);
    onEngineCreated(&engine);

    registerComponents(&componentMgr);
    const QString strRcc = dp::platform::modules().dataDirectory() + QStringLiteral("/%1.rcc").arg(m_strRccName);
    m_bRccRegistered = QResource::registerResource(strRcc, QString());
    if (!m_bRccRegistered)
        qCWarning(lcLoadApp) << "resource package not registered:" << strRcc;
    if (QObject *pMainFrame = componentMgr.loadComponent(QStringLiteral("MainFrame")))
        connect(pMainFrame, SIGNAL(sigNativeMsg(void *, long *)), this, SLOT(onNativeMsg(void *, long *)));

    if (!engine.rootObjects().isEmpty())
        m_pMainWindow = qobject_cast<QQuickWindow *>(engine.rootObjects().first());

    m_pNexClient = std::make_unique<CNexClient>(helperAppId(), exeDir);

    if (checkRunningInstance(m_pMainWindow)) {
        releaseSession();
        pApp->deleteLater();
        return 0;
    }

    ensureOptionsServer();
    Q_EMIT sigShowWindow();
    appLoaded();
    qCInfo(lcStartTime) << "Init End";

    connect(&engine, &QQmlApplicationEngine::quit, pApp, &QCoreApplication::quit);
    iExitCode = QApplication::exec();
    releaseSession();
    pApp->deleteLater();
    return iExitCode;
}

QStringList CLoadApp::pathArguments(const QList<QByteArray> &listArguments, const QString &strStartDir)
{
    QStringList listPaths;
    for (const QByteArray &argument : listArguments) {
        if (argument.isEmpty() || argument.startsWith('-') || argument == "uninstall")
            continue;
        listPaths << QDir::cleanPath(QDir(strStartDir).absoluteFilePath(dp::platform::pathFromBytes(argument)));
    }
    return listPaths;
}

void CLoadApp::releaseSession()
{
    m_pNexClient.reset();
    m_pMainWindow = nullptr;
    m_pEngine = nullptr;
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
    // The platform's own library name: "X.dll" on Windows, "libX.so" here.
    return !name.isEmpty()
        && QFile::exists(dp::platform::modules().moduleDirectory() + QLatin1Char('/')
                         + dp::platform::modules().libraryFileName(name));
}

bool CLoadApp::canNetwork() { return true; }

QString CLoadApp::currentVersion(QString product, bool installversion)
{
    return CAppConfig::currentVersion(product, installversion);
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
    return CAppConfig::configFilePath(strDefault);
}

QString CLoadApp::ownServerName() const
{
    return CLocalMessage::ownServerName(QCoreApplication::applicationFilePath(), QProcess::systemEnvironment());
}

bool CLoadApp::CheckDupAppRun(QString appName)
{
    m_pSuiteSocket->connectToServer(CLocalMessage::suiteServerName(appName, QProcess::systemEnvironment()),
                                    QIODevice::ReadWrite);
    m_pSuiteSocket->waitForConnected(1000);
    if (m_pSuiteSocket->state() == QLocalSocket::UnconnectedState)
        return false;
    qCDebug(lcLoadApp).noquote() << appName + QStringLiteral("******show.........");
    CLocalMessage::sendLocalMessage(m_pSuiteSocket, CLocalMessage::kShowApp, QByteArray(), true);
    return true;
}

bool CLoadApp::checkRunningInstance(QQuickWindow *)
{
    m_pInstanceSocket->connectToServer(ownServerName(), QIODevice::ReadWrite);
    m_pInstanceSocket->waitForConnected(1000);
    if (m_pInstanceSocket->state() != QLocalSocket::UnconnectedState) {
        // The paths are ours to scan even when the suite's interface is the one raised.
        if (!m_listStartPaths.isEmpty())
            CLocalMessage::sendLocalMessage(m_pInstanceSocket, CLocalMessage::kScanFolders,
                                            CLocalMessage::encodePaths(m_listStartPaths), true);
        const QString suite = suiteInterfaceName();
        if (suite.isEmpty() || !CheckDupAppRun(suite))
            CLocalMessage::sendLocalMessage(m_pInstanceSocket, CLocalMessage::kShowApp, QByteArray(), true);
        return true;
    }
    listenAsInstanceServer();
    return false;
}

void CLoadApp::listenAsInstanceServer()
{
    const QString name = ownServerName();
    // A crashed instance may have left its socket file behind; nobody answered on it.
    QLocalServer::removeServer(name);
    m_pLocalServer->setSocketOptions(QLocalServer::WorldAccessOption);
    m_pLocalServer->listen(name);
    connect(m_pLocalServer, &QLocalServer::newConnection, this, &CLoadApp::onNewConnection, Qt::UniqueConnection);
}

void CLoadApp::ensureOptionsServer()
{
    const QString name = QString::fromLatin1(CTcpData::kOptionsServerName);
    QLocalSocket probe;
    probe.connectToServer(name, QIODevice::ReadWrite);
    if (probe.waitForConnected(300)) {
        probe.abort();
        return;
    }
    m_pOptionsServer = new COptionsServer(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mirelle"), this);
    if (!m_pOptionsServer->listen(name)) {
        delete m_pOptionsServer;
        m_pOptionsServer = nullptr;
    }
}

void CLoadApp::onNewConnection()
{
    while (QLocalSocket *pSocket = m_pLocalServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { onInstanceMessage(pSocket); });
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
    }
}

void CLoadApp::onInstanceMessage(QLocalSocket *pSocket)
{
    if (pSocket->bytesAvailable() > kMaxMessageBytes) {
        qWarning() << "ignoring an oversized local message of" << pSocket->bytesAvailable() << "bytes";
        pSocket->abort();
        return;
    }
    const QMap<QString, QByteArray> map = CLocalMessage::parseLocalMessages(pSocket->readAll());
    if (map.contains(QLatin1String(CLocalMessage::kExitApp))) {
        if (m_pPublicLoader)
            m_pPublicLoader->release();
        QThread::msleep(500);
        QCoreApplication::quit();
        // At once: destructors of running workers and statics must not get a say.
        std::fflush(nullptr);
        std::_Exit(0);
    }
    if (map.contains(QLatin1String(CLocalMessage::kShowApp))) {
        Q_EMIT sigShowWindow();
        bringMainWindowToFront();
    }
    onMessage(map);
}

void CLoadApp::bringMainWindowToFront()
{
    if (m_pMainWindow)
        dp::platform::desktop().bringWindowToFront(m_pMainWindow);
}
