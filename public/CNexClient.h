#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// The helper-service client, kept on this machine: the registration switch lives in the
// registry (or its stand-in), the service's requests to show something become desktop
// notifications, and nothing leaves the machine. Lives from start-up to the end of the
// event loop.
class CNexClient
{
public:
    CNexClient(QByteArray appId, QString strExecutableDir);
    ~CNexClient();

    CNexClient(const CNexClient &) = delete;
    CNexClient &operator=(const CNexClient &) = delete;

    QString dataDirectory() const { return m_strDataDir; }

    // The service asks us to show strText; 0 in every case, as the service expects.
    int onServiceCall(const QByteArray &strText, int iNumber);

    // The ID is the map's entry for the window's installVersion (lower case), else its
    // first entry, else empty.
    static QByteArray chooseAppId(const QString &strInstallVersion, const QVariantMap &mapIds);
    static bool isRegistered(const QByteArray &appId);
    [[nodiscard]] static bool setRegistered(const QByteArray &appId, bool bRegistered);

private:
    QByteArray m_appId;
    QString m_strExecutableDir;
    QString m_strDataDir;
};
