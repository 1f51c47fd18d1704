#pragma once

#include <QMutex>
#include <QString>

// The suite's log: a size-capped text file that is rotated into file.1, file.2, ...
// Callable from any thread (the helper service calls back on its own threads).
class CTraceLog
{
public:
    static constexpr qint64 kDefaultMaxBytes = 512 * 1024;
    static constexpr int kDefaultKeep = 3;

    explicit CTraceLog(QString strFilePath, qint64 iMaxBytes = kDefaultMaxBytes, int iKeep = kDefaultKeep);

    // Appends one line (a line feed is added when missing); false when the disk said no.
    bool append(const QString &strLine);
    QString filePath() const { return m_strFilePath; }

    // The process-wide log in the user's data folder.
    static CTraceLog &instance();
    // Copies Qt's warnings and worse into the process-wide log, then passes them on.
    static void installMessageHandler();

private:
    void rotate();

    QMutex m_mutex;
    QString m_strFilePath;
    qint64 m_iMaxBytes;
    int m_iKeep;
};

// printf-style entry point of the bridge; the text is UTF-8.
void traceLog(const char *format, ...) Q_ATTRIBUTE_FORMAT_PRINTF(1, 2);
