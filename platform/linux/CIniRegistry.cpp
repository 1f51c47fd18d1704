#include "CIniRegistry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {

// "HKEY_LOCAL_MACHINE\\SOFTWARE\\X\\Value" -> "HKEY_LOCAL_MACHINE/SOFTWARE/X/Value"
QString iniKey(const QString &strKey)
{
    QString key = strKey;
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (key.contains(QLatin1String("//")))
        key.replace(QLatin1String("//"), QLatin1String("/"));
    while (key.endsWith(QLatin1Char('/')))
        key.chop(1);
    return key;
}

} // namespace

CIniRegistry::CIniRegistry(QString strFile) : m_strFile(std::move(strFile))
{
    if (m_strFile.isEmpty()) {
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        m_strFile = dir + QStringLiteral("/mirelle/registry.ini");
    }
}

QVariant CIniRegistry::value(const QString &strKey, const QVariant &defaultValue) const
{
    const QSettings settings(m_strFile, QSettings::IniFormat);
    return settings.value(iniKey(strKey), defaultValue);
}

bool CIniRegistry::setValue(const QString &strKey, const QVariant &value)
{
    QDir().mkpath(QFileInfo(m_strFile).absolutePath());
    QSettings settings(m_strFile, QSettings::IniFormat);
    settings.setValue(iniKey(strKey), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
