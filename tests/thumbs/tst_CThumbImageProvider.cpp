#include "CThumbImageProvider.h"
#include "CTestPhotos.h"
#include "ThumbForge.h"

#include <QtTest>

using namespace testphotos;

// Decoding on a machine busy with other work can take far longer than the default wait.
constexpr int kDecodeWaitMs = 30000;

class tst_CThumbImageProvider : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("cache"))));
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        connect(pManager, &CImgThumbManager::sigImgThumbResult, this, [this] { ++m_iThumbs; });
        connect(pManager, &CImgThumbManager::sigBigImgResult, this, [this] { ++m_iBig; });
        pManager->Start();

        m_strPath = m_dir.filePath(QStringLiteral("my photo.jpg"));
        QVERIFY(save(cornerImage(3000, 1500), m_strPath, "JPG", 92));
        QList<stu_ThumbTask> listReserved{{5, m_strPath}};
        pManager->SetReserveThumbList(listReserved);
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(5), m_strPath);
        QTRY_COMPARE_WITH_TIMEOUT(m_iThumbs, 1, kDecodeWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(m_iBig, 1, kDecodeWaitMs);
    }

    void testServesByIdOrEscapedPath_data()
    {
        QTest::addColumn<bool>("large");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("size");
        const QString strId = QString::fromLatin1(
            QCryptographicHash::hash(m_strPath.toUtf8(), QCryptographicHash::Sha512).toHex());
        const QString strEscaped = QString::fromLatin1(QUrl::toPercentEncoding(m_strPath, "/"));
        QTest::newRow("thumbnail by id") << false << strId << QSize(256, 128);
        QTest::newRow("thumbnail by escaped path") << false << strEscaped << QSize(256, 128);
        QTest::newRow("large image by id") << true << strId << QSize(2048, 1024);
        QTest::newRow("empty id") << false << QString() << QSize();
        QTest::newRow("unknown id") << false << QString(128, QLatin1Char('0')) << QSize();
        QTest::newRow("large, unknown path") << true << QStringLiteral("/nowhere/x.jpg") << QSize();
    }

    void testServesByIdOrEscapedPath()
    {
        QFETCH(bool, large);
        QFETCH(QString, id);
        QFETCH(QSize, size);
        QVERIFY(m_strPath.contains(QLatin1Char(' ')));
        CThumbImageProvider provider(large);
        QCOMPARE(provider.imageType(), QQmlImageProviderBase::Image);
        QVERIFY(provider.flags() & QQmlImageProviderBase::ForceAsynchronousImageLoading);
        QSize reported(-1, -1);
        const QImage image = provider.requestImage(id, &reported, QSize(10, 10));
        if (size.isValid())
            QCOMPARE(image.size(), size);
        else
            QVERIFY(image.isNull());
        QCOMPARE(reported, QSize(-1, -1));
    }

private:
    QTemporaryDir m_dir;
    QString m_strPath;
    int m_iThumbs = 0;
    int m_iBig = 0;
};

QTEST_MAIN(tst_CThumbImageProvider)
#include "tst_CThumbImageProvider.moc"
