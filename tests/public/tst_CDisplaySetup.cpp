#include "CAppConfig.h"
#include "CDisplaySetup.h"

#include <QtTest>

using AttributeList = QList<Qt::ApplicationAttribute>;
Q_DECLARE_METATYPE(AttributeList)

// Start-up before the application exists: which configuration file wins, and the OpenGL
// choice handed to Qt.
class tst_CDisplaySetup : public QObject
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
        // A folder where the file should be is no file at all.
        QVERIFY(!CAppConfig::readConfigValue(QStringLiteral("main/opengl"), m_pDir->filePath(QStringLiteral("exe"))).isValid());
    }

    // The graphics keys of the configuration file, as applied before the application exists.
    void testOpenGLChoice_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("bugListFile");
        QTest::addColumn<AttributeList>("attributes");
        QTest::addColumn<bool>("bugListSet");
        const Qt::ApplicationAttribute desktop = Qt::AA_UseDesktopOpenGL, software = Qt::AA_UseSoftwareOpenGL;
        QTest::newRow("nothing configured") << QByteArray() << true << AttributeList{desktop} << true;
        QTest::newRow("no bug list file") << QByteArray() << false << AttributeList{desktop} << false;
        QTest::newRow("opengl 2 is software, no bug list")
            << QByteArray("[main]\nopengl=2\n") << true << AttributeList{software, desktop} << false;
        QTest::newRow("opengl 1 is OpenGL ES")
            << QByteArray("[main]\nopengl=1\n") << true << AttributeList{Qt::AA_UseOpenGLES, desktop} << true;
        QTest::newRow("softwareopengl forces software, list stays")
            << QByteArray("[main]\nsoftwareopengl=true\n") << true << AttributeList{software, desktop} << true;
        QTest::newRow("junk opengl value is ignored") << QByteArray("[main]\nopengl=fast\n") << true << AttributeList{desktop} << true;
        QTest::newRow("attribute number out of range is ignored")
            << QByteArray("[main]\nsoftwareopenglEx=9999\n") << true << AttributeList{} << true;
    }

    void testOpenGLChoice()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, bugListFile);
        QFETCH(AttributeList, attributes);
        QFETCH(bool, bugListSet);

        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_pDir->filePath(QStringLiteral("xdg"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(m_pDir->filePath(QStringLiteral("none"))));
        qunsetenv("QT_OPENGL_BUGLIST");
        QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, false);
        if (bugListFile)
            QVERIFY(!write(QStringLiteral("xdg/opengl-blacklist.json"), "{}").isEmpty());
        const QString configPath = m_pDir->filePath(QStringLiteral("config.ini"));
        if (!config.isNull())
            QVERIFY(!write(QStringLiteral("config.ini"), config).isEmpty());
        const CDisplaySetup::COpenGLChoice choice = CDisplaySetup::openGLFeature(false, configPath);
        QCOMPARE(choice.listAttributes, attributes);
        QCOMPARE(choice.bSoftware, config.contains("opengl=2"));
        QCOMPARE(QCoreApplication::testAttribute(Qt::AA_UseSoftwareOpenGL), attributes.contains(Qt::AA_UseSoftwareOpenGL));
        QCOMPARE(qEnvironmentVariableIsSet("QT_OPENGL_BUGLIST"), bugListSet);
        if (bugListSet)
            QCOMPARE(qEnvironmentVariable("QT_OPENGL_BUGLIST"), m_pDir->filePath(QStringLiteral("xdg/opengl-blacklist.json")));
        QCOMPARE(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), QByteArray("--ignore-gpu-blacklist"));
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

// No application object: the graphics attributes are set before one exists.
QTEST_APPLESS_MAIN(tst_CDisplaySetup)
#include "tst_CDisplaySetup.moc"
