#include <QtTest>

#include "CFormat.h"

class tst_CFormat : public QObject
{
    Q_OBJECT
private slots:
    void testTexts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        QTest::newRow("negative size") << CFormat::sizeText(-5, en) << "0 bytes";
        QTest::newRow("bytes") << CFormat::sizeText(1023, en) << "1,023 bytes";
        QTest::newRow("one decimal below 100") << CFormat::sizeText(1536, en) << "1.5 KiB";
        QTest::newRow("whole from 100") << CFormat::sizeText(250LL * 1048576, en) << "250 MiB";
        QTest::newRow("German decimal comma") << CFormat::sizeText(1536, de) << "1,5 KiB";
        QTest::newRow("terabytes") << CFormat::sizeText(3LL << 40, en) << "3.0 TiB";
        // The short form's two-digit year becomes a full one.
        QTest::newRow("model text, English") << CFormat::dateTimeText(QVariant("2023-05-06 07:08:09"), en)
                                      << "5/6/2023 7:08 AM";
        QTest::newRow("model text, German") << CFormat::dateTimeText(QVariant("2023-05-06 17:08:09"), de)
                                            << "06.05.2023 17:08";
        QTest::newRow("unknown text kept") << CFormat::dateTimeText(QVariant("yesterday"), en) << "yesterday";
        QTest::newRow("invalid date") << CFormat::dateTimeText(QDateTime(), en) << "";
        QTest::newRow("pixel size") << CFormat::dimensionsText(960, 540) << "960 × 540";
    }

    void testTexts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_GUILESS_MAIN(tst_CFormat)
#include "tst_CFormat.moc"
