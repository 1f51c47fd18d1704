#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
struct TcpData;

// Keeps the suite's options when the suite's own options server is not running:
// answers the options conversation under the same name and keeps the settings
// document and the chosen language as files in a folder of the user's configuration.
class COptionsServer : public QObject
{
    Q_OBJECT
public:
    explicit COptionsServer(QString strStoreDir, QObject *parent = nullptr);
    ~COptionsServer() override;

    [[nodiscard]] bool listen(const QString &strName, QString *pstrError = nullptr);

    QString optionsFilePath() const;
    QString languageFilePath() const;

Q_SIGNALS:
    void sigRecordHandled(qint32 iType);

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *pSocket);
    void handleRecord(QLocalSocket *pSocket, const TcpData &record);
    bool store(const QString &strPath, const QByteArray &bytes);

    QString m_strStoreDir;
    QLocalServer *m_pServer = nullptr;
    // Bytes of records that have not fully arrived, per connection.
    QHash<QLocalSocket *, QByteArray> m_mapPending;
};
