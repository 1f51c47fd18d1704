#pragma once

#include <QString>
#include <QVariant>

// The system's registry; on Linux an INI file stands in for it.
class IRegistry
{
public:
    virtual ~IRegistry() = default;
    // strKey is a full registry path such as "HKEY_LOCAL_MACHINE\\SOFTWARE\\...\\Value".
    virtual QVariant value(const QString &strKey, const QVariant &defaultValue = {}) const = 0;
    [[nodiscard]] virtual bool setValue(const QString &strKey, const QVariant &value) = 0;
};
