#include "CScanRunner.h"

#include "CDupPicsMgr.h"
#include "CInterruptWatcher.h"
#include "CTerminalProgress.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int kWatchMs = 200;
// Time the manager gets to deliver its completion after its worker stopped.
constexpr int kSettleMs = 3000;
constexpr int kMarkTimeoutMs = 120000;

enum EnLoopExit { Loop_Complete = 0, Loop_Canceled = 1, Loop_Failed = 2 };

QVariantMap optionsOf(const CScanSettings &settings)
{
    QVariantMap options = CDupPicsMgr::defaultOptions();
    QVariantMap photoType = options.value(QStringLiteral("photoType")).toMap();
    photoType.insert(QStringLiteral("value"), settings.bOriginalOnly ? 0 : 1);
    options.insert(QStringLiteral("photoType"), photoType);
    QVariantMap minSize = options.value(QStringLiteral("minSize")).toMap();
    minSize.insert(QStringLiteral("value"), double(settings.i64MinSize) / 1024.0);
    minSize.insert(QStringLiteral("index"), 0);
    minSize.insert(QStringLiteral("unit"), QStringLiteral("KB"));
    options.insert(QStringLiteral("minSize"), minSize);
    QVariantMap similar = options.value(QStringLiteral("similarSlot")).toMap();
    similar.insert(QStringLiteral("value"), (100 - settings.iThreshold) / 5);
    options.insert(QStringLiteral("similarSlot"), similar);
    QVariantMap rotations = options.value(QStringLiteral("rotationMatching")).toMap();
    rotations.insert(QStringLiteral("value"), settings.bRotations ? 1 : 0);
    options.insert(QStringLiteral("rotationMatching"), rotations);
    return options;
}

} // namespace

CScanRunner::CScanRunner(CTerminalProgress *pProgress, QObject *parent) : QObject(parent), m_pProgress(pProgress)
{
}

CScanRunner::EnResult CScanRunner::run(const CScanSettings &settings, CScanReport *pReport)
{
    CDupPicsMgr mgr;
    if (!mgr.hasEngine())
        return EnResult::NoEngine;
    // No progress screen to keep in view.
    mgr.setMinimumScanMs(0);
    QList<QUrl> listUrls;
    for (const QString &source : settings.listSources)
        listUrls << QUrl::fromLocalFile(source);
    mgr.addDropPaths(listUrls);
    mgr.setOption(optionsOf(settings));

    CInterruptWatcher watcher;
    QEventLoop loop;
    connect(&mgr, &CDupPicsMgr::sigProcProgress, &loop,
            [this](int iStep, int iPercent) { m_pProgress->update(iStep, iPercent); });
    connect(&mgr, &CDupPicsMgr::sigScanComplete, &loop, [&loop] { loop.exit(Loop_Complete); });
    connect(&mgr, &CDupPicsMgr::sigNotifyCanceled, &loop, [&loop] { loop.exit(Loop_Canceled); });
    connect(&watcher, &CInterruptWatcher::sigInterrupted, &mgr, &CDupPicsMgr::cancel);

    // A scan the engine failed ends without a signal: the worker just stops.
    QTimer watch;
    bool bSeenScanning = false;
    int iIdleMs = 0;
    connect(&watch, &QTimer::timeout, &loop, [&] {
        if (mgr.isScanning()) {
            bSeenScanning = true;
            iIdleMs = 0;
        } else if (bSeenScanning && (iIdleMs += kWatchMs) > kSettleMs) {
            loop.exit(Loop_Failed);
        }
    });
    watch.start(kWatchMs);
    mgr.collectDupFiles();
    const int iExit = loop.exec();
    watch.stop();
    m_pProgress->finish();
    if (iExit == Loop_Canceled || CInterruptWatcher::isInterrupted())
        return EnResult::Interrupted;
    if (iExit == Loop_Failed)
        return EnResult::Failed;
    m_listSkipped = mgr.scanSkipped();
    m_listSkippedMounts = mgr.scanSkippedMounts();

    // The proposed marks: the same rule the window applies.
    QEventLoop markLoop;
    connect(&mgr, &CDupPicsMgr::sigCheckedItemCountChanged, &markLoop, [&markLoop] { markLoop.exit(0); });
    connect(&watcher, &CInterruptWatcher::sigInterrupted, &markLoop, [&markLoop] { markLoop.exit(1); });
    QTimer::singleShot(kMarkTimeoutMs, &markLoop, [&markLoop] { markLoop.exit(2); });
    mgr.doAllMark();
    const int iMarkExit = markLoop.exec();
    if (iMarkExit == 1)
        return EnResult::Interrupted;
    if (iMarkExit == 2)
        return EnResult::Failed;

    CScanReport report = mgr.currentReport();
    report.settings = settings;
    *pReport = report;
    return EnResult::Done;
}
