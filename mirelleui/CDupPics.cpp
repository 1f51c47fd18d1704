#include "CDupPics.h"

#include "CFileDelImplement.h"
#include "CFilePreview.h"
#include "CThumbImageProvider.h"

#include <QDataStream>
#include <QLocalSocket>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickImageProvider>

namespace {

constexpr char kOptionsServerName[] = "__Quorvane_QRN__{3A7C51E2-90B4-4F0D-B6E8-2C19D4A7F305}";

} // namespace

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
}

void CDupPics::appLoaded()
{
    m_pOptionsSocket->connectToServer(QString::fromLatin1(kOptionsServerName), QIODevice::ReadWrite);
    if (m_pOptionsSocket->state() == QLocalSocket::ConnectedState) {
        slotShowEnd();
        readOptionStart();
    }
}

void CDupPics::sendRecord(qint32 iType, quint64 iLength, const QByteArray &data)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << iType << iLength << data;
    m_pOptionsSocket->write(bytes);
}

void CDupPics::slotLanguageChanged(QString language)
{
    sendRecord(5, static_cast<quint64>(language.size()), language.toUtf8());
}

void CDupPics::slotShowEnd()
{
    sendRecord(6, 0, QByteArray());
}

void CDupPics::slotWriteOption(QByteArray strOptions)
{
    sendRecord(2, static_cast<quint64>(strOptions.size()), strOptions);
}

void CDupPics::readOptionStart()
{
    sendRecord(3, 0, QByteArray());
}

void CDupPics::onOptionsReply()
{
    QByteArray bytes = m_pOptionsSocket->readAll();
    QDataStream stream(&bytes, QIODevice::ReadOnly);
    qint32 iType = 0;
    quint64 iLength = 0;
    QByteArray data;
    stream >> iType >> iLength >> data;
    if (stream.status() == QDataStream::Ok && iType == 4)
        m_mgr.getShowSetting(data);
}
