#include <QtTest>

#include "CPathCodec.h"

class TestPathCodec : public QObject
{
    Q_OBJECT
private slots:
    void testRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("raw");
        QTest::newRow("ascii") << QByteArray("/p/a.jpg") << false;
        QTest::newRow("utf8") << QByteArray("/p/\xc3\xa9t\xc3\xa9 \xf0\x9f\x93\xb7.jpg") << false;
        QTest::newRow("latin1 byte") << QByteArray("/p/caf\xe9.jpg") << true;
        QTest::newRow("byte 0xff") << QByteArray("/p/x\xff.jpg") << true;
        QTest::newRow("lone continuation") << QByteArray("/p/\x80\xbf.jpg") << true;
        QTest::newRow("overlong slash") << QByteArray("/p/\xc0\xaf.jpg") << true;
        QTest::newRow("encoded surrogate") << QByteArray("/p/\xed\xb2\x80.jpg") << true;
        QTest::newRow("cut sequence at end") << QByteArray("/p/a\xe2\x82") << true;
        QTest::newRow("newline") << QByteArray("/p/a\nb.jpg") << false;
    }
    void testRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, raw);
        const QString path = dp::platform::pathFromBytes(bytes);
        QCOMPARE(dp::platform::needsRawAccess(path), raw);
        QCOMPARE(dp::platform::pathToBytes(path), bytes);
        if (!raw)
            QCOMPARE(path, QString::fromUtf8(bytes));
    }
};

QTEST_GUILESS_MAIN(TestPathCodec)
#include "tst_CPathCodec.moc"
