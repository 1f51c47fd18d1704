#include "CThumbDiskCache.h"
#include "CThumbMemoryCache.h"
#include "CTestPhotos.h"

#include <QtTest>

using testphotos::writeBytes;

class tst_CThumbCaches : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }

    void testMemoryCacheEvictsLeastRecentlyUsed()
    {
        // Given room for about three 64x64 thumbnails
        const QImage thumb(64, 64, QImage::Format_RGB32);
        CThumbMemoryCache cache(static_cast<int>(thumb.sizeInBytes()) * 3 + 1024);
        cache.insert(QStringLiteral("a"), thumb);
        cache.insert(QStringLiteral("b"), thumb);
        cache.insert(QStringLiteral("c"), thumb);
        // When "a" is read and a fourth arrives
        QImage found;
        QVERIFY(cache.find(QStringLiteral("a"), found));
        cache.insert(QStringLiteral("d"), thumb);
        // Then "b", the least recently used, is gone and the budget holds
        QVERIFY(!cache.contains(QStringLiteral("b")));
        QVERIFY(cache.contains(QStringLiteral("a")));
        QVERIFY(cache.contains(QStringLiteral("d")));
        QVERIFY(cache.usedBytes() <= cache.budgetBytes());
        // A failure is remembered as a null picture.
        cache.insert(QStringLiteral("bad"), QImage());
        QVERIFY(cache.find(QStringLiteral("bad"), found));
        QVERIFY(found.isNull());
        QVERIFY(!cache.find(QStringLiteral("unknown"), found));
    }

    void testDiskCacheFollowsDesktopLayoutUntilFileChanges()
    {
        const QString strPhoto = writePhoto(QStringLiteral("photo one.jpg"));
        const QString strRoot = m_pDir->filePath(QStringLiteral("thumbnails"));
        QVERIFY(CThumbDiskCache(strRoot).store(strPhoto, smallThumb()));

        const QByteArray uri = QUrl::fromLocalFile(strPhoto).toEncoded();
        QVERIFY(uri.contains("photo%20one.jpg"));
        const QString strExpected = strRoot + QStringLiteral("/large/")
            + QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) + QStringLiteral(".png");
        const QImage stored(strExpected, "png");
        QCOMPARE(stored.size(), smallThumb().size());
        QCOMPARE(stored.text(QStringLiteral("Thumb::URI")), QString::fromLatin1(uri));
        QCOMPARE(stored.text(QStringLiteral("Thumb::MTime")),
                 QString::number(QFileInfo(strPhoto).lastModified().toSecsSinceEpoch()));
        QCOMPARE(QFileInfo(strExpected).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

        // A new cache object (a new run of the program) finds it again, until the photo changes.
        CThumbDiskCache reopened(strRoot);
        QCOMPARE(reopened.thumbPathFor(strPhoto), strExpected);
        QImage image;
        QVERIFY(reopened.load(strPhoto, image));
        QCOMPARE(image.size(), smallThumb().size());
        QFile file(strPhoto);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QFileInfo(strPhoto).lastModified().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(!reopened.load(strPhoto, image));
        QVERIFY(!reopened.load(m_pDir->filePath(QStringLiteral("never-cached.jpg")), image));
    }

    void testUnusableCacheDirTurnsCacheOff_data()
    {
        QTest::addColumn<QString>("root");
        // Works for root too: a file where the folder should be cannot be written into.
        QTest::newRow("a file in its place") << "file";
        QTest::newRow("no folder at all") << "";
    }

    void testUnusableCacheDirTurnsCacheOff()
    {
        QFETCH(QString, root);
        QString strRoot;
        if (!root.isEmpty()) {
            strRoot = m_pDir->filePath(root);
            QVERIFY(writeBytes(strRoot, QByteArray()));
        }
        CThumbDiskCache cache(strRoot);
        QVERIFY(!cache.isEnabled());
        const QString strPhoto = writePhoto(QStringLiteral("a.jpg"));
        QVERIFY(!cache.store(strPhoto, smallThumb()));
        QImage image;
        QVERIFY(!cache.load(strPhoto, image));
    }

private:
    static QImage smallThumb()
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        return image;
    }

    QString writePhoto(const QString &strName)
    {
        const QString strPath = m_pDir->filePath(strName);
        [&] { QVERIFY(smallThumb().save(strPath, "JPEG")); }();
        return strPath;
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_GUILESS_MAIN(tst_CThumbCaches)
#include "tst_CThumbCaches.moc"
