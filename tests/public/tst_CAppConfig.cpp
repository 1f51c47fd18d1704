#include "CAppConfig.h"
#include "CIniRegistry.h"

#include <QtTest>

// Which configuration file wins, what junk in it does, and where versions come from.
class tst_CAppConfig : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }

    void testConfigFilePrecedence_data()
    {
        QTest::addColumn<bool>("explicitFile");
        QTest::addColumn<bool>("userFile");
        QTest::addColumn<bool>("exeFile");
        QTest::addColumn<QString>("winner");
        QTest::addColumn<QString>("opengl");

        QTest::newRow("nothing: beside the executable, no value") << false << false << false << "exe/config.ini" << "";
        QTest::newRow("only beside the executable") << false << false << true << "exe/config.ini" << "1";
        QTest::newRow("the user's wins over the executable's") << false << true << true
                                                              << "user/Quorvane Veltrix Cleaner/QRNConfig.ini" << "2";
        QTest::newRow("an existing explicit file wins") << true << true << true << "explicit.ini" << "0";
    }

    void testConfigFilePrecedence()
    {
        QFETCH(bool, explicitFile);
        QFETCH(bool, userFile);
        QFETCH(bool, exeFile);
        QFETCH(QString, winner);
        QFETCH(QString, opengl);

        QDir().mkpath(m_pDir->filePath(QStringLiteral("exe")));
        if (explicitFile)
            write(QStringLiteral("explicit.ini"), "[main]\nopengl=0\n");
        if (userFile)
            write(QStringLiteral("user/Quorvane Veltrix Cleaner/QRNConfig.ini"), "[main]\nopengl=2\n");
        if (exeFile)
            write(QStringLiteral("exe/config.ini"), "[main]\nopengl=1\n");

        const QString path = CAppConfig::configFilePath(m_pDir->filePath(QStringLiteral("explicit.ini")),
                                                        m_pDir->filePath(QStringLiteral("user")),
                                                        m_pDir->filePath(QStringLiteral("exe")));
        QCOMPARE(path, m_pDir->filePath(winner));
        QCOMPARE(CAppConfig::readConfigValue(QStringLiteral("main/opengl"), path).toString(), opengl);
        QCOMPARE(CAppConfig::readConfigValue(QStringLiteral("main/missing"), path).isValid(), false);
    }

    void testJunkConfigFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QVariant>("opengl");
        QTest::newRow("binary junk") << QByteArray("\x00\x01\xff\xfe[main\n\x00opengl", 16) << QVariant();
        QTest::newRow("empty") << QByteArray() << QVariant();
        QTest::newRow("duplicate keys: the last one") << QByteArray("[main]\nopengl=1\nopengl=2\n") << QVariant(QStringLiteral("2"));
        QTest::newRow("utf-8 byte order mark") << QByteArray("\xef\xbb\xbf[main]\nopengl=1\n") << QVariant(QStringLiteral("1"));
    }

    void testJunkConfigFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QVariant, opengl);
        const QString path = write(QStringLiteral("config.ini"), bytes);
        QCOMPARE(CAppConfig::readConfigValue(QStringLiteral("main/opengl"), path), opengl);
        // A folder where the file should be is no file at all.
        QDir().mkpath(m_pDir->filePath(QStringLiteral("folder.ini")));
        QVERIFY(!CAppConfig::readConfigValue(QStringLiteral("main/opengl"), m_pDir->filePath(QStringLiteral("folder.ini"))).isValid());
    }

    void testCurrentVersion_data()
    {
        QTest::addColumn<QByteArray>("versionFile");
        QTest::addColumn<QStringList>("registry"); // key=value, below HKEY_LOCAL_MACHINE\SOFTWARE\Quorvane\Photo
        QTest::addColumn<bool>("installVersion");
        QTest::addColumn<QString>("expected");

        QTest::newRow("version file beats the registry") << QByteArray("[AppData]\nVersion=3.1\n") << QStringList{"Version=2.0"}
                                                         << false << "3.1";
        QTest::newRow("registry Version") << QByteArray() << QStringList{"Version=2.0"} << false << "2.0";
        QTest::newRow("install version") << QByteArray() << QStringList{"InstallVer=2.5", "Version=2.0"} << true << "2.5";
        QTest::newRow("install version falls back to Version") << QByteArray() << QStringList{"Version=2.0"} << true << "2.0";
        QTest::newRow("then the Version key's Flag") << QByteArray() << QStringList{"Version\\Flag=1.9"} << false << "1.9";
        QTest::newRow("then the Version key's InstallVer") << QByteArray() << QStringList{"Version\\InstallVer=1.8"} << true
                                                           << "1.8";
        QTest::newRow("empty version file is skipped") << QByteArray("[AppData]\nVersion=\n") << QStringList{"Version=2.0"}
                                                       << false << "2.0";
        QTest::newRow("nothing anywhere") << QByteArray("junk\x00", 5) << QStringList{} << false << "";
    }

    void testCurrentVersion()
    {
        QFETCH(QByteArray, versionFile);
        QFETCH(QStringList, registry);
        QFETCH(bool, installVersion);
        QFETCH(QString, expected);

        const QString versionPath = versionFile.isNull() ? m_pDir->filePath(QStringLiteral("none.ini"))
                                                         : write(QStringLiteral("QRNConfig.ini"), versionFile);
        CIniRegistry stand(m_pDir->filePath(QStringLiteral("registry.ini")));
        for (const QString &entry : registry)
            QVERIFY(stand.setValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Photo\\") + entry.section('=', 0, 0),
                                   entry.section('=', 1)));
        QCOMPARE(CAppConfig::currentVersion(QStringLiteral("Photo"), installVersion, versionPath, stand), expected);
    }
private:
    QString write(const QString &strRelative, const QByteArray &bytes)
    {
        const QString path = m_pDir->filePath(strRelative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return QString();
        return path;
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_GUILESS_MAIN(tst_CAppConfig)
#include "tst_CAppConfig.moc"
