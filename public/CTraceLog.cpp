#include "CTraceLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdarg>

CTraceLog::CTraceLog(QString strFilePath, qint64 iMaxBytes, int iKeep)
    : m_strFilePath(std::move(strFilePath))
    , m_iMaxBytes(qMax<qint64>(iMaxBytes, 1024))
    , m_iKeep(qMax(iKeep, 1))
{
}

CTraceLog &CTraceLog::instance()
{
    static CTraceLog s_log(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                           + QStringLiteral("/mirelle/logs/trace.log"));
    return s_log;
}

bool CTraceLog::append(const QString &strLine)
{
    QByteArray bytes = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' + strLine.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    QMutexLocker locker(&m_mutex);
    QDir().mkpath(QFileInfo(m_strFilePath).absolutePath());
    if (QFileInfo(m_strFilePath).size() + bytes.size() > m_iMaxBytes)
        rotate();
    QFile file(m_strFilePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    // A single line longer than the cap is cut rather than let the file grow past it.
    return file.write(bytes.left(static_cast<int>(m_iMaxBytes))) > 0;
}

namespace {

QtMessageHandler g_pfnPreviousHandler = nullptr;

void copyToTraceLog(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) {
        static const char *const s_levels[] = {"debug", "warning", "critical", "fatal", "info"};
        CTraceLog::instance().append(QStringLiteral("%1 %2: %3")
                                         .arg(QLatin1String(s_levels[type]),
                                              QLatin1String(context.category ? context.category : "default"), text));
    }
    if (g_pfnPreviousHandler)
        g_pfnPreviousHandler(type, context, text);
}

} // namespace

void CTraceLog::installMessageHandler()
{
    QtMessageHandler pfnPrevious = qInstallMessageHandler(copyToTraceLog);
    if (pfnPrevious != copyToTraceLog)
        g_pfnPreviousHandler = pfnPrevious;
}

void CTraceLog::rotate()
{
    QFile::remove(m_strFilePath + QStringLiteral(".%1").arg(m_iKeep));
    for (int i = m_iKeep - 1; i >= 1; --i)
        QFile::rename(m_strFilePath + QStringLiteral(".%1").arg(i), m_strFilePath + QStringLiteral(".%1").arg(i + 1));
    QFile::rename(m_strFilePath, m_strFilePath + QStringLiteral(".1"));
}

void traceLog(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const QString line = QString::vasprintf(format, args);
    va_end(args);
    CTraceLog::instance().append(line);
}
