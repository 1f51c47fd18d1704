#include "COptionsServer.h"

#include "CTcpData.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcOptionsServer, "mirelle.options")

COptionsServer::COptionsServer(QString strStoreDir, QObject *parent)
    : QObject(parent)
    , m_strStoreDir(std::move(strStoreDir))
    , m_pServer(new QLocalServer(this))
{
    connect(m_pServer, &QLocalServer::newConnection, this, &COptionsServer::onNewConnection);
}

COptionsServer::~COptionsServer()
{
    m_pServer->close();
}

QString COptionsServer::optionsFilePath() const
{
    return m_strStoreDir + QStringLiteral("/options.xml");
}

QString COptionsServer::languageFilePath() const
{
    return m_strStoreDir + QStringLiteral("/language");
}

bool COptionsServer::listen(const QString &strName, QString *pstrError)
{
    // A crashed instance leaves its socket file behind; nobody answered on it, so it is stale.
    QLocalServer::removeServer(strName);
    if (m_pServer->listen(strName))
        return true;
    if (pstrError)
        *pstrError = m_pServer->errorString();
    qCWarning(lcOptionsServer) << "cannot listen as" << strName << m_pServer->errorString();
    return false;
}

void COptionsServer::onNewConnection()
{
    while (QLocalSocket *pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { onReadyRead(pSocket); });
        connect(pSocket, &QLocalSocket::disconnected, this, [this, pSocket] {
            m_mapPending.remove(pSocket);
            pSocket->deleteLater();
        });
    }
}

void COptionsServer::onReadyRead(QLocalSocket *pSocket)
{
    QByteArray &buffer = m_mapPending[pSocket];
    buffer += pSocket->readAll();
    for (;;) {
        TcpData record;
        const CTcpData::EnReadResult result = CTcpData::takeRecord(buffer, &record);
        if (result == CTcpData::EnReadResult::Incomplete)
            return;
        if (result == CTcpData::EnReadResult::Invalid) {
            qCWarning(lcOptionsServer) << "dropping a connection that sent a malformed record";
            m_mapPending.remove(pSocket);
            pSocket->abort();
            return;
        }
        handleRecord(pSocket, record);
    }
}

void COptionsServer::handleRecord(QLocalSocket *pSocket, const TcpData &record)
{
    switch (record.type) {
    case CTcpData::RecordType_WriteOptions:
        store(optionsFilePath(), record.data);
        break;
    case CTcpData::RecordType_ReadOptions: {
        QFile file(optionsFilePath());
        // Nothing saved yet: the program keeps its defaults.
        if (!file.open(QIODevice::ReadOnly))
            break;
        TcpData reply;
        reply.type = CTcpData::RecordType_Options;
        reply.data = file.read(CTcpData::kMaxPayload);
        reply.length = static_cast<quint64>(reply.data.size());
        pSocket->write(CTcpData::serialize(reply));
        pSocket->flush();
        break;
    }
    case CTcpData::RecordType_Language:
        store(languageFilePath(), record.data);
        break;
    default:
        break;
    }
    Q_EMIT sigRecordHandled(record.type);
}

bool COptionsServer::store(const QString &strPath, const QByteArray &bytes)
{
    QDir().mkpath(m_strStoreDir);
    // Written aside and renamed, so that a full disk never leaves half a document behind.
    QSaveFile file(strPath);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    qCWarning(lcOptionsServer) << "cannot save" << strPath << file.errorString();
    return false;
}
