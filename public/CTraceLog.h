#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// The suite's log: a size-capped text file that is rotated into file.1, file.2, ...
// Callable from any thread (the helper service calls back on its own threads).
class CTraceLog
{
public:
    static constexpr qint64 kDefaultMaxBytes = 512 * 1024;
    static constexpr int kDefaultKeep = 3;

    explicit CTraceLog(QString strFilePath, qint64 iMaxBytes = kDefaultMaxBytes, int iKeep = kDefaultKeep);
    ~CTraceLog();
    CTraceLog(const CTraceLog &) = delete;
    CTraceLog &operator=(const CTraceLog &) = delete;

    // Appends one line (a line feed is added when missing); false when the disk said no.
    bool append(const QString &strLine);
    // Queues one line for a writer thread of the log's own, so that a warning on the GUI
    // thread never waits for the disk.
    void post(const QString &strLine);
    // Returns once every posted line has been written.
    void flush();
    QString filePath() const { return m_strFilePath; }

    // The process-wide log in the user's data folder.
    static CTraceLog &instance();
    // Copies Qt's warnings and worse into the process-wide log, then passes them on.
    static void installMessageHandler();

private:
    void rotate();
    bool write(const QByteArray &bytes);
    void writeQueued();

    QMutex m_mutex;
    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<QByteArray> m_queue;
    bool m_bWriting = false;
    bool m_bStop = false;
    std::thread m_writer;
    QString m_strFilePath;
    qint64 m_iMaxBytes;
    int m_iKeep;
};

// printf-style entry point of the bridge; the text is UTF-8.
void traceLog(const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(1, 2);
