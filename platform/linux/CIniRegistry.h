#pragma once

#include "IRegistry.h"

// Registry stand-in: an INI file; the registry path's last part is the value name.
class CIniRegistry : public IRegistry
{
public:
    explicit CIniRegistry(QString strFile = QString());
    QVariant value(const QString &strKey, const QVariant &defaultValue = {}) const override;
    [[nodiscard]] bool setValue(const QString &strKey, const QVariant &value) override;

private:
    QString m_strFile;
};
