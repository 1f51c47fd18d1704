// Undo of a removal against the removal itself: 10,000 small files sent to the trash (or
// moved) through the deletion service, then brought back through the journal. Prints the
// removal's time, the undo's time and their ratio; the target is an undo within twice the
// removal. HOME and the data folder are temporary, so the real trash is never touched.

#include "CFileDelImplement.h"
#include "CRemovalUndo.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {



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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    // BENCH_FILES=<n> and BENCH_ROUNDS=<n> change the number of files and rounds (median
    // taken), BENCH_CASE=trash|move runs one case.
    const int kFiles = qEnvironmentVariableIsSet("BENCH_FILES") ? qEnvironmentVariableIntValue("BENCH_FILES") : 10000;
    const QString only = qEnvironmentVariable("BENCH_CASE");
    const int kRounds = qEnvironmentVariableIsSet("BENCH_ROUNDS") ? qEnvironmentVariableIntValue("BENCH_ROUNDS") : 3;
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("share"))));
    const QString journal = home.filePath(QStringLiteral("share/mirelle/removals.sqlite"));
    out << "home: " << home.path() << "\n";
    out << QStringLiteral("%1 %2 %3 %4 %5\n")
               .arg(QStringLiteral("case"), -8)
               .arg(QStringLiteral("files"), 7)
               .arg(QStringLiteral("remove ms"), 10)
               .arg(QStringLiteral("undo ms"), 9)
               .arg(QStringLiteral("ratio"), 7);

    CFileDelImplement service;
    service.setOpenWindowPause(false);
    service.setJournalPath(journal);
    for (const bool bMove : {false, true}) {
        if (!only.isEmpty() && only != (bMove ? QLatin1String("move") : QLatin1String("trash")))
            continue;
        QList<qint64> removals;
        QList<qint64> undos;
        for (int round = 0; round < kRounds; ++round) {
            const QString src = home.filePath(QStringLiteral("photos"));
            QString dst = home.filePath(QStringLiteral("moved"));
            QDir(src).removeRecursively();
            QDir(dst).removeRecursively();
            QStringList list = makeFiles(src, kFiles);
            QProcess::execute(QStringLiteral("sync"), {});

            QElapsedTimer timer;
            timer.start();
            service.setTotalFiles(list.size());
            const QMap<QString, bool> result = bMove ? service.MoveFileToFloder(list, dst) : service.DeleFileToTrash(list);
            removals << timer.elapsed();
            if (result.size() != list.size() || result.values().contains(false) || service.lastRequestId() < 0)
                qFatal("not every file was removed and journalled");
            QProcess::execute(QStringLiteral("sync"), {});

            timer.restart();
            const CRemovalUndo::COutcome outcome = CRemovalUndo(journal).undo(service.lastRequestId());
            undos << timer.elapsed();
            if (outcome.listRestored.size() != list.size())
                qFatal("undo brought back %d of %d files: %s", int(outcome.listRestored.size()), int(list.size()),
                       qPrintable(outcome.strError + outcome.listFailed.value(0).second));
        }
        const qint64 r = median(removals);
        const qint64 u = median(undos);
        out << QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(bMove ? QStringLiteral("move") : QStringLiteral("trash"), -8)
                   .arg(kFiles, 7)
                   .arg(r, 10)
                   .arg(u, 9)
                   .arg(r > 0 ? double(u) / double(r) : 0.0, 7, 'f', 2);
        out.flush();
    }
    return 0;
}
