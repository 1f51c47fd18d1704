#include "CDisplaySetup.h"
#include "CIniRegistry.h"
#include "CPlatform.h"
#include "IDesktop.h"

#include <QtTest>

using AttributeList = QList<Qt::ApplicationAttribute>;
Q_DECLARE_METATYPE(AttributeList)

// Screen scale, OpenGL choice and font: what start-up hands to Qt before the application exists.
class tst_CDisplaySetup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void testScaleFactor_data()
    {
        QTest::addColumn<QSize>("design");
        QTest::addColumn<QSize>("logical");
        QTest::addColumn<QSize>("physical");
        QTest::addColumn<QByteArray>("text");

        const QSize design(1020, 600);
        QTest::newRow("1920x1080 at 100%") << design << QSize(1920, 1080) << QSize(1920, 1080) << QByteArray("1.001");
        QTest::newRow("1920x1080 at 150%") << design << QSize(1280, 720) << QSize(1920, 1080) << QByteArray("1.501");
        QTest::newRow("1024x600: height wins") << design << QSize(1024, 600) << QSize(1024, 600) << QByteArray("1");
        QTest::newRow("800x480: below 1") << design << QSize(800, 480) << QSize(800, 480) << QByteArray("0.784314");
        QTest::newRow("logical width unknown") << design << QSize(0, 0) << QSize(3840, 2160) << QByteArray("1");
        QTest::newRow("design width 0") << QSize(0, 600) << QSize(1920, 1080) << QSize(1920, 1080) << QByteArray("0");
        QTest::newRow("no desktop") << design << QSize() << QSize(0, 0) << QByteArray("0");
    }

    void testScaleFactor()
    {
        QFETCH(QSize, design);
        QFETCH(QSize, logical);
        QFETCH(QSize, physical);
        QFETCH(QByteArray, text);
        CDesktopMetrics metrics;
        metrics.iLogicalWidth = logical.width();
        metrics.iLogicalHeight = logical.height();
        metrics.iPhysicalWidth = physical.width();
        metrics.iPhysicalHeight = physical.height();
        QCOMPARE(QByteArray::number(CDisplaySetup::scaleFactor(design, metrics), 'g', 6), text);
    }

    void testChooseOpenGL_data()
    {
        QTest::addColumn<QVariant>("openGL");
        QTest::addColumn<bool>("software");
        QTest::addColumn<int>("attributeEx");
        QTest::addColumn<AttributeList>("attributes");
        QTest::addColumn<bool>("useBugList");

        QTest::newRow("nothing configured") << QVariant() << false << 15 << AttributeList{Qt::AA_UseDesktopOpenGL} << true;
        QTest::newRow("opengl 2 is software, no bug list")
            << QVariant(QStringLiteral("2")) << false << 15 << AttributeList{Qt::AA_UseSoftwareOpenGL, Qt::AA_UseDesktopOpenGL}
            << false;
        QTest::newRow("opengl 1 is OpenGL ES")
            << QVariant(QStringLiteral("1")) << false << 15 << AttributeList{Qt::AA_UseOpenGLES, Qt::AA_UseDesktopOpenGL} << true;
        QTest::newRow("softwareopengl forces software, list stays")
            << QVariant() << true << 15 << AttributeList{Qt::AA_UseSoftwareOpenGL, Qt::AA_UseDesktopOpenGL} << true;
        QTest::newRow("junk opengl value is ignored") << QVariant(QStringLiteral("fast")) << false << 15
                                                      << AttributeList{Qt::AA_UseDesktopOpenGL} << true;
        QTest::newRow("attribute number out of range is ignored") << QVariant() << false << 9999 << AttributeList{} << true;
    }

    void testChooseOpenGL()
    {
        QFETCH(QVariant, openGL);
        QFETCH(bool, software);
        QFETCH(int, attributeEx);
        QFETCH(AttributeList, attributes);
        QFETCH(bool, useBugList);
        const CDisplaySetup::COpenGLChoice choice = CDisplaySetup::chooseOpenGL(openGL, software, attributeEx);
        QCOMPARE(choice.listAttributes, attributes);
        QCOMPARE(choice.bUseBugList, useBugList);
    }

    void testOpenGLFeatureReadsConfiguration_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<bool>("bugListFile");
        QTest::addColumn<bool>("software");
        QTest::addColumn<bool>("bugListSet");
        QTest::newRow("no configuration, bug list present") << QByteArray() << true << false << true;
        QTest::newRow("software rendering suppresses the bug list") << QByteArray("[main]\nopengl=2\n") << true << true << false;
        QTest::newRow("no bug list file") << QByteArray() << false << false << false;
    }

    void testOpenGLFeatureReadsConfiguration()
    {
        QFETCH(QByteArray, config);
        QFETCH(bool, bugListFile);
        QFETCH(bool, software);
        QFETCH(bool, bugListSet);

        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("xdg"))));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("none"))));
        qunsetenv("QT_OPENGL_BUGLIST");
        QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL, false);
        if (bugListFile) {
            QDir().mkpath(dir.filePath(QStringLiteral("xdg")));
            QFile list(dir.filePath(QStringLiteral("xdg/opengl-blacklist.json")));
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write("{}");
        }
        QString configPath = dir.filePath(QStringLiteral("config.ini"));
        if (!config.isNull()) {
            QFile file(configPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(config);
        }
        const CDisplaySetup::COpenGLChoice choice = CDisplaySetup::openGLFeature(false, configPath);
        QCOMPARE(choice.bSoftware, software);
        QCOMPARE(QCoreApplication::testAttribute(Qt::AA_UseSoftwareOpenGL), software);
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_UseDesktopOpenGL));
        QCOMPARE(qEnvironmentVariableIsSet("QT_OPENGL_BUGLIST"), bugListSet);
        if (bugListSet)
            QCOMPARE(qEnvironmentVariable("QT_OPENGL_BUGLIST"), dir.filePath(QStringLiteral("xdg/opengl-blacklist.json")));
        QCOMPARE(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), QByteArray("--ignore-gpu-blacklist"));
    }

    void testFontFollowsOemMarker_data()
    {
        QTest::addColumn<QVariant>("oem");
        QTest::addColumn<QString>("font");
        QTest::newRow("no marker") << QVariant() << "Segoe UI";
        QTest::newRow("mainland") << QVariant(QStringLiteral("OEM-MainLand-2")) << "Microsoft YaHei";
        QTest::newRow("wrong case") << QVariant(QStringLiteral("mainland")) << "Segoe UI";
    }

    void testFontFollowsOemMarker()
    {
        QFETCH(QVariant, oem);
        QFETCH(QString, font);
        QTemporaryDir dir;
        CIniRegistry registry(dir.filePath(QStringLiteral("registry.ini")));
        if (oem.isValid())
            QVERIFY(registry.setValue(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\QUORVANE\\KTR\\OEM"), oem));
        dp::platform::setRegistry(&registry);
        const QString chosen = CDisplaySetup::fontFamily(CDisplaySetup::isMainland());
        dp::platform::setRegistry(nullptr);
        QCOMPARE(chosen, font);
    }
};

// No application object: the graphics attributes are set before one exists.
QTEST_APPLESS_MAIN(tst_CDisplaySetup)
#include "tst_CDisplaySetup.moc"
