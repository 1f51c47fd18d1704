#include "CDesktopNotifier.h"
#include "CNexClient.h"

#include <QDBusConnection>
#include <QtTest>

namespace {

// Stands in for the desktop's notification service on a private bus.
class CFakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList listBodies() const
    {
        QMutexLocker locker(&m_mutex);
        return m_listBodies;
    }
public Q_SLOTS:
    uint Notify(const QString &, uint, const QString &, const QString &strSummary, const QString &strBody,
                const QStringList &, const QVariantMap &, int)
    {
        QMutexLocker locker(&m_mutex);
        m_listBodies << strSummary + QLatin1Char('|') + strBody;
        return static_cast<uint>(m_listBodies.size()) + 40;
    }
private:
    mutable QMutex m_mutex;
    QStringList m_listBodies;
};

} // namespace

// Notifications reach the desktop's notification service, and its absence costs nothing.
class tst_CDesktopNotifier : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY(m_bus.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine() || m_bus.waitForReadyRead(100), 5000);
        m_strAddress = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(!m_strAddress.isEmpty());
        // Before the session bus is first used, so that the notifier finds our private bus.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_strAddress.toUtf8());
    }

    void cleanupTestCase()
    {
        m_serviceThread.quit();
        m_serviceThread.wait();
        delete m_pFake;
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.kill();
            m_bus.waitForFinished(3000);
        }
    }

    void testNotificationReachesService()
    {
        // Nobody listens yet: no notification, and no harm done.
        QCOMPARE(CDesktopNotifier::notify(QStringLiteral("nobody listens")), -1);
        // The service answers on its own thread: our call blocks the test's.
        m_pFake = new CFakeNotifications;
        m_pFake->moveToThread(&m_serviceThread);
        m_serviceThread.start();
        QDBusConnection service = QDBusConnection::connectToBus(m_strAddress, QStringLiteral("fake-notifications"));
        QVERIFY(service.isConnected());
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), m_pFake,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.Notifications")));

        QCOMPARE(CDesktopNotifier::notify(QStringLiteral("Scan finished"), QStringLiteral("Photos")), 41);
        QTemporaryDir dir;
        CNexClient client("A", dir.path());
        QCOMPARE(client.onServiceCall("Removal finished", 2), 0);
        QCOMPARE(m_pFake->listBodies(), (QStringList{"Photos|Scan finished", "Mirelle|Removal finished"}));
    }
private:
    QProcess m_bus;
    QString m_strAddress;
    QThread m_serviceThread;
    CFakeNotifications *m_pFake = nullptr;
};

QTEST_GUILESS_MAIN(tst_CDesktopNotifier)
#include "tst_CDesktopNotifier.moc"
