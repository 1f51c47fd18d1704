// The costs of remembered "Not duplicates" decisions: storing one group's pairs into a
// store that already holds many, opening that store at the first scan, handing the pairs
// to the engine, and the automatic marks over 100,000 photos with burst frames among them.
#include "CAutoMarkRule.h"
#include "CDecisionStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kStoredPairs = 20000;
constexpr int kGroupPhotos = 40;
constexpr int kPhotos = 100000;
constexpr int kGroupSize = 5;

QString s_strStore;
quint64 s_iNextKey = 1;

QList<CDecision> pairsFrom(quint64 iFirstKey, int iPhotos)
{
    QList<CDecision> list;
    for (int i = 0; i < iPhotos; ++i) {
        for (int j = i + 1; j < iPhotos; ++j) {
            CDecision pair;
            pair.iKeyA = iFirstKey + quint64(i);
            pair.iKeyB = iFirstKey + quint64(j);
            pair.strPathA = QStringLiteral("/photos/2026/IMG_%1.jpg").arg(pair.iKeyA);
            pair.strPathB = QStringLiteral("/photos/2026/IMG_%1.jpg").arg(pair.iKeyB);
            list << pair;
        }
    }
    return list;
}

void BM_SeparateGroup(benchmark::State &state)
{
    CDecisionStore store;
    if (!store.open(s_strStore))
        state.SkipWithError("cannot open the store");
    for (auto _ : state) {
        state.PauseTiming();
        const QList<CDecision> pairs = pairsFrom(s_iNextKey, kGroupPhotos);
        s_iNextKey += kGroupPhotos;
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.addPairs(pairs));
    }
    state.counters["stored_pairs"] = double(store.count());
}
BENCHMARK(BM_SeparateGroup)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State &state)
{
    for (auto _ : state) {
        CDecisionStore store;
        benchmark::DoNotOptimize(store.open(s_strStore));
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_PairsForTheEngine(benchmark::State &state)
{
    CDecisionStore store;
    if (!store.open(s_strStore))
        state.SkipWithError("cannot open the store");
    QVector<uint64_t> keys;
    for (auto _ : state)
        benchmark::DoNotOptimize(keys = store.flatPairs());
    state.counters["pairs"] = double(keys.size() / 2);
}
BENCHMARK(BM_PairsForTheEngine)->Unit(benchmark::kMillisecond);

void BM_AutoMarkWithBursts(benchmark::State &state)
{
    QStringList paths;
    for (int i = 0; i < kPhotos; ++i)
        paths << QStringLiteral("/photos/IMG_%1.jpg").arg(i);
    QVector<QList<CPhotoRecordCopy>> groups(kPhotos / kGroupSize);
    for (int i = 0; i < kPhotos; ++i) {
        PhotoRecord record;
        record.pszPath = reinterpret_cast<const ZKChar *>(paths.at(i).utf16());
        record.definition = 5.0 + i % 3;
        record.dateTime = quint64(i);
        record.similarity = i % kGroupSize == 0 ? 100 : 90;
        // Every other group is a burst
        if ((i / kGroupSize) % 2 == 1)
            record.flags |= PhotoFlag_Burst;
        groups[i / kGroupSize] << CPhotoRecordCopy(record);
    }
    int iMarked = 0;
    for (auto _ : state) {
        iMarked = 0;
        for (QList<CPhotoRecordCopy> &files : groups) {
            CAutoMarkRule::clearMarks(files);
            iMarked += CAutoMarkRule::markGroup(files).size();
        }
    }
    state.counters["marked"] = iMarked;
    state.counters["photos"] = kPhotos;
}
BENCHMARK(BM_AutoMarkWithBursts)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // A store holding kStoredPairs decisions, made of groups of 20 photos.
    QTemporaryDir dir;
    s_strStore = dir.filePath(QStringLiteral("decisions.sqlite"));
    {
        CDecisionStore store;
        if (!store.open(s_strStore))
            return 1;
        while (store.count() < kStoredPairs) {
            if (!store.addPairs(pairsFrom(s_iNextKey, 20)))
                return 1;
            s_iNextKey += 20;
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
