#pragma once

#include "CComponentBase.h"

// Shared services of the suite's screens; relays language changes to them.
class CPublicLoader : public CComponentBase
{
    Q_OBJECT
public:
    QString name() const override { return QStringLiteral("PublicLoader"); }
    bool initialize() override;
    void release() override;
};
