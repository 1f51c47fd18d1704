#include "CIniRegistry.h"
#include "CNexClient.h"
#include "CPlatform.h"
#include "CTraceLog.h"

#include <QtTest>

// The local helper service's switch, kept across restarts, and the trace log's cap.
class tst_CUsageEvent : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
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
