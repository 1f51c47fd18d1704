#pragma once

#include <QSaveFile>
#include <QString>

// An export or saved scan on disk: written whole or not at all, so that a full disk or an
// interruption leaves an earlier file of the same name as it was. Owned by the writer.
class CReportFile
{
public:
    explicit CReportFile(const QString &strPath) : m_file(strPath) {}

    [[nodiscard]] bool open();
    QIODevice *device() { return &m_file; }
    [[nodiscard]] bool write(const QByteArray &arrData);
    // Replaces the target; false (and nothing replaced) when any write failed.
    [[nodiscard]] bool commit();
    void cancel() { m_file.cancelWriting(); }
    // Why the last call failed, in the system's words ("No space left on device").
    QString reason() const { return m_strReason; }

    [[nodiscard]] static bool writeWhole(const QString &strPath, const QByteArray &arrData, QString *pStrReason);

private:
    bool fail();

    QSaveFile m_file;
    QString m_strReason;
};
