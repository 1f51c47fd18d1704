// Moves and deletes through the deletion service against mv and rm on the same files.
// One benchmark per case, timed by our run; counters give the tool's time and the ratio,
// then the tool's time with a sync after it (our moves flush each copy before removing its
// source) and that ratio. --benchmark_filter picks cases.
// Run as root to get a tmpfs as second filesystem; otherwise /dev/shm stands in.

#include "CFileDelImplement.h"

#include <sys/mount.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>

namespace {

constexpr int kRounds = 3;

QString s_strDisk;
QString s_strOtherFs;

QStringList makeFiles(const QString &strRoot, int iCount, int iSize)
{
    QStringList list;
    const QByteArray data(iSize, 'd');
    for (int i = 0; i < iCount; ++i) {
        const QString folder = strRoot + QStringLiteral("/d%1").arg(i / 500);
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/f%1.jpg").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        list << file.fileName();
    }
    return list;
}

// Syncs and lets the disk settle so that one case's write-back does not bill the next.
void settle()
{
    QProcess::execute(QStringLiteral("sync"), {});
}

qint64 runTool(const QString &strProgram, const QStringList &listArgs)
{
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(strProgram, listArgs) != 0)
        qFatal("%s failed", qPrintable(strProgram));
    return timer.elapsed();
}

qint64 median(QList<qint64> list)
{
    std::sort(list.begin(), list.end());
    return list.at(list.size() / 2);
}

struct CCase
{
    QString strName;
    int iCount;
    int iSize;
    bool bCrossFs;
    bool bDelete;
    bool bToDisk = false;
};

// Each round swaps who goes first, so that the disk's moods fall on both alike.
void runCase(benchmark::State &state, const CCase &c)
{
    CFileDelImplement service;
    service.setOpenWindowPause(false);
    QList<qint64> tool;
    QList<qint64> toolSynced;
    int round = 0;
    for (auto _ : state) {
        for (int step = 0; step < 2; ++step) {
            const int pass = (step + round) % 2;
            const QString src = (c.bToDisk ? s_strOtherFs : s_strDisk) + QStringLiteral("/src");
            const QString dst = (c.bCrossFs && !c.bToDisk ? s_strOtherFs : s_strDisk) + QStringLiteral("/dst");
            QDir(src).removeRecursively();
            QDir(dst).removeRecursively();
            QStringList list = makeFiles(src, c.iCount, c.iSize);
            QDir().mkpath(dst);
            settle();
            if (pass == 0) {
                QElapsedTimer timer;
                timer.start();
                service.setTotalFiles(list.size());
                QString dest = dst;
                const QMap<QString, bool> result = c.bDelete ? service.DeleFiles(list)
                                                             : service.MoveFileToFloder(list, dest);
                state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
                if (result.size() != list.size() || result.values().contains(false))
                    state.SkipWithError("not every file was handled");
            } else {
                const qint64 ms = c.bDelete ? runTool(QStringLiteral("rm"), QStringList{QStringLiteral("-f")} + list)
                                            : runTool(QStringLiteral("mv"), QStringList{QStringLiteral("-t"), dst} + list);
                tool << ms;
                // mv does not flush what it copied; we do before removing a source.
                toolSynced << ms + runTool(QStringLiteral("sync"), {});
            }
        }
        ++round;
    }
    state.counters["files"] = c.iCount;
    state.counters["tool_ms"] = double(median(tool));
    state.counters["tool_synced_ms"] = double(median(toolSynced));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir disk;
    s_strDisk = disk.path();
    // Moves are journalled for undo in the data folder: a temporary one, not the user's.
    qputenv("HOME", QFile::encodeName(disk.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(disk.filePath(QStringLiteral("share"))));
    QTemporaryDir second(QStringLiteral("/dev/shm/bench_fileops-XXXXXX"));
    const QString secondRoot = disk.filePath(QStringLiteral("tmpfs"));
    QDir().mkpath(secondRoot);
    const bool bMounted = ::mount("tmpfs", QFile::encodeName(secondRoot).constData(), "tmpfs", 0, "size=2g") == 0;
    s_strOtherFs = bMounted ? secondRoot : second.path();
    benchmark::AddCustomContext("second filesystem", bMounted ? "tmpfs" : "/dev/shm");

    const QList<CCase> cases = {
        {QStringLiteral("move small, one filesystem"), 10000, 4096, false, false},
        {QStringLiteral("move large, one filesystem"), 200, 4 << 20, false, false},
        {QStringLiteral("move small, two filesystems"), 10000, 4096, true, false},
        {QStringLiteral("move large, two filesystems"), 200, 4 << 20, true, false},
        {QStringLiteral("move small, tmpfs to disk"), 10000, 4096, true, false, true},
        {QStringLiteral("move large, tmpfs to disk"), 200, 4 << 20, true, false, true},
        {QStringLiteral("delete small"), 10000, 4096, false, true},
    };
    for (const CCase &c : cases) {
        benchmark::RegisterBenchmark(c.strName.toUtf8().constData(), [c](benchmark::State &state) { runCase(state, c); })
            ->Iterations(kRounds)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir(s_strOtherFs + QStringLiteral("/dst")).removeRecursively();
    QDir(s_strOtherFs + QStringLiteral("/src")).removeRecursively();
    if (bMounted)
        ::umount2(QFile::encodeName(secondRoot).constData(), MNT_DETACH);
    return 0;
}
