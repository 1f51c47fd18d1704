// Export of 100,000 photos in 25,000 groups: the writers, the reader and the summary.

#include "CReportSummary.h"
#include "CScanReport.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kGroups = 25000;
constexpr int kGroupSize = 4;

const CScanReport &bigReport()
{
    static const CScanReport report = [] {
        CScanReport made;
        made.settings.listSources = QStringList{QStringLiteral("/home/anna/Bilder")};
        for (int i = 0; i < kGroups; ++i) {
            CReportGroup group;
            for (int j = 0; j < kGroupSize; ++j) {
                CReportPhoto photo;
                photo.strPath = QStringLiteral("/home/anna/Bilder/%1/Reise %2/IMG_%3.jpg").arg(2000 + i % 25).arg(i % 400).arg(i * kGroupSize + j);
                photo.i64Size = 2000000 + (i * 7919 + j * 104729) % 3000000;
                photo.iWidth = 4032;
                photo.iHeight = 3024;
                photo.iSimilarity = 90 + j;
                photo.dSharpness = 5.5 + j * 0.25;
                photo.i64Modified = 1700000000000LL + i * 1000LL;
                photo.bPreferred = j == 0;
                photo.bProposed = j > 0;
                group.listPhotos << photo;
            }
            made.listGroups << group;
        }
        return made;
    }();
    return report;
}

QStringList oneDrive(const QStringList &listPaths)
{
    return QStringList(QVector<QString>(listPaths.size(), QStringLiteral("/")).toList());
}

void BM_ToJson(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(bigReport().toJson());
    state.SetItemsProcessed(state.iterations() * kGroups * kGroupSize);
}
BENCHMARK(BM_ToJson)->Unit(benchmark::kMillisecond);

void BM_ToCsv(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(bigReport().toCsv());
    state.SetItemsProcessed(state.iterations() * kGroups * kGroupSize);
}
BENCHMARK(BM_ToCsv)->Unit(benchmark::kMillisecond);

void BM_FromJson(benchmark::State &state)
{
    const QByteArray json = bigReport().toJson();
    for (auto _ : state) {
        CScanReport read;
        QString strError;
        benchmark::DoNotOptimize(CScanReport::fromJson(json, &read, &strError));
    }
    state.SetItemsProcessed(state.iterations() * kGroups * kGroupSize);
}
BENCHMARK(BM_FromJson)->Unit(benchmark::kMillisecond);

void BM_SummaryOf(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CReportSummary::of(bigReport(), oneDrive));
    state.SetItemsProcessed(state.iterations() * kGroups * kGroupSize);
}
BENCHMARK(BM_SummaryOf)->Unit(benchmark::kMillisecond);

// With the platform's drive keys: the mount table and one lookup per marked photo.
void BM_SummaryOfWithMounts(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CReportSummary::of(bigReport()));
    state.SetItemsProcessed(state.iterations() * kGroups * kGroupSize);
}
BENCHMARK(BM_SummaryOfWithMounts)->Unit(benchmark::kMillisecond);

void BM_SummaryHtml(benchmark::State &state)
{
    const CReportSummary summary = CReportSummary::of(bigReport(), oneDrive);
    for (auto _ : state)
        benchmark::DoNotOptimize(summary.toHtml());
    state.counters["folders"] = summary.listFolders.size();
}
BENCHMARK(BM_SummaryHtml)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
