#include "CUsageEventLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A tab or line break inside a field would split the record.
QString flatten(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

} // namespace

CUsageEventLog::CUsageEventLog(QString strFilePath) : m_strFilePath(std::move(strFilePath)) {}

QString CUsageEventLog::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/mirelle/usage-events.log");
}

bool CUsageEventLog::append(const QString &strWindow, const QString &strActivity, const QString &strList) const
{
    QDir().mkpath(QFileInfo(m_strFilePath).absolutePath());
    QFile file(m_strFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QString line = QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char('\t') + flatten(strWindow)
        + QLatin1Char('\t') + flatten(strActivity) + QLatin1Char('\t') + flatten(strList) + QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    return file.write(bytes) == bytes.size();
}
