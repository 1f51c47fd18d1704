// Longest stall of the GUI thread while the whole program (real screens, real engine)
// scans generated photos, ends the scan, turns result pages, marks and removes.
// A watchdog thread posts a ping to the GUI thread every 5 ms and measures how long
// each waits; the longest wait per step is printed, with the frames the window rendered
// (a frame being rendered is what the GUI thread most often waits for).
// Usage: bench_GuiStall [--photos N]   (default 5,000; run offscreen or under Xvfb)
// With QSG_RENDER_TIMING=1 Qt prints each frame's render and swap times: a long frame holds
// the GUI thread at its next sync, so a stall without work of its own on the GUI thread is
// usually found there.
// With DP_STALL_LOG=1 every wait over 20 ms is printed with its step and its start on the
// monotonic clock (seconds), to line it up with a profile recorded with perf -k CLOCK_MONOTONIC.
#include "CDupPics.h"

#include <turbojpeg.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "BenchPhotos.h"

namespace {

using Clock = std::chrono::steady_clock;

enum EnStep { StepStart, StepScan, StepScanEnd, StepPages, StepMark, StepRemoval, StepCount };
const char *const kStepNames[StepCount] = {"start-up", "scanning", "end of scan", "page change",
                                           "auto-mark", "removal"};

// Two in five photos are in groups of four copies, spread over folders of 500. Copies
// share a smooth field and differ in noise and quality.
bool makePhotos(const QString &strDir, int iCount)
{
    const int iGrouped = iCount * 2 / 5;
    return benchphotos::onAllCores(iCount, [&](tjhandle handle, int i) {
        constexpr int kWidth = 320, kHeight = 240;
        const int iField = i < iGrouped ? i / 4 : i;
        const int iCopy = i < iGrouped ? i % 4 : 0;
        std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
        benchphotos::fillField(pixels.data(), kWidth, kHeight, 6, uint32_t(iField) * 2654435761u + 1u,
                               uint32_t(iField * 7 + iCopy) * 40503u + 7u, 3);
        const QString sub = strDir + QStringLiteral("/f%1").arg(i / 500);
        QDir().mkpath(sub);
        return benchphotos::writeJpeg(handle, pixels.data(), kWidth, kHeight, iCopy == 2 ? 60 : 90,
                                      QFile::encodeName(sub + QStringLiteral("/p%1.jpg").arg(i)).constData());
    });
}

// Pings the GUI thread every 5 ms; the time a ping waits for the GUI thread is a stall.
class CWatchdog
{
public:
    explicit CWatchdog(QObject *pGuiObject)
        : m_pGuiObject(pGuiObject), m_bLog(qEnvironmentVariableIntValue("DP_STALL_LOG") != 0)
    {
        for (auto &stall : m_stallMs)
            stall = 0;
        for (auto &count : m_longStalls)
            count = 0;
        for (auto &count : m_frames)
            count = 0;
        m_thread = std::thread([this] { run(); });
    }
    ~CWatchdog()
    {
        m_bStop = true;
        m_thread.join();
    }
    void setStep(EnStep step)
    {
        m_step = step;
        if (m_bLog)
            std::printf("step %-12s at %.3f s\n", kStepNames[step],
                        std::chrono::duration<double>(Clock::now().time_since_epoch()).count());
    }
    // Called on the render thread.
    void frameSwapped() { ++m_frames[m_step]; }
    int frames(int iStep) const { return m_frames[iStep]; }
    double longestMs(int iStep) const { return double(m_stallMs[iStep].load()) / 1000.0; }
    // On a loaded machine the longest stall is mostly the scheduler's; how often the goal
    // was missed tells more.
    int longStalls(int iStep) const { return m_longStalls[iStep]; }

private:
    void run()
    {
        while (!m_bStop) {
            const EnStep step = m_step;
            auto pHandled = std::make_shared<std::atomic<bool>>(false);
            const Clock::time_point sent = Clock::now();
            QMetaObject::invokeMethod(m_pGuiObject, [pHandled] { *pHandled = true; }, Qt::QueuedConnection);
            while (!*pHandled && !m_bStop)
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            const qint64 iWaitUs = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - sent).count();
            if (iWaitUs > 50000)
                ++m_longStalls[step];
            if (m_bLog && iWaitUs > 20000)
                std::printf("stall %-12s at %.3f s: %.1f ms\n", kStepNames[step],
                            std::chrono::duration<double>(sent.time_since_epoch()).count(), double(iWaitUs) / 1000.0);
            qint64 iOld = m_stallMs[step];
            while (iWaitUs > iOld && !m_stallMs[step].compare_exchange_weak(iOld, iWaitUs)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    QObject *m_pGuiObject;
    const bool m_bLog;
    std::atomic<bool> m_bStop{false};
    std::atomic<EnStep> m_step{StepStart};
    std::atomic<qint64> m_stallMs[StepCount];  // microseconds
    std::atomic<int> m_longStalls[StepCount];
    std::atomic<int> m_frames[StepCount];
    std::thread m_thread;
};

class CStallBench : public CDupPics
{
public:
    CStallBench(QString strPhotos, QString strMoveTo, int iPhotos)
        : m_strPhotos(std::move(strPhotos)), m_strMoveTo(std::move(strMoveTo)), m_iPhotos(iPhotos)
    {
    }

protected:
    bool checkRunningInstance(QQuickWindow *) override { return false; }

    void appLoaded() override
    {
        CDupPics::appLoaded();
        m_pWatchdog = std::make_unique<CWatchdog>(this);
        if (auto *pWindow = qobject_cast<QQuickWindow *>(engine()->rootObjects().value(0))) {
            CWatchdog *pWatchdog = m_pWatchdog.get();
            connect(pWindow, &QQuickWindow::frameSwapped, pWindow, [pWatchdog] { pWatchdog->frameSwapped(); },
                    Qt::DirectConnection);
        }
        QTimer::singleShot(500, this, &CStallBench::startScan);
    }

private:
    void startScan()
    {
        CDupPicsMgr &mgr = manager();
        QVariantMap options = mgr.getOption();
        options[QStringLiteral("photoType")] = QVariantMap{{"value", 1}};  // generated photos carry no camera data
        options[QStringLiteral("minSize")] = QVariantMap{{"value", 1}, {"index", 0}, {"unit", "KB"}};
        mgr.addDropPaths({QUrl::fromLocalFile(m_strPhotos)});
        m_once = connect(&mgr, &CDupPicsMgr::sigScanComplete, this, &CStallBench::scanEnded);
        m_scanStart = Clock::now();
        m_pWatchdog->setStep(StepScan);
        // As the start page does it, so that the screens follow the scan.
        QMetaObject::invokeMethod(engine()->rootObjects().value(0), "startScan",
                                  Q_ARG(QVariant, QVariant(options)));
    }

    void scanEnded()
    {
        disconnect(m_once);
        m_iScanMs = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_scanStart).count();
        m_iGroups = int(manager().getGroupCount());
        m_pWatchdog->setStep(StepScanEnd);
        QTimer::singleShot(3000, this, [this] { turnPage(0); });
    }

    QObject *groupPages() const
    {
        QObject *pRoot = engine()->rootObjects().value(0);
        QObject *pResults = pRoot ? pRoot->findChild<QObject *>(QStringLiteral("resultsPage")) : nullptr;
        return pResults ? pResults->property("groupPages").value<QObject *>() : nullptr;
    }

    void turnPage(int iTurn)
    {
        m_pWatchdog->setStep(StepPages);
        QObject *pPages = groupPages();
        const int iPageCount = pPages ? pPages->property("pageCount").toInt() : 0;
        if (iTurn < 12 && iPageCount > 1) {
            pPages->setProperty("page", (iTurn + 1) % iPageCount);
            QTimer::singleShot(500, this, [this, iTurn] { turnPage(iTurn + 1); });
            return;
        }
        m_iPageTurns = iTurn;
        m_pWatchdog->setStep(StepMark);
        manager().doAllMark();
        QTimer::singleShot(2000, this, &CStallBench::remove);
    }

    void remove()
    {
        CDupPicsMgr &mgr = manager();
        m_iMarked = mgr.property("checkedItemCount").toInt();
        m_once = connect(&mgr, &CDupPicsMgr::sigDelDupImgsResult, this,
                [this](const QStringList &listFailed, const QStringList &listSucceeded) {
                    disconnect(m_once);
                    m_iMoved = listSucceeded.size();
                    m_iFailed = listFailed.size();
                    QTimer::singleShot(2000, this, &CStallBench::finish);
                });
        m_pWatchdog->setStep(StepRemoval);
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToFolder, m_strMoveTo);
    }

    void finish()
    {
        std::printf("photos %d, groups %d, scan %.1f s, page turns %d, marked %d, moved %d, failed %d\n", m_iPhotos, m_iGroups,
                    double(m_iScanMs) / 1000.0, m_iPageTurns, m_iMarked, m_iMoved, m_iFailed);
        std::printf("longest GUI-thread stall per step (goal < 50 ms):\n");
        for (int i = StepScan; i < StepCount; ++i)
            std::printf("  %-12s %8.1f ms  (%d over 50 ms)  %5d frames\n", kStepNames[i], m_pWatchdog->longestMs(i),
                        m_pWatchdog->longStalls(i), m_pWatchdog->frames(i));
        std::fflush(stdout);
        m_pWatchdog.reset();
        QCoreApplication::exit(0);
    }

    QString m_strPhotos;
    QString m_strMoveTo;
    int m_iPhotos;
    std::unique_ptr<CWatchdog> m_pWatchdog;
    QMetaObject::Connection m_once;
    Clock::time_point m_scanStart;
    qint64 m_iScanMs = 0;
    int m_iGroups = 0;
    int m_iPageTurns = 0;
    int m_iMarked = 0;
    int m_iMoved = 0;
    int m_iFailed = 0;
};

} // namespace

int main(int argc, char **argv)
{
    int iPhotos = 5000;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--photos") == 0)
            iPhotos = qMax(10, atoi(argv[i + 1]));

    // Settings, caches, logs and the move target all live in a directory of our own.
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        const QByteArray dir = QFile::encodeName(home.path() + QLatin1Char('/') + QLatin1String(var));
        QDir().mkpath(QFile::decodeName(dir));
        qputenv(var, dir);
    }
    const QString strPhotos = home.path() + QStringLiteral("/photos");
    const QString strMoveTo = home.path() + QStringLiteral("/moved");
    QDir().mkpath(strMoveTo);
    std::printf("generating %d photos...\n", iPhotos);
    std::fflush(stdout);
    if (!makePhotos(strPhotos, iPhotos))
        return 1;

    int iExit = 0;
    {
        CStallBench app(strPhotos, strMoveTo, iPhotos);
        char arg0[] = "bench_GuiStall";
        char *args[] = {arg0, nullptr};
        int iArgc = 1;
        iExit = app.load(iArgc, args);
    }
    return iExit;
}
