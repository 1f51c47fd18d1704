#include "CDupPics.h"

#include "CLocalMessage.h"
#include "CTcpData.h"
#include "XLogging.h"

#include "CFileDelImplement.h"
#include "CFormat.h"
#include "CFilePreview.h"
#include "CThumbImageProvider.h"

#include <QDataStream>
#include <QLocalSocket>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickImageProvider>
#include <QUrl>

CDupPics::CDupPics() : CLoadApp(QStringLiteral("MirelleUI"))
{
    m_pOptionsSocket = new QLocalSocket;
    currentTimeToDebug(QStringLiteral("CDupPics::CDupPics"));
    m_pThumbProvider = new CThumbImageProvider(false);
    m_pMaxThumbProvider = new CThumbImageProvider(true);
    connect(&m_mgr, &CDupPicsMgr::sigWriteOption, this, &CDupPics::slotWriteOption);
    connect(m_pOptionsSocket, &QLocalSocket::readyRead, this, &CDupPics::onOptionsReply);
}

CDupPics::~CDupPics()
{
    m_pOptionsSocket->abort();
    m_pOptionsSocket->disconnect();
    m_pOptionsSocket->deleteLater();
    // Providers that no engine adopted are ours to delete.
    if (!engine()) {
        delete m_pThumbProvider;
        delete m_pMaxThumbProvider;
    }
}

bool CDupPics::isNeedStartCheckUpdate()
{
    return false;
}

void CDupPics::registerComponents(CComponentMgr *pComponentMgr)
{
    CLoadApp::registerComponents(pComponentMgr);
    QQmlApplicationEngine *pEngine = engine();
    if (pEngine && m_mgr.hasEngine()) {
        QQmlContext *pContext = pEngine->rootContext();
        pContext->setContextProperty(QStringLiteral("dfMgr"), &m_mgr);
        pContext->setContextProperty(QStringLiteral("mainUI"), this);
        QQmlEngine::setObjectOwnership(m_mgr.deletionService(), QQmlEngine::CppOwnership);
        pContext->setContextProperty(QStringLiteral("dfDeltor"), m_mgr.deletionService());
        pEngine->addImageProvider(QStringLiteral("thumbProvider"), m_pThumbProvider);
        pEngine->addImageProvider(QStringLiteral("maxThumbProvider"), m_pMaxThumbProvider);
    } else {
        delete m_pThumbProvider;
        delete m_pMaxThumbProvider;
    }
    m_pThumbProvider = nullptr;
    m_pMaxThumbProvider = nullptr;
    qmlRegisterType<CDupPicsMgr>("DupPicsMgr", 1, 0, "DFMEnum");
    qmlRegisterType<CFilePreview>("FilePreview", 1, 0, "FPEnum");
    qmlRegisterSingletonType<CFormat>("Mirelle", 1, 0, "Format", [](QQmlEngine *, QJSEngine *) -> QObject * { return new CFormat; });
}

void CDupPics::appLoaded()
{
    openPaths(startPaths());
    m_pOptionsSocket->connectToServer(QString::fromLatin1(CTcpData::kOptionsServerName), QIODevice::ReadWrite);
    if (m_pOptionsSocket->state() == QLocalSocket::ConnectedState) {
        slotShowEnd();
        readOptionStart();
    }
}

void CDupPics::onMessage(QMap<QString, QByteArray> mapMessages)
{
    const auto it = mapMessages.constFind(QLatin1String(CLocalMessage::kScanFolders));
    if (it != mapMessages.constEnd())
        openPaths(CLocalMessage::decodePaths(it.value()));
}

// Folders named on the command line of this or a later start ("open with", the file
// manager's action) become the sources; the manager tells about those that are not folders.
void CDupPics::openPaths(const QStringList &listPaths)
{
    if (listPaths.isEmpty())
        return;
    // The sources of a running scan stay as they are: the engine is walking them.
    if (m_mgr.isScanning()) {
        qCInfo(lcLoadApp) << "folders not added while a scan runs:" << listPaths;
        return;
    }
    qCInfo(lcLoadApp) << "folders from the command line:" << listPaths;
    QList<QUrl> listUrls;
    for (const QString &path : listPaths)
        listUrls << QUrl::fromLocalFile(path);
    m_mgr.addDropPaths(listUrls);
}

void CDupPics::sendInfo(TcpData &data)
{
    m_pOptionsSocket->write(CTcpData::serialize(data));
}

void CDupPics::sendRecord(qint32 iType, quint64 iLength, const QByteArray &data)
{
    TcpData record{iType, iLength, data};
    sendInfo(record);
}

void CDupPics::slotLanguageChanged(QString language)
{
    sendRecord(CTcpData::RecordType_Language, static_cast<quint64>(language.size()), language.toUtf8());
}

void CDupPics::slotShowEnd()
{
    sendRecord(CTcpData::RecordType_ShowEnd, 0, QByteArray());
}

void CDupPics::slotWriteOption(QByteArray strOptions)
{
    sendRecord(CTcpData::RecordType_WriteOptions, static_cast<quint64>(strOptions.size()), strOptions);
}

void CDupPics::readOptionStart()
{
    sendRecord(CTcpData::RecordType_ReadOptions, 0, QByteArray());
}

void CDupPics::onOptionsReply()
{
    // One record per reply; anything after it is not ours to read.
    QByteArray bytes = m_pOptionsSocket->readAll();
    TcpData record;
    if (CTcpData::takeRecord(bytes, &record) == CTcpData::EnReadResult::Complete
        && record.type == CTcpData::RecordType_Options)
        m_mgr.getShowSetting(record.data);
}
