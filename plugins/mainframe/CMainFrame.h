#pragma once

#include "CComponentBase.h"

// Loads the main QML document into the engine it is given.
class CMainFrame : public CComponentBase
{
    Q_OBJECT
public:
    static constexpr char kMainDocument[] = "qrc:/qml/Main.qml";

    QString name() const override { return QStringLiteral("MainFrame"); }
    bool initialize() override;

Q_SIGNALS:
    void sigNativeMsg(void *pMsg, long *pResult);
};
