#include "CMainFrame.h"

#include <QFile>
#include <QQmlApplicationEngine>
#include <QUrl>

bool CMainFrame::initialize()
{
    auto *pEngine = qobject_cast<QQmlApplicationEngine *>(m_pEngine);
    if (!pEngine)
        return false;
    const bool bHaveScreens = QFile::exists(QStringLiteral(":/qml/Main.qml"));
    pEngine->load(QUrl(bHaveScreens ? QString::fromLatin1(kMainDocument) : QStringLiteral("qrc:/mainframe/Fallback.qml")));
    return !pEngine->rootObjects().isEmpty();
}

extern "C" Q_DECL_EXPORT CComponentBase *getInstance()
{
    return new CMainFrame;
}
