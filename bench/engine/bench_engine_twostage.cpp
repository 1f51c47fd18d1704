// First scan of one folder with two stages and with one, each through a new engine
// with an empty cache: wall and CPU time, how many photos stage one left undecoded,
// and whether both give the same groups and the same records (the marks are made
// from the records alone). bench/engine/twostage.sh makes the library and the djpeg pass.
#include "IScanEngine.h"
#include "IScanEngineExtras.h"
#include "BenchEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLibrary>
#include <QMap>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <sys/resource.h>

namespace {

class CRecordingSink : public IScanEngineSink, public IDuplicationGatherSink
{
public:
    bool OnVolume(IScanVolume *pVolume) override
    {
        listVolumes.push_back(pVolume);
        return true;
    }
    bool DuplicatingSink(int32_t, uint64_t, uint64_t) override { return true; }
    bool StepFinished(int32_t, uint64_t) override { return true; }
    bool OnGroupCreated(const PhotoRecord *p, uint64_t) override { return file(p, p->fileId); }
    bool OnFileJoined(const PhotoRecord *p, uint64_t iGroup) override { return file(p, iGroup); }
    bool OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto) override
    {
        merges.append({pAbsorbed->fileId, pInto->fileId});
        return true;
    }

    // Groups as sorted lines of "name WxH definition similarity flags".
    QString outcome() const
    {
        QMap<uint64_t, uint64_t> root;
        const auto find = [&](uint64_t k) {
            while (root.contains(k) && root[k] != k)
                k = root[k];
            return k;
        };
        for (const auto &[absorbed, into] : merges)
            root[find(groupOf.value(absorbed, absorbed))] = find(groupOf.value(into, into));
        QMap<uint64_t, QStringList> groups;
        for (auto it = lines.begin(); it != lines.end(); ++it)
            groups[find(groupOf.value(it.key()))] << it.value();
        QStringList out;
        for (QStringList &g : groups) {
            g.sort();
            out << g.join(QLatin1String("; "));
        }
        out.sort();
        return out.join(QLatin1Char('\n'));
    }

    std::vector<IScanVolume *> listVolumes;
    QMap<uint64_t, QString> lines;
    QMap<uint64_t, uint64_t> groupOf;
    QList<QPair<uint64_t, uint64_t>> merges;

private:
    bool file(const PhotoRecord *p, uint64_t iGroup)
    {
        lines[p->fileId] = QStringLiteral("%1 %2x%3 %4 %5 %6")
                               .arg(QFileInfo(QString::fromUtf16(p->pszPath)).fileName())
                               .arg(p->width).arg(p->height).arg(p->definition, 0, 'g', 6)
                               .arg(p->similarity).arg(p->flags);
        groupOf[p->fileId] = iGroup;
        return true;
    }
};

struct CRun
{
    double dWall = 0, dCpu = 0;
    QString strOutcome;
    QString strStats;
    int iGroups = 0;
};

CRun scan(QLibrary &library, const QString &strFolder, bool bExact, int iThreshold)
{
    // An empty cache of its own, and the statistics file beside it.
    QTemporaryDir home;
    qputenv("XDG_CACHE_HOME", home.path().toUtf8());
    qputenv("MIRELLE_ENGINE_STATS", (home.path() + QStringLiteral("/stats.txt")).toUtf8());
    auto pfnGetImp = reinterpret_cast<PFN_GetImp>(library.resolve(SCAN_ENGINE_ENTRY_NAME));
    auto pfnGetImpExtras = reinterpret_cast<PFN_GetImpExtras>(library.resolve(SCAN_ENGINE_EXTRAS_ENTRY_NAME));
    CRecordingSink sink;
    IScanEngine *pEngine = pfnGetImp();
    IScanEngineExtras *pExtras = pfnGetImpExtras(pEngine);
    pExtras->SetScanThumbnails(1);
    pExtras->SetExactFeatures(bExact ? 1 : 0);
    int32_t reserved = 0;
    pEngine->Initialize(&reserved);
    pEngine->SetSink(&sink);
    IScanFilter *pFilter = pEngine->CreateFilter();
    benchengine::addFolder(sink.listVolumes, pFilter, strFolder,
                           {u"jpg", u"jpeg", u"png", u"gif", u"bmp", u"webp", u"tif", u"tiff", u"heic"});
    pFilter->SetOriginalOnly(false);
    pFilter->Finalize(1);
    CRun run;
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = benchengine::cpuSeconds();
    pEngine->BeginScan();
    pEngine->FindDuplicates(&sink, pFilter, uint8_t(iThreshold));
    pEngine->EndScan();
    run.dWall = double(timer.nsecsElapsed()) / 1e9;
    run.dCpu = benchengine::cpuSeconds() - cpuStart;
    run.strOutcome = sink.outcome();
    run.iGroups = run.strOutcome.isEmpty() ? 0 : run.strOutcome.count(QLatin1Char('\n')) + 1;
    QFile stats(home.path() + QStringLiteral("/stats.txt"));
    if (stats.open(QIODevice::ReadOnly))
        run.strStats = QString::fromUtf8(stats.readAll()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    pExtras->Release();
    pFilter->Release();
    pEngine->Uninitialize();
    pEngine->Release();
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [THRESHOLD]\n", argv[0]);
        return 2;
    }
    QLibrary library(QStringLiteral(SCAN_ENGINE_MODULE));
    if (!library.resolve(SCAN_ENGINE_EXTRAS_ENTRY_NAME)) {
        std::fprintf(stderr, "cannot load %s\n", SCAN_ENGINE_MODULE);
        return 1;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int iThreshold = argc > 2 ? std::atoi(argv[2]) : 70;
    const CRun two = scan(library, folder, false, iThreshold);
    const CRun one = scan(library, folder, true, iThreshold);
    std::printf("two stages: %.2f s wall, %.2f s CPU, %d groups; %s\n", two.dWall, two.dCpu, two.iGroups,
                qPrintable(two.strStats));
    std::printf("one stage:  %.2f s wall, %.2f s CPU, %d groups; %s\n", one.dWall, one.dCpu, one.iGroups,
                qPrintable(one.strStats));
    std::printf("two stages / one stage: %.3f wall, %.3f CPU\n", two.dWall / one.dWall, two.dCpu / one.dCpu);
    const bool bSame = two.strOutcome == one.strOutcome;
    std::printf("groups and records identical: %s\n", bSame ? "yes" : "NO");
    if (!bSame) {
        QTextStream(stdout) << "--- two stages\n" << two.strOutcome << "\n--- one stage\n" << one.strOutcome << "\n";
        return 1;
    }
    return 0;
}
