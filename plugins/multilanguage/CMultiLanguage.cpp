#include "CMultiLanguage.h"

#include "CPlatform.h"
#include "IModules.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

namespace {

const QString kFilePrefix = QStringLiteral("mirelle_");

QSettings choiceStore()
{
    return QSettings(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                         + QStringLiteral("/mirelle/language.ini"),
                     QSettings::IniFormat);
}

} // namespace

QString CMultiLanguage::translationsDirectory()
{
    return dp::platform::modules().dataDirectory() + QStringLiteral("/translations");
}

bool CMultiLanguage::initialize()
{
    if (m_pEngine)
        m_pEngine->rootContext()->setContextProperty(QStringLiteral("multilanguage"), this);
    // The last choice, else the system's language when we have it; English stays otherwise.
    const QString saved = choiceStore().value(QStringLiteral("language")).toString();
    if (saved.isEmpty() || !setLanguage(saved)) {
        const QString system = QLocale::system().name();
        if (!setLanguage(system))
            setLanguage(system.section(QLatin1Char('_'), 0, 0));
    }
    return true;
}

QStringList CMultiLanguage::languages() const
{
    QStringList list;
    const QStringList files = QDir(translationsDirectory()).entryList({kFilePrefix + QStringLiteral("*.qm")}, QDir::Files);
    for (const QString &file : files)
        list << file.mid(kFilePrefix.size()).chopped(3);
    return list;
}

bool CMultiLanguage::setLanguage(const QString &strLanguage)
{
    if (strLanguage.isEmpty())
        return false;
    auto *pTranslator = new QTranslator(this);
    if (!pTranslator->load(kFilePrefix + strLanguage, translationsDirectory(), QString(), QStringLiteral(".qm"))) {
        delete pTranslator;
        // The texts in the sources are English, so English needs no file.
        if (!strLanguage.startsWith(QLatin1String("en")))
            return false;
        pTranslator = nullptr;
    }
    if (m_pTranslator) {
        QCoreApplication::removeTranslator(m_pTranslator);
        delete m_pTranslator;
    }
    m_pTranslator = pTranslator;
    if (m_pTranslator)
        QCoreApplication::installTranslator(m_pTranslator);
    m_strLanguage = strLanguage;
    // Sizes and dates follow the chosen language too.
    QLocale::setDefault(QLocale(strLanguage));
    choiceStore().setValue(QStringLiteral("language"), strLanguage);
    if (m_pEngine)
        m_pEngine->retranslate();
    Q_EMIT sigLoadMoreQm(strLanguage);
    Q_EMIT sigCurrentLanguageChanged();
    return true;
}

extern "C" Q_DECL_EXPORT CComponentBase *getInstance()
{
    return new CMultiLanguage;
}
