#pragma once

#include "CComponentBase.h"
#include "CUsageEventLog.h"

// Shared services of the suite's screens: relays language changes to them and takes
// the usage events they hand on to the suite.
class CPublicLoader : public CComponentBase
{
    Q_OBJECT
public:
    QString name() const override { return QStringLiteral("PublicLoader"); }
    bool initialize() override;
    void release() override;

    // The screens pass on the scan manager's sigSendUserInfo here.
    Q_INVOKABLE bool sendUserInfo(QString strWindow, QString strActivity, QString list);

private:
    CUsageEventLog m_usageLog{CUsageEventLog::defaultFilePath()};
};
