// Moves and deletes through the deletion service against mv and rm on the same files.
// Prints one line per case: files, our time, the tool's time and the ratio, then the tool's
// time with a sync after it (our moves flush each copy before removing its source) and that ratio.
// Run as root to get a tmpfs as second filesystem; otherwise /dev/shm stands in.

#include "CFileDelImplement.h"

#include <sys/mount.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

constexpr int kRounds = 3;

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir disk;
    // Moves are journalled for undo in the data folder: a temporary one, not the user's.
    qputenv("HOME", QFile::encodeName(disk.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(disk.filePath(QStringLiteral("share"))));
    QTemporaryDir second(QStringLiteral("/dev/shm/bench_fileops-XXXXXX"));
    const QString secondRoot = disk.filePath(QStringLiteral("tmpfs"));
    QDir().mkpath(secondRoot);
    const bool bMounted = ::mount("tmpfs", QFile::encodeName(secondRoot).constData(), "tmpfs", 0, "size=2g") == 0;
    const QString otherFs = bMounted ? secondRoot : second.path();
    out << "disk: " << disk.path() << "  second filesystem: " << otherFs << (bMounted ? " (tmpfs)" : " (/dev/shm)")
        << "\n";

    const QList<CCase> cases = {
        {QStringLiteral("move small, one filesystem"), 10000, 4096, false, false},
        {QStringLiteral("move large, one filesystem"), 200, 4 << 20, false, false},
        {QStringLiteral("move small, two filesystems"), 10000, 4096, true, false},
        {QStringLiteral("move large, two filesystems"), 200, 4 << 20, true, false},
        {QStringLiteral("move small, tmpfs to disk"), 10000, 4096, true, false, true},
        {QStringLiteral("move large, tmpfs to disk"), 200, 4 << 20, true, false, true},
        {QStringLiteral("delete small"), 10000, 4096, false, true},
    };

    CFileDelImplement service;
    service.setOpenWindowPause(false);
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
               .arg(QStringLiteral("case"), -30)
               .arg(QStringLiteral("files"), 7)
               .arg(QStringLiteral("ours ms"), 9)
               .arg(QStringLiteral("tool ms"), 9)
               .arg(QStringLiteral("ratio"), 7)
               .arg(QStringLiteral("+sync ms"), 9)
               .arg(QStringLiteral("ratio"), 7);
    // BENCH_CASE=<text> runs only the cases whose name contains it.
    const QString only = qEnvironmentVariable("BENCH_CASE");
    for (const CCase &c : cases) {
        if (!c.strName.contains(only))
            continue;
        QList<qint64> ours;
        QList<qint64> tool;
        QList<qint64> toolSynced;
        for (int round = 0; round < kRounds; ++round) {
            // Each round swaps who goes first, so that the disk's moods fall on both alike.
            for (int step = 0; step < 2; ++step) {
                const int pass = (step + round) % 2;
                const QString src = (c.bToDisk ? otherFs : disk.path()) + QStringLiteral("/src");
                const QString dst = (c.bCrossFs && !c.bToDisk ? otherFs : disk.path()) + QStringLiteral("/dst");
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
                    ours << timer.elapsed();
                    if (result.size() != list.size() || result.values().contains(false))
                        qFatal("%s: not every file was handled", qPrintable(c.strName));
                } else {
                    const qint64 ms = c.bDelete ? runTool(QStringLiteral("rm"), QStringList{QStringLiteral("-f")} + list)
                                                : runTool(QStringLiteral("mv"), QStringList{QStringLiteral("-t"), dst} + list);
                    tool << ms;
                    // mv does not flush what it copied; we do before removing a source.
                    toolSynced << ms + runTool(QStringLiteral("sync"), {});
                }
            }
        }
        const qint64 o = median(ours);
        const qint64 t = median(tool);
        const qint64 ts = median(toolSynced);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(c.strName, -30)
                   .arg(c.iCount, 7)
                   .arg(o, 9)
                   .arg(t, 9)
                   .arg(t > 0 ? double(o) / double(t) : 0.0, 7, 'f', 2)
                   .arg(ts, 9)
                   .arg(ts > 0 ? double(o) / double(ts) : 0.0, 7, 'f', 2);
        out.flush();
    }
    QDir(otherFs + QStringLiteral("/dst")).removeRecursively();
    QDir(otherFs + QStringLiteral("/src")).removeRecursively();
    if (bMounted)
        ::umount2(QFile::encodeName(secondRoot).constData(), MNT_DETACH);
    return 0;
}
