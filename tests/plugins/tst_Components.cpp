#include "CComponentBase.h"
#include "CComponentMgr.h"

#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtTest>

namespace {

QStringList g_listStartLog;
QtMessageHandler g_pfnPrevious = nullptr;
void collectStartLog(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtInfoMsg && qstrcmp(context.category, "XStartTimeLog") == 0)
        g_listStartLog << text;
    g_pfnPrevious(type, context, text);
}

} // namespace

// The component manager with the real plug-ins: lookup, lists in components.ini, and
// the language switch reaching the screens.
class tst_Components : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_strBinDir = QCoreApplication::applicationDirPath();
        QVERIFY(QFileInfo::exists(plugin(QStringLiteral("PublicLoader"))));
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/mirelle/language.ini");
    }

    void testLookupIgnoresCaseLogsUsageAndForgetsDestroyed()
    {
        CComponentMgr manager;
        manager.setBaseDirectory(m_strBinDir);
        QSignalSpy spyNew(&manager, &CComponentMgr::sigNewComponent);
        QPointer<QObject> pLoader = manager.loadComponent(QStringLiteral("PublicLoader"));
        QVERIFY(pLoader);
        QCOMPARE(manager.component(QStringLiteral("publicloader")), pLoader.data());
        QCOMPARE(manager.component(QStringLiteral("PUBLICLOADER")), pLoader.data());
        QCOMPARE(spyNew.count(), 1);
        g_listStartLog.clear();
        g_pfnPrevious = qInstallMessageHandler(collectStartLog);
        QObject *pMissing = manager.loadComponent(QStringLiteral("NoSuchComponent"));
        qInstallMessageHandler(g_pfnPrevious);
        QVERIFY(!pMissing);
        QCOMPARE(g_listStartLog, (QStringList{"\"load start NoSuchComponent\"", "\"load end NoSuchComponent\""}));
        QCOMPARE(spyNew.count(), 1);
        // The loader's usage events are logged locally.
        const QString list = QStringLiteral(R"({"images":"3","removed_images":"2","time_used":"41 ms"})");
        bool bOk = false;
        QVERIFY(QMetaObject::invokeMethod(pLoader, "sendUserInfo", Q_RETURN_ARG(bool, bOk),
                                          Q_ARG(QString, QStringLiteral("RemovePhotos")),
                                          Q_ARG(QString, QStringLiteral("Result_RemoveMarkedPhotos")), Q_ARG(QString, list)));
        QVERIFY(bOk);
        QFile log(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/mirelle/usage-events.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().endsWith("\tRemovePhotos\tResult_RemoveMarkedPhotos\t" + list.toUtf8() + '\n'));
        delete pLoader.data();
        QVERIFY(!manager.component(QStringLiteral("PublicLoader")));
    }

    void testComponentsIni_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<int>("announced");

        QTest::newRow("only COMPONENT5") << QByteArray("[COMPONENT5]\nname=Alpha\n") << QStringList{"alpha"} << 1;
        QTest::newRow("gaps, junk groups and a missing library")
            << QByteArray("[COMPONENT2]\nname=Alpha\n[COMPONENT3]\nnothing=here\n[COMPONENT40]\nname=Missing\n"
                          "[COMPONENT99]\nname=Beta\n[COMPONENT100]\nname=Gamma\n[COMPONENT07]\nname=Gamma\n")
            << QStringList{"alpha", "beta"} << 2;
        QTest::newRow("duplicates load again and replace") << QByteArray("[COMPONENT1]\nname=Alpha\n[COMPONENT2]\nname=Alpha\n")
                                                           << QStringList{"alpha"} << 2;
        QTest::newRow("binary junk") << QByteArray("\x00\xff[COMPONENT1\nname=\x01\x02", 18) << QStringList{} << 0;
        QTest::newRow("no file") << QByteArray() << QStringList{} << 0;
    }

    void testComponentsIni()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, loaded);
        QFETCH(int, announced);

        for (const char *pszName : {"Alpha", "Beta", "Gamma"})
            placePlugin(QString::fromLatin1(pszName));
        if (!ini.isNull()) {
            QFile file(m_pDir->filePath(QStringLiteral("components.ini")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        CComponentMgr manager;
        manager.setBaseDirectory(m_pDir->path());
        QSignalSpy spyNew(&manager, &CComponentMgr::sigNewComponent);
        manager.loadComponents();
        QCOMPARE(spyNew.count(), announced);
        for (const QString &name : {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")})
            QCOMPARE(manager.component(name) != nullptr, loaded.contains(name));
    }

    void testLanguageSwitchChangesVisibleText()
    {
        QVERIFY(QFileInfo::exists(m_strBinDir + QStringLiteral("/translations/mirelle_de.qm")));
        QQmlApplicationEngine engine;
        CComponentMgr manager;
        manager.setBaseDirectory(m_strBinDir);
        manager.setEngine(&engine);
        QObject *pLanguage = manager.loadComponent(QStringLiteral("MultiLanguage"));
        QVERIFY(pLanguage);
        QCOMPARE(engine.rootContext()->contextProperty(QStringLiteral("multilanguage")).value<QObject *>(), pLanguage);
        QVERIFY(manager.loadComponent(QStringLiteral("MainFrame")));
        QVERIFY(!engine.rootObjects().isEmpty());
        auto *pWindow = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
        QVERIFY(pWindow);
        auto *pLabel = pWindow->findChild<QQuickItem *>(QStringLiteral("fallbackMessage"));
        QVERIFY(pLabel);
        const QString english = QStringLiteral("The screens could not be loaded. Please reinstall the program.");
        QCOMPARE(pLabel->property("text").toString(), english);

        QSignalSpy spyChanged(pLanguage, SIGNAL(sigCurrentLanguageChanged()));
        bool bOk = false;
        QVERIFY(QMetaObject::invokeMethod(pLanguage, "setLanguage", Q_RETURN_ARG(bool, bOk), Q_ARG(QString, QStringLiteral("de"))));
        QVERIFY(bOk);
        QCOMPARE(spyChanged.count(), 1);
        QCOMPARE(pLabel->property("text").toString(),
                 QStringLiteral("Die Oberfläche konnte nicht geladen werden. Bitte installieren Sie das Programm neu."));
        QCOMPARE(pWindow->title(), QStringLiteral("Mirelle"));

        // No translation: nothing changes.
        QVERIFY(QMetaObject::invokeMethod(pLanguage, "setLanguage", Q_RETURN_ARG(bool, bOk), Q_ARG(QString, QStringLiteral("xx"))));
        QVERIFY(!bOk);
        QCOMPARE(pLanguage->property("currentLanguage").toString(), QStringLiteral("de"));

        QVERIFY(QMetaObject::invokeMethod(pLanguage, "setLanguage", Q_RETURN_ARG(bool, bOk), Q_ARG(QString, QStringLiteral("en"))));
        QCOMPARE(pLabel->property("text").toString(), english);
    }
private:
    QString plugin(const QString &strName) const
    {
        return m_strBinDir + QStringLiteral("/lib%1.so").arg(strName);
    }

    // Any of our plug-ins answers getInstance; a copy under another name stands for another component.
    void placePlugin(const QString &strName)
    {
        QVERIFY(QFile::copy(plugin(QStringLiteral("PublicLoader")), m_pDir->filePath(QStringLiteral("lib%1.so").arg(strName))));
    }

    QString m_strBinDir;
    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_MAIN(tst_Components)
#include "tst_Components.moc"
