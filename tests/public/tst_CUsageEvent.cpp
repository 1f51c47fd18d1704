#include "CIniRegistry.h"
#include "CNexClient.h"
#include "CPlatform.h"
#include "CTraceLog.h"
#include "CUsageEvent.h"

#include <QtTest>

// Usage-event encoding and the local helper service: its application ID, its switch and its log.
class tst_CUsageEvent : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    // The event text for a list of pairs, and the helper's application ID for an install version.
    void testTexts_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const auto encode = [](const QStringList &listPairs) { return CUsageEvent::encode(listPairs); };
        QTest::newRow("removal result") << encode({"images", "3", "removed_images", "2", "time_used", "41 ms"})
                                        << R"({"images":"3","removed_images":"2","time_used":"41 ms"})";
        QTest::newRow("odd length") << encode({"images", "3", "removed_images"}) << "";
        QTest::newRow("empty list") << encode({}) << "{}";
        QTest::newRow("quote copied as it is") << encode({"path", "a\"b"}) << "{\"path\":\"a\"b\"}";
        QTest::newRow("placeholder text in a value") << encode({"k", "%1 %2", "n", "x"}) << R"({"k":"%1 %2","n":"x"})";
        const QVariantMap ids{{"pro", "A"}, {"free", "B"}};
        const auto appId = [](const char *pszVersion, const QVariantMap &mapIds) {
            return QString::fromLatin1(CNexClient::chooseAppId(QString::fromLatin1(pszVersion), mapIds));
        };
        QTest::newRow("ID: key compared in lower case") << appId("Free", ids) << "B";
        QTest::newRow("ID: exact key") << appId("pro", ids) << "A";
        QTest::newRow("ID: unknown takes the first key in order") << appId("trial", ids) << "B";
        QTest::newRow("ID: empty map") << appId("pro", {}) << "";
    }

    void testTexts()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void testRegistrationSwitchPersists()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("registry.ini"));
        {
            CIniRegistry registry(file);
            dp::platform::setRegistry(&registry);
            QVERIFY(!CNexClient::isRegistered("A"));
            QVERIFY(CNexClient::setRegistered("A", true));
            QVERIFY(CNexClient::isRegistered("A"));
            QVERIFY(!CNexClient::isRegistered("B"));
        }
        CIniRegistry reopened(file);
        dp::platform::setRegistry(&reopened);
        QVERIFY(CNexClient::isRegistered("A"));
        QVERIFY(CNexClient::setRegistered("A", false));
        QVERIFY(!CNexClient::isRegistered("A"));
        dp::platform::setRegistry(nullptr);
    }

    void testTraceLogRotatesAndStaysCapped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("logs/trace.log"));
        CTraceLog log(path, 2048, 2);
        const QString line(100, QLatin1Char('x'));
        // Queued lines (warnings) and direct ones share the cap and the rotation.
        for (int i = 0; i < 200; ++i) {
            if (i % 2)
                log.post(QStringLiteral("%1 %2").arg(i).arg(line));
            else
                QVERIFY(log.append(QStringLiteral("%1 %2").arg(i).arg(line)));
        }
        log.flush();
        QVERIFY(QFileInfo(path).size() <= 2048);
        QVERIFY(QFileInfo(path + ".1").size() <= 2048);
        QVERIFY(QFileInfo::exists(path + ".2"));
        QVERIFY(!QFileInfo::exists(path + ".3"));
        QFile newest(path);
        QVERIFY(newest.open(QIODevice::ReadOnly));
        QVERIFY(newest.readAll().contains("199 xxx"));
        // One line bigger than the whole cap is cut, never lets the file grow past it.
        QVERIFY(log.append(QString(10000, QLatin1Char('y'))));
        QVERIFY(QFileInfo(path).size() <= 2048);
    }
};

QTEST_GUILESS_MAIN(tst_CUsageEvent)
#include "tst_CUsageEvent.moc"
