#pragma once

#include <QObject>
#include <QStringList>

// Stand-in for "dfDeltor": progress properties the tests and the screenshot tool set directly.
class CFakeFileDel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int progress READ progress WRITE setProgress NOTIFY sigProgressChanged)
    Q_PROPERTY(QString currentFile READ currentFile NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong filesize READ filesize NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong filecount READ filecount NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong proccount READ proccount NOTIFY sigProgressChanged)
    Q_PROPERTY(int cancelCount READ cancelCount NOTIFY sigProgressChanged)
public:
    explicit CFakeFileDel(QObject *parent = nullptr) : QObject(parent) {}

    int progress() const { return m_iProgress; }
    void setProgress(int i)
    {
        m_iProgress = i;
        emit sigProgressChanged();
    }
    QString currentFile() const { return m_strCurrentFile; }
    qlonglong filesize() const { return m_i64FileSize; }
    qlonglong filecount() const { return m_i64FileCount; }
    qlonglong proccount() const { return m_i64ProcCount; }
    int cancelCount() const { return m_iCancelCount; }

    Q_INVOKABLE qlonglong totalFiles() const { return m_i64TotalFiles; }
    Q_INVOKABLE QString get2DelFileNames(const QStringList &delList) const
    {
        return delList.isEmpty() ? QString() : delList.first().section(QLatin1Char('/'), -1);
    }
    Q_INVOKABLE void tryDelCancle()
    {
        ++m_iCancelCount;
        emit sigProgressChanged();
    }

    // Test control: one call sets every figure the progress window shows.
    Q_INVOKABLE void setState(int iProgress, const QString &strFile, qlonglong i64Count,
                              qlonglong i64Total, qlonglong i64Size)
    {
        m_iProgress = iProgress;
        m_strCurrentFile = strFile;
        m_i64FileCount = i64Count;
        m_i64ProcCount = i64Count;
        m_i64TotalFiles = i64Total;
        m_i64FileSize = i64Size;
        emit sigProgressChanged();
    }

signals:
    void sigProgressChanged();
    void sigShowProcessWind();
    void sigCloseProcessWind();

private:
    int m_iProgress = 0;
    QString m_strCurrentFile;
    qlonglong m_i64FileSize = 0;
    qlonglong m_i64FileCount = 0;
    qlonglong m_i64ProcCount = 0;
    qlonglong m_i64TotalFiles = 0;
    int m_iCancelCount = 0;
};
