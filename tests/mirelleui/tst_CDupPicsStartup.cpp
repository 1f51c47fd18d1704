// Starts the real main object offscreen with the real engine, checks what it publishes
// to the screens, and quits through the QML engine as a user closing the window would.
#include "CDupPics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlContext>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

CDupPics *g_pMain = nullptr;
QStringList g_listFailures;

void check(bool bOk, const char *pszWhat)
{
    if (!bOk)
        g_listFailures << QString::fromLatin1(pszWhat);
}

void inspectAndQuit()
{
    QTimer::singleShot(200, [] {
        QQmlApplicationEngine *pEngine = g_pMain->engine();
        check(pEngine != nullptr, "engine exists during the event loop");
        if (pEngine) {
            QQmlContext *pContext = pEngine->rootContext();
            for (const char *name : {"apploader", "mainUI", "dfMgr", "dfDeltor"})
                check(pContext->contextProperty(QString::fromLatin1(name)).value<QObject *>() != nullptr, name);
            check(pEngine->imageProvider(QStringLiteral("thumbProvider")) != nullptr, "thumbProvider");
            check(pEngine->imageProvider(QStringLiteral("maxThumbProvider")) != nullptr, "maxThumbProvider");
            check(!pEngine->rootObjects().isEmpty(), "a main window");
            check(g_pMain->mainWindow() != nullptr, "main window is a QQuickWindow");
            check(g_pMain->manager().hasEngine(), "scan engine loaded through GetImp");
            QMetaObject::invokeMethod(pEngine, "quit", Qt::QueuedConnection);
        }
    });
}

Q_COREAPP_STARTUP_FUNCTION(inspectAndQuit)

int runProcess(const QStringList &args, int *pExitCode)
{
    QProcess process;
    process.start(QStringLiteral(MIRELLE_EXE), args);
    if (!process.waitForFinished(15000)) {
        process.kill();
        return -1;
    }
    *pExitCode = process.exitCode();
    return process.exitStatus() == QProcess::NormalExit ? 0 : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_QUICK_BACKEND", "software");

    // "uninstall" with no running instance ends at once with 0.
    int iExit = -1;
    QElapsedTimer clock;
    clock.start();
    check(runProcess({QStringLiteral("uninstall")}, &iExit) == 0 && iExit == 0, "uninstall ends with 0");
    check(clock.elapsed() < 5000, "uninstall ends at once");

    {
        // The real engine beside the executable, found before the application object exists.
        CDupPics app;
        g_pMain = &app;
        const int iResult = app.load(argc, argv);
        check(iResult == 0, "clean exit code");
        g_pMain = nullptr;
    }

    for (const QString &failure : qAsConst(g_listFailures))
        std::fprintf(stderr, "FAIL: %s\n", qPrintable(failure));
    std::printf("%d passed, %d failed\n", g_listFailures.isEmpty() ? 1 : 0, g_listFailures.isEmpty() ? 0 : 1);
    return g_listFailures.isEmpty() ? 0 : 1;
}
