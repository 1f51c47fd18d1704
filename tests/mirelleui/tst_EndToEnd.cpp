// Drives the real program as a person would, through the functions the screens' buttons
// call: a folder of painted photos on the command line, a scan with the real engine,
// the automatic marks, removal into the trash and its undo; then the disk is checked.
#include "CDupPics.h"
#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "CTestPhotos.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

CDupPics *g_pMain = nullptr;
QString g_strPhotos;
QString g_strTrash;
QStringList g_listFailures;
QElapsedTimer g_clock;

void fail(const QString &strWhat)
{
    g_listFailures << strWhat;
    QCoreApplication::exit(1);
}

// Polls until the condition holds, then runs the next step; fails after the timeout.
// Generous: the suite also runs beside busy cores.
void when(const char *pszWhat, std::function<bool()> condition, std::function<void()> next, int iTimeoutMs = 150000)
{
    auto *pTimer = new QTimer;
    const qint64 start = g_clock.elapsed();
    QObject::connect(pTimer, &QTimer::timeout, [=] {
        if (condition()) {
            pTimer->deleteLater();
            next();
        } else if (g_clock.elapsed() - start > iTimeoutMs) {
            pTimer->deleteLater();
            fail(QStringLiteral("timed out waiting for: %1").arg(QLatin1String(pszWhat)));
        }
    });
    pTimer->start(100);
}

QObject *root()
{
    return g_pMain->engine() && !g_pMain->engine()->rootObjects().isEmpty() ? g_pMain->engine()->rootObjects().first()
                                                                           : nullptr;
}

void drive()
{
    g_clock.start();
    when("the start screen with the folder listed", [] { return root() && g_pMain->manager().sources().size() == 1; }, [] {
        const QVariantMap options{{"photoType", QVariantMap{{"value", 1}}},
                                  {"minSize", QVariantMap{{"value", 1}, {"index", 0}, {"unit", "KB"}}},
                                  {"similarSlot", QVariantMap{{"value", 6}}}};
        QMetaObject::invokeMethod(root(), "startScan", Q_ARG(QVariant, options));
        when("the results of the scan", [] {
            return root()->property("screen").toString() == QLatin1String("results")
                   && g_pMain->manager().getGroupCount() == 3;
        }, [] {
            g_pMain->manager().doAllMark();
            when("the proposed marks", [] { return g_pMain->manager().checkedItemCount() == 3; }, [] {
                if (g_pMain->manager().fullyMarkedGroupCount() != 0)
                    fail(QStringLiteral("the rule marked a whole group"));
                QMetaObject::invokeMethod(root(), "removeMarked", Q_ARG(QVariant, 1), Q_ARG(QVariant, QString()));
                when("the marked photos in the trash", [] {
                    return QDir(g_strPhotos).entryList(QDir::Files).size() == 3
                           && QDir(g_strTrash).entryList(QDir::Files).size() == 3;
                }, [] {
                    when("the records to follow", [] { return g_pMain->manager().checkedItemCount() == 0; }, [] {
                        // Undone, the photos join their groups again in a regroup of the engine,
                        // which must take them back as present.
                        g_pMain->manager().deletionService()->undoRemoval();
                        when("the photos back in their groups", [] {
                            CDupPicsMgr &mgr = g_pMain->manager();
                            return QDir(g_strPhotos).entryList(QDir::Files).size() == 6 && !mgr.isRegrouping()
                                   && mgr.getGroupCount() == 3;
                        }, [] { QMetaObject::invokeMethod(g_pMain->engine(), "quit", Qt::QueuedConnection); });
                    });
                });
            });
        });
    });
}

Q_COREAPP_STARTUP_FUNCTION(drive)

} // namespace

int main(int, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    qputenv("XDG_RUNTIME_DIR", (home.path() + "/run").toUtf8());
    QDir().mkpath(home.path() + "/run");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Three scenes, each with a half-size copy.
    g_strPhotos = home.path() + "/photos";
    g_strTrash = home.path() + "/data/Trash/files";
    QDir().mkpath(g_strPhotos);
    {
    // Painting text needs a GUI application; the program makes its own afterwards.
    int iPaintArgc = 1;
    QGuiApplication painter(iPaintArgc, argv);
    for (int i = 0; i < 3; ++i) {
        const QImage scene = testphotos::scene(11 + 7 * i, QSize(800, 600));
        testphotos::save(scene, QStringLiteral("%1/scene%2.jpg").arg(g_strPhotos).arg(i), "JPG", 92);
        testphotos::save(testphotos::resized(scene, 0.5), QStringLiteral("%1/scene%2-small.jpg").arg(g_strPhotos).arg(i),
                         "JPG", 92);
    }
    }

    int argc = 2;
    QByteArray photos = g_strPhotos.toLocal8Bit();
    char *args[] = {argv[0], photos.data(), nullptr};
    int iResult = 0;
    {
        CDupPics app;
        g_pMain = &app;
        iResult = app.load(argc, args);
        g_pMain = nullptr;
    }
    if (iResult != 0 && g_listFailures.isEmpty())
        g_listFailures << QStringLiteral("exit code %1").arg(iResult);
    for (const QString &failure : qAsConst(g_listFailures))
        std::fprintf(stderr, "FAIL: %s\n", qPrintable(failure));
    std::printf("%d passed, %d failed\n", g_listFailures.isEmpty() ? 1 : 0, g_listFailures.isEmpty() ? 0 : 1);
    return g_listFailures.isEmpty() ? 0 : 1;
}
