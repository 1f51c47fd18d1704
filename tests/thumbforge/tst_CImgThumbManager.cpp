#include "CThumbImageProvider.h"
#include "ThumbFixtures.h"
#include "ThumbForge.h"

#include <QtTest>

using namespace ThumbFixtures;

// A thumbnail's or a large image's result; only a large image has details.
struct CResult
{
    QVariant group;
    QString path;
    QVariantMap meta;
    bool ok = false;
};

static QString idOf(const QString &strPath)
{
    return QString::fromLatin1(QCryptographicHash::hash(strPath.toUtf8(), QCryptographicHash::Sha512).toHex());
}

// The environment that makes this executable a child that exits while the manager is busy.
const char kChildDirVar[] = "THUMBFORGE_EXIT_CHILD_DIR";
const char kChildStopsVar[] = "THUMBFORGE_EXIT_CHILD_STOPS";

static int runBusyChild(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir dir(qEnvironmentVariable(kChildDirVar));
    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    bool bFirst = false;
    QObject::connect(pManager, &CImgThumbManager::sigImgThumbResult, &app, [&bFirst] { bFirst = true; });
    pManager->Start();
    const QImage photo = cornerImage(2400, 1600);
    for (int i = 0; i < 12; ++i) {
        const QString strPath = dir.filePath(QStringLiteral("busy%1.jpg").arg(i));
        if (!save(photo, strPath, "JPG", 92))
            return 3;
        pManager->EnPutThumbTask(stu_ThumbTask{1, strPath}, false);
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(1), strPath);
    }
    QElapsedTimer timer;
    timer.start();
    while (!bFirst && timer.elapsed() < 20000)
        app.processEvents(QEventLoop::WaitForMoreEvents, 100);
    for (int i = 0; i < qEnvironmentVariableIntValue(kChildStopsVar); ++i)
        pManager->Stop();
    return bFirst ? 0 : 4;
}

// Drives the process-wide manager as the program does: results arrive from worker
// threads through automatic (here queued) connections to this object.
class tst_CImgThumbManager : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_cacheDir.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cacheDir.path()));
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        connect(pManager, &CImgThumbManager::sigImgThumbResult, this,
                [this](QVariant group, QString path, bool ok) { m_listThumbs.append({group, path, {}, ok}); });
        connect(pManager, &CImgThumbManager::sigBigImgResult, this,
                [this](QVariant group, QString path, QMap<QString, QVariant> meta, bool ok) {
                    m_listBig.append({group, path, meta, ok});
                });
        pManager->Start();
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_listThumbs.clear();
        m_listBig.clear();
    }

    void cleanup() { CImgThumbManager::GetInstance()->Start(); }

    void testReportsEachThumbnailOnce_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QSize>("size");
        const QSize thumb(256, 192);
        QTest::newRow("jpeg") << "photo.jpg" << QByteArray("JPEG") << QByteArray() << true << thumb;
        QTest::newRow("png") << "photo.png" << QByteArray("PNG") << QByteArray() << true << thumb;
        QTest::newRow("gif") << "photo.gif" << QByteArray() << tinyGif() << true << QSize(1, 1);
        QTest::newRow("jpeg named png") << "jpeg-inside.png" << QByteArray("JPEG") << QByteArray() << true << thumb;
        QTest::newRow("unicode name") << QString::fromUtf8("фото 写真.jpg") << QByteArray("JPEG") << QByteArray() << true << thumb;
        QTest::newRow("heic") << "photo.heic" << QByteArray("HEIC") << QByteArray() << true << thumb;
        QTest::newRow("zero-byte") << "zero-byte.jpg" << QByteArray() << QByteArray("") << false << QSize();
        QTest::newRow("vanished file") << "vanished.jpg" << QByteArray("missing") << QByteArray() << false << QSize();
    }

    void testReportsEachThumbnailOnce()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(QSize, size);
        const QString strPath = m_pDir->filePath(name);
        const QImage source = cornerImage(640, 480);
        if (format == "HEIC") {
            if (!saveHeic(source, strPath))
                QSKIP("no HEVC encoder to make the fixture");
        } else if (!format.isEmpty() && format != "missing") {
            QVERIFY(source.save(strPath, format.constData()));
        } else if (format.isEmpty()) {
            QVERIFY(writeBytes(strPath, bytes));
        }

        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        pManager->EnPutThumbTask(stu_ThumbTask{42, strPath}, false);
        QTRY_COMPARE(m_listThumbs.size(), 1);
        QCOMPARE(m_listThumbs.at(0).group.toULongLong(), 42ULL);
        QCOMPARE(m_listThumbs.at(0).path, strPath);
        QCOMPARE(m_listThumbs.at(0).ok, ok);

        // The path and the image id answer alike; a failure is true with a null picture.
        for (const QString &strKey : {strPath, idOf(strPath)}) {
            QPixmap pixmap;
            QVERIFY(pManager->GetThumb(strKey, pixmap));
            QCOMPARE(pixmap.isNull(), !ok);
            QImage image;
            QVERIFY(pManager->GetThumbImage(strKey, image));
            QCOMPARE(image.isNull(), !ok);
            QCOMPARE(image.size(), ok ? size : QSize(0, 0));
            if (size == QSize(256, 192))
                QVERIFY(isRed(image.pixel(4, 4)));
        }
        QCoreApplication::processEvents();
        QCOMPARE(m_listThumbs.size(), 1);
    }

    void testBigImageIsScreenSizedWithDetails()
    {
        const QString strPath = m_pDir->filePath(QStringLiteral("big.jpg"));
        QVERIFY(save(cornerImage(3000, 2000), strPath, "JPG", 92));
        QVERIFY(writeExif(strPath, {{QStringLiteral("Exif.Image.Model"), QStringLiteral("TestCam 7")},
                                    {QStringLiteral("Exif.Photo.DateTimeOriginal"), QStringLiteral("2021:05:04 10:20:30")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLatitudeRef"), QStringLiteral("N")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLatitude"), QStringLiteral("48/1 51/1 30/1")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLongitudeRef"), QStringLiteral("W")},
                                    {QStringLiteral("Exif.GPSInfo.GPSLongitude"), QStringLiteral("2/1 17/1 24/1")}}));
        const QString strBad = m_pDir->filePath(QStringLiteral("zero-byte.jpg"));
        QVERIFY(writeBytes(strBad, QByteArray()));
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(7), strPath);
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(8), strBad);
        QTRY_COMPARE(m_listBig.size(), 2);
        QCOMPARE(m_listThumbs.size(), 0);

        const CResult good = m_listBig.at(0);
        QCOMPARE(good.group.toULongLong(), 7ULL);
        QCOMPARE(good.path, strPath);
        QVERIFY(good.ok);
        QCOMPARE(good.meta, (QVariantMap{{QStringLiteral("cameraModel"), QStringLiteral("TestCam 7")},
                                         {QStringLiteral("latitude"), QStringLiteral("48.858333")},
                                         {QStringLiteral("longitude"), QStringLiteral("-2.290000")},
                                         {QStringLiteral("shootTime"), QDateTime(QDate(2021, 5, 4), QTime(10, 20, 30))}}));
        QPixmap pixmap;
        QVERIFY(pManager->GetBigImg(idOf(strPath), pixmap));
        QCOMPARE(pixmap.size(), QSize(2048, 1365));

        const CResult bad = m_listBig.at(1);
        QVERIFY(!bad.ok);
        QVERIFY(bad.meta.isEmpty());
        QVERIFY(pManager->GetBigImg(strBad, pixmap));
        QVERIFY(pixmap.isNull());
    }

    // The program ends with the library busy: the process must still end promptly and
    // cleanly, whether or not someone called Stop() (once or twice).
    void testExitsWhileBusy_data()
    {
        QTest::addColumn<int>("stops");
        QTest::newRow("no Stop") << 0;
        QTest::newRow("Stop twice") << 2;
    }

    void testExitsWhileBusy()
    {
        QFETCH(int, stops);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildDirVar), m_pDir->path());
        env.insert(QString::fromLatin1(kChildStopsVar), QString::number(stops));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_pDir->filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForStarted());
        QVERIFY2(child.waitForFinished(45000), "the process hung at exit");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

    // Runs last: the list it reserves is cleared at its end.
    void testProviderServesByIdOrEscapedPath_data()
    {
        QTest::addColumn<bool>("large");
        QTest::addColumn<QString>("key");  // "id" and "escaped" stand for the photo's
        QTest::addColumn<QSize>("size");
        QTest::newRow("thumbnail by escaped path") << false << "escaped" << QSize(256, 128);
        QTest::newRow("large image by id") << true << "id" << QSize(2048, 1024);
        QTest::newRow("empty id") << false << QString() << QSize();
        QTest::newRow("unknown id") << false << QString(128, QLatin1Char('0')) << QSize();
        QTest::newRow("large, unknown path") << true << "/nowhere/x.jpg" << QSize();
    }

    void testProviderServesByIdOrEscapedPath()
    {
        QFETCH(bool, large);
        QFETCH(QString, key);
        QFETCH(QSize, size);
        const QString strPath = m_pDir->filePath(QStringLiteral("my photo.jpg"));
        QVERIFY(save(cornerImage(3000, 1500), strPath, "JPG", 92));
        CImgThumbManager *pManager = CImgThumbManager::GetInstance();
        QList<stu_ThumbTask> listReserved{{5, strPath}};
        pManager->SetReserveThumbList(listReserved);
        pManager->slotNewBigImgTask(QVariant::fromValue<quint64>(5), strPath);
        QTRY_COMPARE_WITH_TIMEOUT(m_listThumbs.size(), 1, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(m_listBig.size(), 1, 30000);
        listReserved.clear();
        pManager->SetReserveThumbList(listReserved);
        if (key == QLatin1String("id"))
            key = idOf(strPath);
        else if (key == QLatin1String("escaped"))
            key = QString::fromLatin1(QUrl::toPercentEncoding(strPath, "/"));
        CThumbImageProvider provider(large);
        QVERIFY(provider.flags() & QQmlImageProviderBase::ForceAsynchronousImageLoading);
        QSize reported(-1, -1);
        const QImage image = provider.requestImage(key, &reported, QSize(10, 10));
        QCOMPARE(image.size(), size.isValid() ? size : QSize(0, 0));
        QCOMPARE(reported, QSize(-1, -1));
    }

private:
    QTemporaryDir m_cacheDir;
    std::unique_ptr<QTemporaryDir> m_pDir;
    QList<CResult> m_listThumbs;
    QList<CResult> m_listBig;
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(kChildDirVar))
        return runBusyChild(argc, argv);
    QGuiApplication app(argc, argv);
    tst_CImgThumbManager test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_CImgThumbManager.moc"
