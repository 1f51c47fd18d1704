#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The scan settings a saved scan carries, so that a regroup can repeat the scan.
struct CScanSettings
{
    QStringList listSources;
    bool bOriginalOnly = true;
    qint64 i64MinSize = 100 * 1024;
    int iThreshold = 70;
    bool bRotations = false;
    bool bExactFeatures = false;  // every photo decoded, no embedded thumbnails first
};

struct CReportPhoto
{
    QString strPath;
    qint64 i64Size = 0;
    int iWidth = 0;
    int iHeight = 0;
    int iSimilarity = 0;
    double dSharpness = 0.0;
    qint64 i64Modified = 0; // ms since the epoch, UTC
    // What the scan read of the file, so that a removal can tell the file is unchanged:
    // its modification time (FILETIME) and content key; 0 when unknown.
    quint64 i64FileTime = 0;
    quint64 iContentKey = 0;
    bool bPreferred = false;
    bool bProposed = false;
    bool bBurst = false;
    // Why the automatic rule proposed the photo, in English; empty for a mark set by hand.
    QString strReason;
};

struct CReportGroup
{
    bool bIdentical = true;
    QList<CReportPhoto> listPhotos;
};

// The groups of one scan, written as JSON (readable again by regroup and apply) or CSV.
// The window's export and the command line write it alike; a new photo field is one new row
// in the column table of CScanReport.cpp.
struct CScanReport
{
    // 2: each photo carries what the scan read of it (fileTime, contentKey).
    static constexpr int kFormatVersion = 2;

    CScanSettings settings;
    // The program named as "generator", before the version.
    QString strGenerator = QStringLiteral("mirelle-cli");
    QList<CReportGroup> listGroups;

    [[nodiscard]] QByteArray toJson() const;
    [[nodiscard]] QByteArray toCsv() const;
    // False with a message when the bytes are not a saved scan this version reads.
    [[nodiscard]] static bool fromJson(const QByteArray &arrJson, CScanReport *pReport, QString *pStrError);

    int photoCount() const;
    int proposedCount() const;
    qint64 proposedBytes() const;
};
