// The scan and regroup commands.
#include "CCliCommand.h"

#include "CCliOutput.h"
#include "CInterruptWatcher.h"
#include "CliOptions.h"
#include "CScanReport.h"
#include "CScanRunner.h"
#include "CTerminalProgress.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace dp::cli;

namespace {

// What a scan passed over, in one line; empty when nothing was.
QString skippedText(const QVariantList &listCounts, const QStringList &listMounts)
{
    static const char *const kKinds[][2] = {{"folder could not be opened", "folders could not be opened"},
                                           {"file could not be read", "files could not be read"},
                                           {"file damaged or not a picture", "files damaged or not pictures"},
                                           {"picture too large to open", "pictures too large to open"},
                                           {"network mount not entered", "network mounts not entered"}};
    constexpr int kKindCount = int(sizeof(kKinds) / sizeof(kKinds[0]));
    QStringList listParts;
    for (int i = 0; i < listCounts.size() && i < kKindCount; ++i) {
        const qulonglong iCount = listCounts.at(i).toULongLong();
        if (iCount > 0)
            listParts << QStringLiteral("%1 %2").arg(iCount).arg(QLatin1String(kKinds[i][iCount == 1 ? 0 : 1]));
        if (iCount > 0 && i == kKindCount - 1 && !listMounts.isEmpty())
            listParts.last() += QStringLiteral(" (%1)").arg(listMounts.join(QStringLiteral(", ")));
    }
    return listParts.isEmpty() ? QString() : QStringLiteral("passed over: ") + listParts.join(QStringLiteral(", "));
}

} // namespace

int CCliCommand::scanAndWrite(const CScanSettings &settings, const QString &strOutput, bool bCsv)
{
    CTerminalProgress progress(m_bQuiet);
    CScanRunner runner(&progress);
    CScanReport report;
    switch (runner.run(settings, &report)) {
    case CScanRunner::EnResult::Interrupted:
        return fail(Exit_Interrupted, QStringLiteral("interrupted; nothing was written"));
    case CScanRunner::EnResult::NoEngine:
        return fail(Exit_Engine, QStringLiteral("the scan engine could not be loaded (libScanEngine.so in ../lib/mirelle "
                                                "or beside the program, or MIRELLE_SCAN_ENGINE)"));
    case CScanRunner::EnResult::Failed:
        return fail(Exit_Engine, QStringLiteral("the scan engine failed (it answered %1); run again with --verbose for details")
                                     .arg(runner.engineResult()));
    case CScanRunner::EnResult::Done:
        break;
    }
    if (CInterruptWatcher::isInterrupted())
        return fail(Exit_Interrupted, QStringLiteral("interrupted; nothing was written"));
    // Without the photos of a folder that went away, "no duplicates" would be a false answer.
    const QStringList listVanished = runner.vanishedSources();
    for (const QString &source : listVanished) {
        const QString text = QStringLiteral("the folder %1 went away during the scan (deleted or unmounted)").arg(source);
        if (listVanished.size() == settings.listSources.size() || report.listGroups.isEmpty())
            return fail(Exit_Engine, text + QStringLiteral("; nothing was written: scan again"));
        std::fprintf(stderr, "mirelle-cli: warning: %s; its photos may be missing from the results\n", qPrintable(text));
    }
    QString strError;
    if (!CCliOutput::write(strOutput, bCsv ? report.toCsv() : report.toJson(), &strError))
        return fail(CInterruptWatcher::isInterrupted() ? Exit_Interrupted : Exit_Output, strError);
    if (!m_bQuiet) {
        progress.message(QStringLiteral("%1 groups, %2 photos; %3 proposed for removal (%4 bytes)")
                             .arg(report.listGroups.size())
                             .arg(report.photoCount())
                             .arg(report.proposedCount())
                             .arg(report.proposedBytes()));
        const QString strSkipped = skippedText(runner.skipped(), runner.skippedMounts());
        if (!strSkipped.isEmpty())
            progress.message(strSkipped);
    }
    return Exit_Ok;
}

int CCliCommand::runScan(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("scan"), {kOutput, kFormat, kQuiet, kVerbose, kThreshold, kMinSize, kAllImages, kRotations, kExactFeatures, kHelp}, listArgs, &iExit))
        return iExit;
    CScanSettings settings;
    settings.bOriginalOnly = !parser.isSet(kAllImages);
    settings.bRotations = parser.isSet(kRotations);
    settings.bExactFeatures = parser.isSet(kExactFeatures);
    if (parser.isSet(kThreshold) && !parseThreshold(parser.value(kThreshold), &settings.iThreshold))
        return fail(Exit_Usage, QStringLiteral("--threshold takes a percentage from 0 to 100 in steps of 5"));
    if (parser.isSet(kMinSize) && !parseSize(parser.value(kMinSize), &settings.i64MinSize))
        return fail(Exit_Usage, QStringLiteral("--min-size takes a size such as 500000, 100K or 2M"));
    const QString format = parser.value(kFormat);
    if (format != QLatin1String("json") && format != QLatin1String("csv"))
        return fail(Exit_Usage, QStringLiteral("--format takes json or csv"));
    if (parser.positionalArguments().isEmpty())
        return fail(Exit_Usage, QStringLiteral("scan needs at least one folder"));
    for (const QString &source : parser.positionalArguments()) {
        const QFileInfo info(source);
        if (!info.isDir())
            return fail(Exit_Input, QStringLiteral("not a folder: %1").arg(source));
        if (!info.isReadable())
            return fail(Exit_Input, QStringLiteral("cannot read folder: %1").arg(source));
        settings.listSources << QDir::cleanPath(info.absoluteFilePath());
    }
    QString strError;
    if (!CCliOutput::checkWritable(parser.value(kOutput), &strError))
        return fail(Exit_Output, strError);
    return scanAndWrite(settings, parser.value(kOutput), format == QLatin1String("csv"));
}

int CCliCommand::runRegroup(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("regroup"), {kOutput, kFormat, kQuiet, kVerbose, kThreshold, kHelp}, listArgs, &iExit))
        return iExit;
    if (parser.positionalArguments().size() != 1)
        return fail(Exit_Usage, QStringLiteral("regroup needs one saved scan"));
    if (!parser.isSet(kThreshold))
        return fail(Exit_Usage, QStringLiteral("regroup needs --threshold"));
    const QString format = parser.value(kFormat);
    if (format != QLatin1String("json") && format != QLatin1String("csv"))
        return fail(Exit_Usage, QStringLiteral("--format takes json or csv"));
    CScanReport saved;
    QString strError;
    if (!loadReport(parser.positionalArguments().first(), &saved, &strError))
        return fail(Exit_Input, strError);
    CScanSettings settings = saved.settings;
    if (!parseThreshold(parser.value(kThreshold), &settings.iThreshold))
        return fail(Exit_Usage, QStringLiteral("--threshold takes a percentage from 0 to 100 in steps of 5"));
    for (const QString &source : qAsConst(settings.listSources)) {
        if (!QFileInfo(source).isDir())
            return fail(Exit_Input, QStringLiteral("a folder of the saved scan is gone: %1").arg(source));
    }
    if (!CCliOutput::checkWritable(parser.value(kOutput), &strError))
        return fail(Exit_Output, strError);
    return scanAndWrite(settings, parser.value(kOutput), format == QLatin1String("csv"));
}

