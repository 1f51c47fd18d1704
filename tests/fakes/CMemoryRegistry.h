#pragma once

#include "IRegistry.h"

#include <QMap>

// The registry kept in memory: a test never reads or writes the user's.
class CMemoryRegistry : public IRegistry
{
public:
    QMap<QString, QVariant> map;

    QVariant value(const QString &strKey, const QVariant &defaultValue = {}) const override
    {
        return map.value(strKey, defaultValue);
    }
    bool setValue(const QString &strKey, const QVariant &value) override
    {
        map.insert(strKey, value);
        return true;
    }
};
