// Undo of a removal against the removal itself: 10,000 small files sent to the trash (or
// moved) through the deletion service, then brought back through the journal. Times the
// undo, with the removal's time and their ratio as counters; the target is an undo within
// twice the removal. HOME and the data folder are temporary, so the real trash is never touched.
// Argument: files (default 10,000).

#include "CFileDelImplement.h"
#include "CRemovalUndo.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

namespace {

QString s_strHome;

QStringList makeFiles(const QString &strRoot, int iCount)
{
    QStringList list;
    const QByteArray data(4096, 'u');
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

qint64 median(QList<qint64> list)
{
    std::sort(list.begin(), list.end());
    return list.at(list.size() / 2);
}

void BM_Undo(benchmark::State &state)
{
    const bool bMove = state.range(0) != 0;
    const int iFiles = int(state.range(1));
    const QString journal = s_strHome + QStringLiteral("/share/mirelle/removals.sqlite");
    CFileDelImplement service;
    service.setOpenWindowPause(false);
    service.setJournalPath(journal);
    QList<qint64> removals;
    for (auto _ : state) {
        const QString src = s_strHome + QStringLiteral("/photos");
        QString dst = s_strHome + QStringLiteral("/moved");
        QDir(src).removeRecursively();
        QDir(dst).removeRecursively();
        QStringList list = makeFiles(src, iFiles);
        QProcess::execute(QStringLiteral("sync"), {});

        QElapsedTimer timer;
        timer.start();
        service.setTotalFiles(list.size());
        const QMap<QString, bool> result = bMove ? service.MoveFileToFloder(list, dst) : service.DeleFileToTrash(list);
        removals << timer.elapsed();
        if (result.size() != list.size() || result.values().contains(false) || service.lastRequestId() < 0) {
            state.SkipWithError("not every file was removed and journalled");
            return;
        }
        QProcess::execute(QStringLiteral("sync"), {});

        timer.restart();
        const CRemovalUndo::COutcome outcome = CRemovalUndo(journal).undo(service.lastRequestId());
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (outcome.listRestored.size() != list.size()) {
            state.SkipWithError(qPrintable(QStringLiteral("undo brought back %1 of %2 files: %3")
                                               .arg(outcome.listRestored.size())
                                               .arg(list.size())
                                               .arg(outcome.strError + outcome.listFailed.value(0).second)));
            return;
        }
    }
    state.counters["files"] = iFiles;
    state.counters["remove_ms"] = double(median(removals));
}

int s_iFiles = 10000;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        s_iFiles = std::max(1, std::atoi(argv[1]));
    QTemporaryDir home;
    s_strHome = home.path();
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("share"))));
    for (const int iMove : {0, 1}) {
        benchmark::RegisterBenchmark(iMove ? "BM_Undo/move" : "BM_Undo/trash", BM_Undo)
            ->Args({iMove, s_iFiles})
            ->Iterations(3)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
