#include "CFilePreview.h"

#include <QtTest>

// File kinds by suffix and the 2048-byte start of text files.
class tst_CFilePreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }

    void testFileType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("type");

        const int text = CFilePreview::TypeText, image = CFilePreview::TypeImage, video = CFilePreview::TypeVideo,
                  audio = CFilePreview::TypeAudio, invalid = CFilePreview::TypeInvalid;
        for (const char *pName : {"notes.txt", "a.ini", "b.log", "c.c", "d.h", "e.java", "f.cpp", "g.ui", "h.pro", "i.html", "j.xml", "k.qml"})
            QTest::newRow(pName) << pName << 10 << text;
        for (const char *pName : {"photo.jpg", "b.png", "c.gif", "d.bmp", "e.ico", "f.jpeg", "UPPER.JPG"})
            QTest::newRow(pName) << pName << 10 << image;
        for (const char *pName : {"a.ts", "b.mp4", "c.avi", "d.flv", "clip.mkv", "f.3gp"})
            QTest::newRow(pName) << pName << 10 << video;
        for (const char *pName : {"song.mp3", "b.ogg", "c.wav", "d.wma", "e.ape", "f.ra"})
            QTest::newRow(pName) << pName << 10 << audio;
        QTest::newRow("empty photo") << "photo.jpg" << 0 << invalid;
        QTest::newRow("missing file") << "" << -1 << invalid;
        QTest::newRow("archive") << "archive.zip" << 10 << invalid;
        QTest::newRow("no suffix") << "README" << 10 << invalid;
        QTest::newRow("trailing dot") << "name." << 10 << invalid;
        QTest::newRow("part of xml is no suffix") << "x.ml" << 10 << invalid;
        QTest::newRow("last suffix counts") << "movie.mkv.txt" << 10 << text;
    }

    void testFileType()
    {
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(int, type);
        QString path;
        if (size >= 0)
            path = write(name, QByteArray(size, 'x'));
        else
            path = m_pDir->filePath(QStringLiteral("gone.jpg"));
        CFilePreview preview;
        QCOMPARE(int(preview.getFileType(path)), type);
    }

    void testTextContent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");

        const QByteArray a2047(2047, 'a');
        QTest::newRow("empty") << QByteArray("") << QString();
        QTest::newRow("2048 bytes") << a2047 + 'b' << QString(2047, 'a') + 'b';
        QTest::newRow("2049 bytes") << a2047 + "bc" << QString(2047, 'a') + 'b';
        // "ä" is two bytes: its first byte is the 2048th and stays a broken character.
        QTest::newRow("utf-8 cut at 2048") << a2047 + "\xc3\xa4tail" << QString(2047, 'a') + QChar(0xfffd);
        QTest::newRow("utf-8 ends at 2048") << QByteArray(2046, 'a') + "\xc3\xa4" << QString(2046, 'a') + QChar(0xe4);
    }

    void testTextContent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        CFilePreview preview;
        QCOMPARE(preview.getTextContent(write(QStringLiteral("t.txt"), bytes)), expected);
        QCOMPARE(preview.getTextContent(QString()), QString());
        QCOMPARE(preview.getTextContent(m_pDir->filePath(QStringLiteral("missing.txt"))), QString());
    }
private:
    QString write(const QString &strName, const QByteArray &bytes)
    {
        QFile file(m_pDir->filePath(strName));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return file.fileName();
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_GUILESS_MAIN(tst_CFilePreview)
#include "tst_CFilePreview.moc"
