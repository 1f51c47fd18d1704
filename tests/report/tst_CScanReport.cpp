#include <QtTest>

#include "CPathCodec.h"
#include "CScanReport.h"

class TestScanReport : public QObject
{
    Q_OBJECT
private:
    static CReportPhoto samplePhoto()
    {
        CReportPhoto photo;
        photo.strPath = QStringLiteral("/Bilder/Åland, \"Sommer\"/写真.jpg");
        photo.i64Size = 5000000001;
        photo.iWidth = 4032;
        photo.iHeight = 3024;
        photo.iSimilarity = 95;
        photo.dSharpness = 6.25;
        photo.i64Modified = QDateTime(QDate(2024, 7, 1), QTime(12, 30, 5), Qt::UTC).toMSecsSinceEpoch();
        photo.bPreferred = true;
        photo.bProposed = true;
        return photo;
    }

private slots:
    void testJsonKeepsEveryPhotoField()
    {
        CScanReport report;
        report.settings.listSources = QStringList{QStringLiteral("/Bilder")};
        report.settings.iThreshold = 85;
        CReportPhoto other;
        other.strPath = QStringLiteral("/Bilder/b.jpg");
        report.listGroups << CReportGroup{false, {samplePhoto(), other}};

        CScanReport read;
        QString strError;
        QVERIFY2(CScanReport::fromJson(report.toJson(), &read, &strError), qPrintable(strError));
        QCOMPARE(read.settings.listSources, report.settings.listSources);
        QCOMPARE(read.settings.iThreshold, 85);
        QCOMPARE(read.listGroups.size(), 1);
        QCOMPARE(read.listGroups.first().bIdentical, false);
        // Every photo field is a column of the CSV, checked on its own below.
        QCOMPARE(read.toCsv(), report.toCsv());
    }

    void testJsonCarriesExactFileNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("bytesField");
        QTest::newRow("UTF-8") << QByteArray("/Bilder/\xc3\x85land.jpg") << false;
        QTest::newRow("stray byte") << QByteArray("/Bilder/a\xff.jpg") << true;
        QTest::newRow("Latin-1 folder") << QByteArray("/\xe9t\xe9/a.jpg") << true;
    }

    void testJsonCarriesExactFileNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, bytesField);
        CScanReport report;
        CReportPhoto photo;
        photo.strPath = dp::platform::pathFromBytes(name);
        report.listGroups << CReportGroup{true, {photo}};
        const QByteArray json = report.toJson();
        // Valid UTF-8 throughout, and no lone surrogate escaped into "path" either.
        QCOMPARE(QString::fromUtf8(json).toUtf8(), json);
        QVERIFY(!json.contains("\\udc"));
        QCOMPARE(json.contains("\"pathBytes\""), bytesField);

        CScanReport read;
        QString strError;
        QVERIFY2(CScanReport::fromJson(json, &read, &strError), qPrintable(strError));
        QCOMPARE(dp::platform::pathToBytes(read.listGroups.first().listPhotos.first().strPath), name);
    }

    void testCsvQuotesPathsAndKeepsHeaderOrder()
    {
        CScanReport report;
        report.listGroups << CReportGroup{true, {samplePhoto()}};
        const QList<QByteArray> lines = report.toCsv().split('\n');
        QCOMPARE(lines.at(0), QByteArray("group,path,size,width,height,similarity,sharpness,modified,preferred,proposed"));
        QCOMPARE(QString::fromUtf8(lines.at(1)),
                 QStringLiteral("1,\"/Bilder/Åland, \"\"Sommer\"\"/写真.jpg\",5000000001,4032,3024,95,6.25,"
                                "2024-07-01T12:30:05Z,1,1"));
    }
};

QTEST_GUILESS_MAIN(TestScanReport)
#include "tst_CScanReport.moc"
