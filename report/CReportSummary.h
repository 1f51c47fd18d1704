#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct CScanReport;

// What a scan found and what removing its marked photos would free, by folder and by drive:
// the printable summary of the window's export and of "mirelle-cli summary".
class CReportSummary
{
    Q_DECLARE_TR_FUNCTIONS(CReportSummary)
public:
    // Marked photos and their bytes below one folder or on one drive.
    struct CPlace
    {
        QString strName;
        int iMarkedCount = 0;
        qint64 i64MarkedBytes = 0;
    };
    // The drive key of every path, in order; the platform's by default.
    using FnDriveKeys = std::function<QStringList(const QStringList &listPaths)>;

    static CReportSummary of(const CScanReport &report, const FnDriveKeys &driveKeysOf = {});

    QString toText() const;
    QString toHtml() const;
    // Needs a QGuiApplication: the layout asks for fonts. Written whole or not at all; the
    // error is the reason only, for the caller to word.
    [[nodiscard]] bool writePdf(const QString &strPath, QString *pStrError) const;

    QStringList listSources;
    int iThreshold = 0;
    int iGroupCount = 0;
    int iPhotoCount = 0;
    int iMarkedCount = 0;
    qint64 i64PhotoBytes = 0;
    qint64 i64MarkedBytes = 0;
    // Most bytes first; the same order in every format.
    QList<CPlace> listFolders;
    QList<CPlace> listDrives;

private:
    QString title() const;
};
