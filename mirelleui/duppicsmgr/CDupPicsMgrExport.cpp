#include "CDupPicsMgr.h"

#include "CReportFile.h"
#include "CReportSummary.h"
#include "CScanReport.h"
#include "XLogging.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>
#include <QUrl>

namespace {

QString localPathOf(const QString &strTarget)
{
    // The file dialog hands over a URL; C++ callers a plain path.
    const QUrl url(strTarget);
    return url.isLocalFile() ? url.toLocalFile() : strTarget;
}

// Runs on a pool thread: text layout and the PDF writer work there too.
QString writeExport(const CScanReport &report, const QString &strPath, const QString &strFormat)
{
    QString strReason;
    bool bOk = false;
    if (strFormat == QLatin1String("pdf")) {
        bOk = CReportSummary::of(report).writePdf(strPath, &strReason);
    } else {
        QByteArray bytes;
        if (strFormat == QLatin1String("json"))
            bytes = report.toJson();
        else if (strFormat == QLatin1String("csv"))
            bytes = report.toCsv();
        else
            bytes = CReportSummary::of(report).toHtml().toUtf8();
        // Written whole or not at all: a full disk leaves an earlier export as it was.
        bOk = CReportFile::writeWhole(strPath, bytes, &strReason);
    }
    if (bOk)
        return QString();
    qCWarning(lcLoadApp) << "export to" << strPath << "failed:" << strReason;
    return CDupPicsMgr::tr("The results could not be saved to %1: %2.")
        .arg(QDir::toNativeSeparators(strPath), strReason);
}

} // namespace

CScanReport CDupPicsMgr::currentReport() const
{
    return CScanIntake::report(m_store, m_pExtras, CScanIntake::settingsOf(m_mapOptions, m_listSources));
}

void CDupPicsMgr::exportResults(QString strTarget, QString strFormat)
{
    const QString format = strFormat.toLower();
    static const QStringList kFormats = {QStringLiteral("json"), QStringLiteral("csv"), QStringLiteral("html"),
                                         QStringLiteral("pdf")};
    if (isExporting())
        return finishExport(tr("An export is still being written. Try again when it is done."));
    if (!kFormats.contains(format))
        return finishExport(tr("Results cannot be exported as \"%1\".").arg(strFormat));
    QString path = localPathOf(strTarget);
    if (path.isEmpty())
        return finishExport(tr("Choose a file to export the results to."));
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + format;
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (info.isDir())
        return finishExport(tr("%1 is a folder. Choose a file name.").arg(QDir::toNativeSeparators(path)));
    if (!folder.isDir() || !folder.isWritable() || (info.exists() && !info.isWritable())) {
        return finishExport(tr("The folder %1 cannot be written to. Choose another folder.")
                                .arg(QDir::toNativeSeparators(info.absolutePath())));
    }

    if (!m_pExportWatcher) {
        m_pExportWatcher = new QFutureWatcher<QString>(this);
        connect(m_pExportWatcher, &QFutureWatcherBase::finished, this,
                [this] { Q_EMIT sigExportFinished(m_pExportWatcher->result()); });
    }
    // The copy is taken here, under the result locks; the worker sees only the copy.
    m_exportJob.future = QtConcurrent::run(writeExport, currentReport(), path, format);
    m_pExportWatcher->setFuture(m_exportJob.future);
}

void CDupPicsMgr::finishExport(const QString &strMessage)
{
    // Queued as a finished write is, so that callers see one order of events either way.
    QMetaObject::invokeMethod(
        this, [this, strMessage] { Q_EMIT sigExportFinished(strMessage); }, Qt::QueuedConnection);
}
