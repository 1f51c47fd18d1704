#include "CMultiLanguage.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTranslator>

bool CMultiLanguage::initialize()
{
    if (m_pEngine)
        m_pEngine->rootContext()->setContextProperty(QStringLiteral("multilanguage"), this);
    return true;
}

bool CMultiLanguage::setLanguage(const QString &strLanguage)
{
    auto *pTranslator = new QTranslator(this);
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    const bool bEnglish = strLanguage.startsWith(QLatin1String("en"));
    if (!bEnglish && !pTranslator->load(QStringLiteral("mirelle_%1").arg(strLanguage), dir)) {
        delete pTranslator;
        return false;
    }
    if (m_pTranslator) {
        QCoreApplication::removeTranslator(m_pTranslator);
        delete m_pTranslator;
        m_pTranslator = nullptr;
    }
    if (bEnglish) {
        delete pTranslator;
    } else {
        QCoreApplication::installTranslator(pTranslator);
        m_pTranslator = pTranslator;
    }
    m_strLanguage = strLanguage;
    if (m_pEngine)
        m_pEngine->retranslate();
    Q_EMIT sigCurrentLanguageChanged();
    return true;
}

extern "C" Q_DECL_EXPORT CComponentBase *getInstance()
{
    return new CMultiLanguage;
}
