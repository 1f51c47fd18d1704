#include "CScanReport.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kFormatName = QStringLiteral("mirelle-scan");

QString isoTime(qint64 i64Ms)
{
    return i64Ms > 0 ? QDateTime::fromMSecsSinceEpoch(i64Ms, Qt::UTC).toString(Qt::ISODate) : QString();
}

QByteArray csvField(const QString &strText)
{
    QString text = strText;
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))
        || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\""), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text.toUtf8();
}

} // namespace

QByteArray CScanReport::toJson() const
{
    QJsonArray groups;
    for (const CReportGroup &group : listGroups) {
        QJsonArray photos;
        qint64 i64Total = 0;
        for (const CReportPhoto &photo : group.listPhotos) {
            i64Total += photo.i64Size;
            photos.append(QJsonObject{{"path", photo.strPath},
                                      {"size", double(photo.i64Size)},
                                      {"width", photo.iWidth},
                                      {"height", photo.iHeight},
                                      {"similarity", photo.iSimilarity},
                                      {"sharpness", photo.dSharpness},
                                      {"modified", isoTime(photo.i64Modified)},
                                      {"preferred", photo.bPreferred},
                                      {"proposed", photo.bProposed},
                                      {"burst", photo.bBurst}});
        }
        groups.append(QJsonObject{{"identical", group.bIdentical},
                                  {"photoCount", group.listPhotos.size()},
                                  {"totalSize", double(i64Total)},
                                  {"photos", photos}});
    }
    const QJsonObject options{{"originalOnly", settings.bOriginalOnly},
                              {"minSize", double(settings.i64MinSize)},
                              {"threshold", settings.iThreshold},
                              {"rotations", settings.bRotations}};
    const QJsonObject summary{{"groups", listGroups.size()},
                              {"photos", photoCount()},
                              {"proposed", proposedCount()},
                              {"proposedBytes", double(proposedBytes())}};
    const QJsonObject root{{"format", kFormatName},
                           {"version", kFormatVersion},
                           {"generator", QStringLiteral("mirelle-cli " DP_VERSION)},
                           {"created", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
                           {"sources", QJsonArray::fromStringList(settings.listSources)},
                           {"options", options},
                           {"summary", summary},
                           {"groups", groups}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray CScanReport::toCsv() const
{
    QByteArray out = "group,path,size,width,height,similarity,sharpness,modified,preferred,proposed\n";
    for (int i = 0; i < listGroups.size(); ++i) {
        for (const CReportPhoto &photo : listGroups.at(i).listPhotos) {
            out += QByteArray::number(i + 1) + ',' + csvField(photo.strPath) + ',' + QByteArray::number(photo.i64Size)
                   + ',' + QByteArray::number(photo.iWidth) + ',' + QByteArray::number(photo.iHeight) + ','
                   + QByteArray::number(photo.iSimilarity) + ',' + QByteArray::number(photo.dSharpness, 'g', 6)
                   + ',' + isoTime(photo.i64Modified).toUtf8() + ',' + (photo.bPreferred ? "1" : "0") + ','
                   + (photo.bProposed ? "1" : "0") + '\n';
        }
    }
    return out;
}

bool CScanReport::fromJson(const QByteArray &arrJson, CScanReport *pReport, QString *pStrError)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(arrJson, &parseError);
    const QJsonObject root = document.object();
    if (parseError.error != QJsonParseError::NoError || !document.isObject()
        || root.value("format").toString() != kFormatName) {
        *pStrError = QStringLiteral("not a saved scan of mirelle-cli (write one with: mirelle-cli scan --output FILE)");
        return false;
    }
    const int iVersion = root.value("version").toInt(-1);
    if (iVersion != kFormatVersion) {
        *pStrError = QStringLiteral("the saved scan has format version %1; this program reads version %2: scan again")
                         .arg(iVersion)
                         .arg(kFormatVersion);
        return false;
    }
    CScanReport report;
    for (const QJsonValue &source : root.value("sources").toArray())
        report.settings.listSources << source.toString();
    const QJsonObject options = root.value("options").toObject();
    report.settings.bOriginalOnly = options.value("originalOnly").toBool(true);
    report.settings.i64MinSize = static_cast<qint64>(options.value("minSize").toDouble(100 * 1024));
    report.settings.iThreshold = options.value("threshold").toInt(70);
    report.settings.bRotations = options.value("rotations").toBool(false);
    for (const QJsonValue &groupValue : root.value("groups").toArray()) {
        const QJsonObject groupObject = groupValue.toObject();
        CReportGroup group;
        group.bIdentical = groupObject.value("identical").toBool();
        for (const QJsonValue &photoValue : groupObject.value("photos").toArray()) {
            const QJsonObject object = photoValue.toObject();
            CReportPhoto photo;
            photo.strPath = object.value("path").toString();
            if (photo.strPath.isEmpty()) {
                *pStrError = QStringLiteral("the saved scan holds a photo without a path");
                return false;
            }
            photo.i64Size = static_cast<qint64>(object.value("size").toDouble(-1));
            photo.iWidth = object.value("width").toInt();
            photo.iHeight = object.value("height").toInt();
            photo.iSimilarity = object.value("similarity").toInt();
            photo.dSharpness = object.value("sharpness").toDouble();
            photo.i64Modified =
                QDateTime::fromString(object.value("modified").toString(), Qt::ISODate).toMSecsSinceEpoch();
            photo.bPreferred = object.value("preferred").toBool();
            photo.bProposed = object.value("proposed").toBool();
            photo.bBurst = object.value("burst").toBool();
            group.listPhotos << photo;
        }
        report.listGroups << group;
    }
    *pReport = report;
    return true;
}

int CScanReport::photoCount() const
{
    int iCount = 0;
    for (const CReportGroup &group : listGroups)
        iCount += group.listPhotos.size();
    return iCount;
}

int CScanReport::proposedCount() const
{
    int iCount = 0;
    for (const CReportGroup &group : listGroups)
        for (const CReportPhoto &photo : group.listPhotos)
            iCount += photo.bProposed ? 1 : 0;
    return iCount;
}

qint64 CScanReport::proposedBytes() const
{
    qint64 i64Bytes = 0;
    for (const CReportGroup &group : listGroups)
        for (const CReportPhoto &photo : group.listPhotos)
            i64Bytes += photo.bProposed ? photo.i64Size : 0;
    return i64Bytes;
}
