#include "CNexClient.h"

#include "CDesktopNotifier.h"
#include "CPlatform.h"
#include "CTraceLog.h"
#include "IRegistry.h"

namespace {

QString registrationKey(const QByteArray &appId)
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Quorvane\\nex\\%1\\Registered").arg(QString::fromLatin1(appId));
}

} // namespace

CNexClient::CNexClient(QByteArray appId, QString strExecutableDir)
    : m_appId(std::move(appId))
    , m_strExecutableDir(std::move(strExecutableDir))
    , m_strDataDir(m_strExecutableDir + QStringLiteral("/nexdata"))
{
    traceLog("helper service started for %s", m_appId.constData());
}

CNexClient::~CNexClient()
{
    traceLog("helper service stopped for %s", m_appId.constData());
}

int CNexClient::onServiceCall(const QByteArray &strText, int iNumber)
{
    if (strText.isEmpty() || iNumber == 0)
        return 0;
    traceLog("Ui call Exe for %s,%d", strText.constData(), iNumber);
    CDesktopNotifier::notify(QString::fromUtf8(strText));
    return 0;
}

QByteArray CNexClient::chooseAppId(const QString &strInstallVersion, const QVariantMap &mapIds)
{
    if (mapIds.isEmpty())
        return QByteArray();
    const QString key = strInstallVersion.toLower();
    const QVariant id = mapIds.contains(key) ? mapIds.value(key) : mapIds.first();
    return id.toString().toLatin1();
}

bool CNexClient::isRegistered(const QByteArray &appId)
{
    return dp::platform::registry().value(registrationKey(appId), 0).toInt() > 0;
}

bool CNexClient::setRegistered(const QByteArray &appId, bool bRegistered)
{
    return dp::platform::registry().setValue(registrationKey(appId), bRegistered ? 1 : 0);
}
