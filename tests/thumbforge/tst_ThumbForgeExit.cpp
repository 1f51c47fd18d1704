#include "CTestPhotos.h"
#include "ThumbForge.h"

#include <QtTest>

// The program ends with the thumbnail library busy: the process must still end
// promptly and cleanly, whether or not someone called Stop() (once or twice).
// Each case runs this executable again as a child that exits mid-work.

namespace {

const char kChildDirVar[] = "THUMBFORGE_EXIT_CHILD_DIR";
const char kChildStopsVar[] = "THUMBFORGE_EXIT_CHILD_STOPS";

int runBusyChild(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QDir dir(qEnvironmentVariable(kChildDirVar));
    CImgThumbManager *pManager = CImgThumbManager::GetInstance();
    bool bFirst = false;
    QObject::connect(pManager, &CImgThumbManager::sigImgThumbResult, &app, [&bFirst] { bFirst = true; });
    pManager->Start();
    const QImage photo = testphotos::cornerImage(2400, 1600);
    for (int i = 0; i < 12; ++i) {
        const QString strPath = dir.filePath(QStringLiteral("busy%1.jpg").arg(i));
        if (!testphotos::save(photo, strPath, "JPG", 92))
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

} // namespace

class tst_ThumbForgeExit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void testExitsWhileBusy_data()
    {
        QTest::addColumn<int>("stops");
        QTest::newRow("no Stop") << 0;
        QTest::newRow("Stop twice") << 2;
    }

    void testExitsWhileBusy()
    {
        QFETCH(int, stops);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kChildDirVar), dir.path());
        env.insert(QString::fromLatin1(kChildStopsVar), QString::number(stops));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
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
};

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(kChildDirVar))
        return runBusyChild(argc, argv);
    QCoreApplication app(argc, argv);
    tst_ThumbForgeExit test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ThumbForgeExit.moc"
