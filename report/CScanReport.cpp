#include "CScanReport.h"

#include "CPathCodec.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

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

// A file name that is not valid UTF-8 cannot stand in JSON as it is: "path" shows it with
// U+FFFD for each stray byte, and "pathBytes" (base64) carries the exact name beside it.
QString readablePath(const QString &strPath)
{
    return QString::fromUtf8(dp::platform::pathToBytes(strPath));
}

QByteArray csvFlag(bool bValue)
{
    return bValue ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

// One photo field in every format: the JSON key and CSV header, and how it is written and read.
// CSV lists the fields in this order. A reader is also handed a missing key (undefined), so
// it decides the value of a field that an older file lacks.
struct CPhotoColumn
{
    const char *szName;
    QJsonValue (*toJson)(const CReportPhoto &photo);
    QByteArray (*toCsv)(const CReportPhoto &photo);
    void (*fromJson)(const QJsonValue &value, CReportPhoto &photo);
};

const CPhotoColumn kPhotoColumns[] = {
    {"path", [](const CReportPhoto &p) { return QJsonValue(readablePath(p.strPath)); },
     [](const CReportPhoto &p) { return csvField(readablePath(p.strPath)); },
     [](const QJsonValue &v, CReportPhoto &p) { p.strPath = v.toString(); }},
    {"size", [](const CReportPhoto &p) { return QJsonValue(double(p.i64Size)); },
     [](const CReportPhoto &p) { return QByteArray::number(p.i64Size); },
     [](const QJsonValue &v, CReportPhoto &p) { p.i64Size = static_cast<qint64>(v.toDouble(-1)); }},
    {"width", [](const CReportPhoto &p) { return QJsonValue(p.iWidth); },
     [](const CReportPhoto &p) { return QByteArray::number(p.iWidth); },
     [](const QJsonValue &v, CReportPhoto &p) { p.iWidth = v.toInt(); }},
    {"height", [](const CReportPhoto &p) { return QJsonValue(p.iHeight); },
     [](const CReportPhoto &p) { return QByteArray::number(p.iHeight); },
     [](const QJsonValue &v, CReportPhoto &p) { p.iHeight = v.toInt(); }},
    {"similarity", [](const CReportPhoto &p) { return QJsonValue(p.iSimilarity); },
     [](const CReportPhoto &p) { return QByteArray::number(p.iSimilarity); },
     [](const QJsonValue &v, CReportPhoto &p) { p.iSimilarity = v.toInt(); }},
    {"sharpness", [](const CReportPhoto &p) { return QJsonValue(p.dSharpness); },
     [](const CReportPhoto &p) { return QByteArray::number(p.dSharpness, 'g', 6); },
     [](const QJsonValue &v, CReportPhoto &p) { p.dSharpness = v.toDouble(); }},
    {"modified", [](const CReportPhoto &p) { return QJsonValue(isoTime(p.i64Modified)); },
     [](const CReportPhoto &p) { return isoTime(p.i64Modified).toUtf8(); },
     [](const QJsonValue &v, CReportPhoto &p) {
         p.i64Modified = QDateTime::fromString(v.toString(), Qt::ISODate).toMSecsSinceEpoch();
     }},
    {"preferred", [](const CReportPhoto &p) { return QJsonValue(p.bPreferred); },
     [](const CReportPhoto &p) { return csvFlag(p.bPreferred); },
     [](const QJsonValue &v, CReportPhoto &p) { p.bPreferred = v.toBool(); }},
    {"proposed", [](const CReportPhoto &p) { return QJsonValue(p.bProposed); },
     [](const CReportPhoto &p) { return csvFlag(p.bProposed); },
     [](const QJsonValue &v, CReportPhoto &p) { p.bProposed = v.toBool(); }},
};

// The numbers a hand-edited saved scan may not bend: a photo's size is summed into the space
// to free and decides what a removal checks, so it must be there and whole.
struct CPhotoRange
{
    const char *szName;
    double dMax;
    bool bRequired;
};

const CPhotoRange kPhotoRanges[] = {
    {"size", double(qint64(1) << 40), true}, // a terabyte: beyond any photo, far below an overflowing sum
    {"width", 1e6, false},
    {"height", 1e6, false},
    {"similarity", 100, false},
};

// Why the photo's numbers cannot be believed, or "".
QString implausibleNumber(const QJsonObject &object)
{
    for (const CPhotoRange &range : kPhotoRanges) {
        const QJsonValue value = object.value(QLatin1String(range.szName));
        if (value.isUndefined() && !range.bRequired)
            continue;
        const double d = value.toDouble(-1);
        if (!value.isDouble() || !std::isfinite(d) || d < 0 || d > range.dMax || d != std::floor(d)) {
            const QByteArray shown = value.isUndefined()
                ? QByteArrayLiteral("missing")
                : QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
            return QStringLiteral("the saved scan holds an impossible %1 (%2) for %3: was it edited by hand?")
                .arg(QLatin1String(range.szName), QString::fromUtf8(shown), object.value("path").toString());
        }
    }
    return QString();
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
            QJsonObject object;
            for (const CPhotoColumn &column : kPhotoColumns)
                object.insert(QLatin1String(column.szName), column.toJson(photo));
            // JSON only: the CSV columns stay as scripts already read them. 64-bit values
            // as text, since a JSON number holds only 53 bits exactly.
            object.insert(QLatin1String("burst"), photo.bBurst);
            if (photo.bProposed && !photo.strReason.isEmpty())
                object.insert(QLatin1String("reason"), photo.strReason);
            object.insert(QLatin1String("fileTime"), QString::number(photo.i64FileTime));
            object.insert(QLatin1String("contentKey"), QString::number(photo.iContentKey, 16));
            if (dp::platform::needsRawAccess(photo.strPath))
                object.insert(QLatin1String("pathBytes"),
                              QString::fromLatin1(dp::platform::pathToBytes(photo.strPath).toBase64()));
            photos.append(object);
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
                           {"generator", strGenerator + QStringLiteral(" " DP_VERSION)},
                           {"created", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
                           {"sources", QJsonArray::fromStringList(settings.listSources)},
                           {"options", options},
                           {"summary", summary},
                           {"groups", groups}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray CScanReport::toCsv() const
{
    QByteArray out = "group";
    for (const CPhotoColumn &column : kPhotoColumns)
        out += ',' + QByteArray(column.szName);
    out += '\n';
    for (int i = 0; i < listGroups.size(); ++i) {
        for (const CReportPhoto &photo : listGroups.at(i).listPhotos) {
            out += QByteArray::number(i + 1);
            for (const CPhotoColumn &column : kPhotoColumns)
                out += ',' + column.toCsv(photo);
            out += '\n';
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
    // Older saved scans are read: what they lack is taken as unknown.
    if (iVersion < 1 || iVersion > kFormatVersion) {
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
            for (const CPhotoColumn &column : kPhotoColumns)
                column.fromJson(object.value(QLatin1String(column.szName)), photo);
            const QString strBytes = object.value(QLatin1String("pathBytes")).toString();
            if (!strBytes.isEmpty())
                photo.strPath = dp::platform::pathFromBytes(QByteArray::fromBase64(strBytes.toLatin1()));
            if (photo.strPath.isEmpty()) {
                *pStrError = QStringLiteral("the saved scan holds a photo without a path");
                return false;
            }
            *pStrError = implausibleNumber(object);
            if (!pStrError->isEmpty())
                return false;
            photo.bBurst = object.value("burst").toBool();
            photo.strReason = object.value("reason").toString();
            photo.i64FileTime = object.value("fileTime").toString().toULongLong();
            photo.iContentKey = object.value("contentKey").toString().toULongLong(nullptr, 16);
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
