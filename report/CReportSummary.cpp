#include "CReportSummary.h"

#include "CFormat.h"
#include "CPlatform.h"
#include "CReportFile.h"
#include "CScanReport.h"
#include "IFileOps.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <algorithm>

namespace {

QList<CReportSummary::CPlace> sortedPlaces(const QHash<QString, CReportSummary::CPlace> &mapPlaces)
{
    QList<CReportSummary::CPlace> listPlaces = mapPlaces.values();
    std::sort(listPlaces.begin(), listPlaces.end(), [](const auto &a, const auto &b) {
        return a.i64MarkedBytes != b.i64MarkedBytes ? a.i64MarkedBytes > b.i64MarkedBytes : a.strName < b.strName;
    });
    return listPlaces;
}

void addTo(QHash<QString, CReportSummary::CPlace> &mapPlaces, const QString &strName, qint64 i64Bytes)
{
    CReportSummary::CPlace &place = mapPlaces[strName];
    place.strName = strName;
    ++place.iMarkedCount;
    place.i64MarkedBytes += i64Bytes;
}

} // namespace

CReportSummary CReportSummary::of(const CScanReport &report, const FnDriveKeys &driveKeysOf)
{
    CReportSummary summary;
    summary.listSources = report.settings.listSources;
    summary.iThreshold = report.settings.iThreshold;
    summary.iGroupCount = report.listGroups.size();
    QStringList listMarked;
    QList<qint64> listMarkedSizes;
    QHash<QString, CPlace> mapFolders;
    for (const CReportGroup &group : report.listGroups) {
        for (const CReportPhoto &photo : group.listPhotos) {
            ++summary.iPhotoCount;
            summary.i64PhotoBytes += photo.i64Size;
            if (!photo.bProposed)
                continue;
            ++summary.iMarkedCount;
            summary.i64MarkedBytes += photo.i64Size;
            listMarked << photo.strPath;
            listMarkedSizes << photo.i64Size;
            addTo(mapFolders, QDir::toNativeSeparators(QFileInfo(photo.strPath).path()), photo.i64Size);
        }
    }
    // The whole list goes at once: the platform reads its mount table once per call.
    const QStringList listKeys =
        driveKeysOf ? driveKeysOf(listMarked) : dp::platform::fileOps().driveKeys(listMarked);
    QHash<QString, CPlace> mapDrives;
    for (int i = 0; i < listMarked.size(); ++i) {
        const QString key = listKeys.value(i);
        addTo(mapDrives, key.isEmpty() ? tr("Unknown drive") : QDir::toNativeSeparators(key), listMarkedSizes.at(i));
    }
    summary.listFolders = sortedPlaces(mapFolders);
    summary.listDrives = sortedPlaces(mapDrives);
    return summary;
}

QString CReportSummary::title() const
{
    return tr("Similar photos: summary");
}

QString CReportSummary::toText() const
{
    QString text = title() + QLatin1Char('\n');
    for (const QString &source : listSources)
        text += tr("Scanned: %1").arg(QDir::toNativeSeparators(source)) + QLatin1Char('\n');
    text += tr("Similarity threshold: %1%").arg(iThreshold) + QLatin1Char('\n');
    text += tr("Groups: %1").arg(iGroupCount) + QLatin1Char('\n');
    text += tr("Photos in groups: %1 (%2)").arg(iPhotoCount).arg(CFormat::sizeText(i64PhotoBytes)) + QLatin1Char('\n');
    text += tr("Marked for removal: %1").arg(iMarkedCount) + QLatin1Char('\n');
    text += tr("Space to free: %1 (%2 bytes)").arg(CFormat::sizeText(i64MarkedBytes)).arg(i64MarkedBytes) + QLatin1Char('\n');
    const auto appendPlaces = [&text](const QString &strHeading, const QList<CPlace> &listPlaces) {
        if (listPlaces.isEmpty())
            return;
        text += QLatin1Char('\n') + strHeading + QLatin1Char('\n');
        for (const CPlace &place : listPlaces) {
            text += QStringLiteral("  %1  %2  %3\n")
                        .arg(CFormat::sizeText(place.i64MarkedBytes), 12)
                        .arg(tr("%1 marked").arg(place.iMarkedCount), -10)
                        .arg(place.strName);
        }
    };
    appendPlaces(tr("Space to free per drive:"), listDrives);
    appendPlaces(tr("Space to free per folder:"), listFolders);
    return text;
}

QString CReportSummary::toHtml() const
{
    const auto row = [](const QString &strLabel, const QString &strValue) {
        return QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td></tr>\n")
            .arg(strLabel.toHtmlEscaped(), strValue.toHtmlEscaped());
    };
    QString html = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title></head>\n"
                                  "<body>\n<h1>%1</h1>\n<table cellpadding=\"3\">\n")
                       .arg(title().toHtmlEscaped());
    for (const QString &source : listSources)
        html += row(tr("Scanned"), QDir::toNativeSeparators(source));
    html += row(tr("Similarity threshold"), QStringLiteral("%1%").arg(iThreshold));
    html += row(tr("Groups"), QString::number(iGroupCount));
    html += row(tr("Photos in groups"), QStringLiteral("%1 (%2)").arg(iPhotoCount).arg(CFormat::sizeText(i64PhotoBytes)));
    html += row(tr("Marked for removal"), QString::number(iMarkedCount));
    html += row(tr("Space to free"), CFormat::sizeText(i64MarkedBytes));
    html += QStringLiteral("</table>\n");
    const auto appendPlaces = [&html](const QString &strHeading, const QString &strColumn,
                                      const QList<CPlace> &listPlaces) {
        if (listPlaces.isEmpty())
            return;
        html += QStringLiteral("<h2>%1</h2>\n<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">\n"
                               "<tr><th align=\"left\">%2</th><th align=\"right\">%3</th><th align=\"right\">%4</th></tr>\n")
                    .arg(strHeading.toHtmlEscaped(), strColumn.toHtmlEscaped(), tr("Marked").toHtmlEscaped(),
                         tr("Space to free").toHtmlEscaped());
        for (const CPlace &place : listPlaces) {
            html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td></tr>\n")
                        .arg(place.strName.toHtmlEscaped())
                        .arg(place.iMarkedCount)
                        .arg(CFormat::sizeText(place.i64MarkedBytes).toHtmlEscaped());
        }
        html += QStringLiteral("</table>\n");
    };
    appendPlaces(tr("Per drive"), tr("Drive"), listDrives);
    appendPlaces(tr("Per folder"), tr("Folder"), listFolders);
    html += QStringLiteral("</body></html>\n");
    return html;
}

bool CReportSummary::writePdf(const QString &strPath, QString *pStrError) const
{
    Q_ASSERT(qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
    CReportFile file(strPath);
    if (!file.open()) {
        *pStrError = file.reason();
        return false;
    }
    {
        // The writer finishes the document when it goes out of scope, before the commit.
        QPdfWriter writer(file.device());
        writer.setTitle(title());
        writer.setCreator(QCoreApplication::applicationName());
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        QTextDocument document;
        document.setHtml(toHtml());
        document.print(&writer);
    }
    if (!file.commit()) {
        *pStrError = file.reason();
        return false;
    }
    return true;
}
