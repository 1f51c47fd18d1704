#include "CDupPicsMgr.h"

#include "CReportFile.h"
#include "CReportSummary.h"
#include "CScanReport.h"
#include "XLogging.h"

#include <QDir>
#include <QFileInfo>
#include <QtConcurrent>
#include <QUrl>

#include <cmath>

namespace {

// FILETIME ticks between 1601-01-01 and 1970-01-01.
constexpr quint64 kFileTimeEpoch = 116444736000000000ULL;

CReportPhoto reportPhotoOf(const CPhotoRecordCopy &copy)
{
    const PhotoRecord &record = copy.record();
    CReportPhoto photo;
    photo.strPath = copy.path();
    photo.i64Size = static_cast<qint64>(record.fileSize);
    photo.iWidth = record.width;
    photo.iHeight = record.height;
    photo.iSimilarity = record.similarity;
    photo.dSharpness = record.definition;
    if (record.dateTime > kFileTimeEpoch)
        photo.i64Modified = static_cast<qint64>((record.dateTime - kFileTimeEpoch) / 10000);
    photo.bPreferred = copy.isPreferred();
    photo.bProposed = copy.isMarked();
    photo.bBurst = copy.isBurst();
    return photo;
}

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
    CScanReport report;
    report.strGenerator = QCoreApplication::applicationName();
    report.settings.listSources = m_listSources;
    const QVariantMap photoType = m_mapOptions.value(QStringLiteral("photoType")).toMap();
    report.settings.bOriginalOnly = photoType.value(QStringLiteral("value"), 0).toInt() == 0;
    if (m_mapOptions.contains(QStringLiteral("minSize"))) {
        // The same bytes that the scan gave the engine's filter.
        const QVariantMap minSize = m_mapOptions.value(QStringLiteral("minSize")).toMap();
        report.settings.i64MinSize = static_cast<qint64>(
            minSize.value(QStringLiteral("value")).toDouble()
            * std::pow(1024.0, minSize.value(QStringLiteral("index")).toInt() + 1));
    }
    report.settings.iThreshold = getSimilarSlot();
    report.settings.bRotations = rotationMatching();

    for (quint64 key : groupOrder()) {
        GroupSummary summary;
        if (!groupSummary(key, &summary) || !summary.shown)
            continue;
        CReportGroup group;
        group.bIdentical = summary.allIdentical;
        for (const CPhotoRecordCopy &copy : qAsConst(summary.files)) {
            if (copy.isHidden())
                continue;
            CReportPhoto photo = reportPhotoOf(copy);
            if (photo.bProposed)
                photo.strReason = CAutoMarkRule::reasonKey(m_store.markReason(copy.path()));
            scanStamp(copy.record().fileId, &photo.i64FileTime, &photo.iContentKey);
            group.listPhotos << photo;
        }
        // A group whose other photos were removed is no longer a group of similar photos.
        if (group.listPhotos.size() > 1)
            report.listGroups << group;
    }
    return report;
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
