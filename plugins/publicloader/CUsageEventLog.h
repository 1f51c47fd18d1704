#pragma once

#include <QString>

// Where the suite's usage events end up on this machine: one line per event, appended
// to a text file the user can read. Nothing is sent anywhere.
class CUsageEventLog
{
public:
    explicit CUsageEventLog(QString strFilePath);

    // The line is "<time>\t<window>\t<activity>\t<list>"; false when it could not be written.
    bool append(const QString &strWindow, const QString &strActivity, const QString &strList) const;
    QString filePath() const { return m_strFilePath; }

    static QString defaultFilePath();

private:
    QString m_strFilePath;
};
