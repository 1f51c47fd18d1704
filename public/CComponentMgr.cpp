#include "CComponentMgr.h"

#include "CComponentBase.h"
#include "CPlatform.h"
#include "IModules.h"
#include "XLogging.h"

#include <QDir>
#include <QLibrary>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>

CComponentMgr::CComponentMgr(QObject *parent) : QObject(parent) {}

CComponentMgr::~CComponentMgr()
{
    for (QObject *pComponent : qAsConst(m_mapComponents)) {
        if (pComponent)
            pComponent->deleteLater();
    }
    for (const QPointer<QObject> &pComponent : qAsConst(m_listReplaced)) {
        if (pComponent)
            pComponent->deleteLater();
    }
}

QString CComponentMgr::baseDirectory() const
{
    return m_strBaseDir.isEmpty() ? dp::platform::modules().moduleDirectory() : m_strBaseDir;
}

QObject *CComponentMgr::component(QString name)
{
    return m_mapComponents.value(name.toLower(), nullptr);
}

QObject *CComponentMgr::loadComponent(QString name, QString parentCom)
{
    qCInfo(lcStartTime) << QStringLiteral("load start %1").arg(name);
    QString dir = baseDirectory();
    if (!parentCom.isEmpty())
        dir += QLatin1Char('/') + parentCom;
    const QString path = QDir::toNativeSeparators(
        dir + QLatin1Char('/') + dp::platform::modules().libraryFileName(parentCom + name));

    CComponentBase *pComponent = nullptr;
    QLibrary library(path);
    if (library.load()) {
        auto pfnGetInstance = reinterpret_cast<PFN_GetComponentInstance>(library.resolve("getInstance"));
        if (pfnGetInstance)
            pComponent = pfnGetInstance();
    } else {
        qCWarning(lcLoadApp) << "component not loaded:" << library.errorString();
    }
    if (pComponent) {
        pComponent->setEngine(m_pEngine);
        pComponent->initialize();
        const QString key = name.toLower();
        if (QObject *pEarlier = m_mapComponents.value(key))
            m_listReplaced << pEarlier;
        m_mapComponents.insert(key, pComponent);
        connect(pComponent, &QObject::destroyed, this, [this, key, pComponent] {
            // A newer component of the same name may have replaced this one.
            if (m_mapComponents.value(key) == pComponent)
                m_mapComponents.remove(key);
        });
        Q_EMIT sigNewComponent(name, parentCom);
    }
    qCInfo(lcStartTime) << QStringLiteral("load end %1").arg(name);
    return pComponent;
}

void CComponentMgr::loadComponents(QString componentName)
{
    QString dir = baseDirectory();
    if (!componentName.isEmpty())
        dir += QLatin1Char('/') + componentName;
    if (!QDir(dir).exists())
        return;
    const QString canonical = QDir(dir).canonicalPath();
    if (m_setReading.contains(canonical))
        return;
    m_setReading.insert(canonical);

    QSettings ini(dir + QStringLiteral("/components.ini"), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    QObject *pMultiLanguage = nullptr;
    if (m_pEngine)
        pMultiLanguage = m_pEngine->rootContext()->contextProperty(QStringLiteral("multilanguage")).value<QObject *>();

    for (int i = 1; i <= 99; ++i) {
        const QString key = QStringLiteral("COMPONENT%1/name").arg(i);
        if (!ini.contains(key))
            continue;
        const QString name = ini.value(key).toString();
        QObject *pComponent = loadComponent(name, componentName);
        if (pMultiLanguage && pComponent)
            connect(pMultiLanguage, SIGNAL(sigCurrentLanguageChanged()), pComponent, SLOT(onTranslate()));
        loadComponents(name);
    }
    m_setReading.remove(canonical);
}
