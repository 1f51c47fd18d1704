#include "CPublicLoader.h"

#include <QQmlContext>
#include <QQmlEngine>

bool CPublicLoader::initialize()
{
    if (m_pEngine)
        m_pEngine->rootContext()->setContextProperty(QStringLiteral("publicLoader"), this);
    return true;
}

void CPublicLoader::release()
{
    if (m_pEngine)
        m_pEngine->rootContext()->setContextProperty(QStringLiteral("publicLoader"), nullptr);
}

bool CPublicLoader::sendUserInfo(QString strWindow, QString strActivity, QString list)
{
    return m_usageLog.append(strWindow, strActivity, list);
}

extern "C" Q_DECL_EXPORT CComponentBase *getInstance()
{
    return new CPublicLoader;
}
