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

CTraceLog::~CTraceLog()
{
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_bStop = true;
    }
    m_queueChanged.notify_all();
    if (m_writer.joinable())
        m_writer.join();
}

namespace {

QByteArray stamped(const QString &strLine)
{
    QByteArray bytes = QDateTime::currentDateTime().toString(Qt::ISODateWithMs).toUtf8() + ' ' + strLine.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    return bytes;
}

} // namespace

bool CTraceLog::append(const QString &strLine)
{
    return write(stamped(strLine));
}

void CTraceLog::post(const QString &strLine)
{
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queue.push_back(stamped(strLine));
        if (!m_writer.joinable())
            m_writer = std::thread([this] { writeQueued(); });
    }
    m_queueChanged.notify_all();
}

void CTraceLog::flush()
{
    std::unique_lock<std::mutex> lock(m_queueMutex);
    m_queueChanged.wait(lock, [this] { return m_queue.empty() && !m_bWriting; });
}

void CTraceLog::writeQueued()
{
    std::unique_lock<std::mutex> lock(m_queueMutex);
    for (;;) {
        m_queueChanged.wait(lock, [this] { return m_bStop || !m_queue.empty(); });
        if (m_queue.empty())
            return;
        std::deque<QByteArray> batch;
        batch.swap(m_queue);
        m_bWriting = true;
        lock.unlock();
        for (const QByteArray &bytes : batch)
            write(bytes);
        lock.lock();
        m_bWriting = false;
        m_queueChanged.notify_all();
    }
}

bool CTraceLog::write(const QByteArray &bytes)
{
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
        const QString line = QStringLiteral("%1 %2: %3")
                                 .arg(QLatin1String(s_levels[type]),
                                      QLatin1String(context.category ? context.category : "default"), text);
        // A fatal message ends the process: its line is written before that happens.
        if (type == QtFatalMsg) {
            CTraceLog::instance().flush();
            CTraceLog::instance().append(line);
        } else {
            CTraceLog::instance().post(line);
        }
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
