#include "CFakeQmlEnv.h"

#include "CFakeDupPicsMgr.h"
#include "CFakeEnums.h"
#include "CFakeFileDel.h"
#include "CFakeImageProvider.h"
#include "CFakeLoader.h"
#include "CFormat.h"

#include <QQmlContext>
#include <QQmlEngine>

CFakeQmlEnv::CFakeQmlEnv(QObject *parent)
    : QObject(parent), m_pMgr(new CFakeDupPicsMgr(this)), m_pDeltor(new CFakeFileDel(this)),
      m_pLoader(new CFakeLoader(this))
{
}

void CFakeQmlEnv::registerTypes()
{
    qmlRegisterType<CFakeDfmEnum>("DupPicsMgr", 1, 0, "DFMEnum");
    qmlRegisterType<CFakeFpEnum>("FilePreview", 1, 0, "FPEnum");
    qmlRegisterSingletonType<CFormat>("Mirelle", 1, 0, "Format", [](QQmlEngine *, QJSEngine *) -> QObject * { return new CFormat; });
}

void CFakeQmlEnv::publish(QQmlEngine *pEngine, EnPublish publish)
{
    QQmlContext *pContext = pEngine->rootContext();
    pContext->setContextProperty(QStringLiteral("apploader"), m_pLoader);
    if (publish == EnPublish::LoaderOnly)
        return;
    pContext->setContextProperty(QStringLiteral("dfMgr"), m_pMgr);
    pContext->setContextProperty(QStringLiteral("dfDeltor"), m_pDeltor);
    pContext->setContextProperty(QStringLiteral("mainUI"), this);
    pEngine->addImageProvider(QStringLiteral("thumbProvider"), new CFakeImageProvider(false));
    pEngine->addImageProvider(QStringLiteral("maxThumbProvider"), new CFakeImageProvider(true));
}
