#include "CCliCommand.h"

#include "CDecisionStore.h"
#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "CFileStamp.h"
#include "CInterruptWatcher.h"
#include "CRemovalJournal.h"
#include "CRemovalRunner.h"
#include "CRemovalUndo.h"
#include "CReportFile.h"
#include "CReportSummary.h"
#include "CScanReport.h"
#include "CScanRunner.h"
#include "CTerminalProgress.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

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

bool g_bVerbose = false;
// Standard output as the program found it: the only place the data go. Libraries that
// print to standard output get /dev/null (or standard error with --verbose) instead.
FILE *g_pData = stdout;

void reserveStandardOutput()
{
    const int fdData = dup(STDOUT_FILENO);
    if (fdData < 0)
        return;
    std::fflush(stdout);
    const int fdOther = g_bVerbose ? dup(STDERR_FILENO) : open("/dev/null", O_WRONLY);
    if (fdOther < 0 || dup2(fdOther, STDOUT_FILENO) < 0) {
        close(fdData);
        return;
    }
    close(fdOther);
    if (FILE *pData = fdopen(fdData, "w"))
        g_pData = pData;
}

void filterMessages(QtMsgType type, const QMessageLogContext &, const QString &strText)
{
    // The manager and the engine log for the window's diagnostics; a script wants quiet.
    if (!g_bVerbose && type != QtCriticalMsg && type != QtFatalMsg)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(strText));
}

const QCommandLineOption kOutput({QStringLiteral("o"), QStringLiteral("output")}, QString(), QStringLiteral("file"));
const QCommandLineOption kFormat(QStringLiteral("format"), QString(), QStringLiteral("json|csv"), QStringLiteral("json"));
const QCommandLineOption kQuiet({QStringLiteral("q"), QStringLiteral("quiet")}, QString());
const QCommandLineOption kVerbose({QStringLiteral("v"), QStringLiteral("verbose")}, QString());
const QCommandLineOption kThreshold(QStringLiteral("threshold"), QString(), QStringLiteral("percent"));
const QCommandLineOption kMinSize(QStringLiteral("min-size"), QString(), QStringLiteral("size"));
const QCommandLineOption kAllImages(QStringLiteral("all-images"), QString());
const QCommandLineOption kRotations(QStringLiteral("rotations"), QString());
const QCommandLineOption kList(QStringLiteral("list"), QString(), QStringLiteral("file"));
const QCommandLineOption kPermanent(QStringLiteral("permanent"), QString());
const QCommandLineOption kMoveTo(QStringLiteral("move-to"), QString(), QStringLiteral("folder"));
const QCommandLineOption kDryRun({QStringLiteral("n"), QStringLiteral("dry-run")}, QString());
const QCommandLineOption kNoUndo(QStringLiteral("no-undo"), QString());
const QCommandLineOption kHistory(QStringLiteral("list"), QString());
const QCommandLineOption kRequest(QStringLiteral("request"), QString(), QStringLiteral("id"));
const QCommandLineOption kHtml(QStringLiteral("html"), QString(), QStringLiteral("file"));
const QCommandLineOption kPdf(QStringLiteral("pdf"), QString(), QStringLiteral("file"));
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QString());

// The output is written whole or not at all: an interrupted run leaves no file behind.
bool writeOutput(const QString &strPath, const QByteArray &arrData, QString *pStrError)
{
    if (strPath.isEmpty() || strPath == QLatin1String("-")) {
        const bool bOk = std::fwrite(arrData.constData(), 1, size_t(arrData.size()), g_pData) == size_t(arrData.size())
                         && std::fflush(g_pData) == 0;
        if (!bOk)
            *pStrError = QStringLiteral("cannot write to standard output");
        return bOk;
    }
    CReportFile file(strPath);
    if (!file.open() || !file.write(arrData)) {
        *pStrError = QStringLiteral("cannot write %1: %2").arg(strPath, file.reason());
        file.cancel();
        return false;
    }
    if (CInterruptWatcher::isInterrupted()) {
        file.cancel();
        *pStrError = QStringLiteral("interrupted; nothing was written");
        return false;
    }
    if (!file.commit()) {
        *pStrError = QStringLiteral("cannot write %1: %2").arg(strPath, file.reason());
        return false;
    }
    return true;
}

// Checked before a long scan, so that a wrong path fails at once and not after an hour.
bool checkWritable(const QString &strPath, QString *pStrError)
{
    if (strPath.isEmpty() || strPath == QLatin1String("-"))
        return true;
    const QFileInfo info(strPath);
    if (info.isDir()) {
        *pStrError = QStringLiteral("cannot write %1: it is a folder").arg(strPath);
        return false;
    }
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || !folder.isWritable() || (info.exists() && !info.isWritable())) {
        *pStrError = QStringLiteral("cannot write %1: permission denied or no such folder").arg(strPath);
        return false;
    }
    // Only a file this program wrote may be replaced: a mistyped -o must not turn a photo
    // into JSON.
    if (info.exists() && info.size() > 0) {
        QFile file(strPath);
        const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
        const bool bReport = head.startsWith("group,path,")
                             || (head.trimmed().startsWith('{') && head.contains("\"mirelle-scan\""));
        if (!bReport) {
            *pStrError = QStringLiteral("will not overwrite %1: it is not a saved scan of this program "
                                        "(choose another file name)")
                             .arg(strPath);
            return false;
        }
    }
    return true;
}

} // namespace

int CCliCommand::run(const QStringList &listArgs)
{
    installMessageFilter(listArgs);
    reserveStandardOutput();
    if (listArgs.isEmpty())
        return fail(Exit_Usage, QStringLiteral("no command given (try: mirelle-cli --help)"));
    const QString command = listArgs.first();
    const QStringList listRest = listArgs.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        std::fprintf(g_pData, "%s", qPrintable(helpText()));
        std::fflush(g_pData);
        return Exit_Ok;
    }
    if (command == QLatin1String("--version")) {
        std::fprintf(g_pData, "mirelle-cli %s (saved scan format %d)\n", DP_VERSION, CScanReport::kFormatVersion);
        std::fflush(g_pData);
        return Exit_Ok;
    }
    if (command == QLatin1String("scan"))
        return runScan(listRest);
    if (command == QLatin1String("regroup"))
        return runRegroup(listRest);
    if (command == QLatin1String("apply"))
        return runApply(listRest);
    if (command == QLatin1String("decisions"))
        return runDecisions(listRest);
    if (command == QLatin1String("undo"))
        return runUndo(listRest);
    if (command == QLatin1String("summary"))
        return runSummary(listRest);
    return fail(Exit_Usage, QStringLiteral("unknown command \"%1\" (try: mirelle-cli --help)").arg(command));
}

void CCliCommand::installMessageFilter(const QStringList &listArgs)
{
    g_bVerbose = listArgs.contains(QLatin1String("-v")) || listArgs.contains(QLatin1String("--verbose"));
    qInstallMessageHandler(filterMessages);
}

int CCliCommand::fail(int iCode, const QString &strMessage) const
{
    std::fprintf(stderr, "mirelle-cli: error: %s\n", qPrintable(strMessage));
    return iCode;
}

bool CCliCommand::parseSize(const QString &strText, qint64 *pBytes)
{
    QString text = strText.trimmed().toUpper();
    if (text.endsWith(QLatin1Char('B')))
        text.chop(1);
    qint64 i64Unit = 1;
    if (text.endsWith(QLatin1Char('K')))
        i64Unit = 1024;
    else if (text.endsWith(QLatin1Char('M')))
        i64Unit = 1024 * 1024;
    else if (text.endsWith(QLatin1Char('G')))
        i64Unit = 1024 * 1024 * 1024;
    if (i64Unit != 1)
        text.chop(1);
    bool bOk = false;
    const double dValue = text.toDouble(&bOk);
    if (!bOk || dValue < 0 || dValue * double(i64Unit) > 1e15)
        return false;
    *pBytes = static_cast<qint64>(dValue * double(i64Unit));
    return true;
}

bool CCliCommand::parseThreshold(const QString &strText, int *pThreshold)
{
    QString text = strText.trimmed();
    if (text.endsWith(QLatin1Char('%')))
        text.chop(1);
    bool bOk = false;
    const int iValue = text.toInt(&bOk);
    // The engine takes the threshold in steps of 5, as the window's slider does.
    if (!bOk || iValue < 0 || iValue > 100 || iValue % 5 != 0)
        return false;
    *pThreshold = iValue;
    return true;
}

bool CCliCommand::loadReport(const QString &strPath, CScanReport *pReport, QString *pStrError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *pStrError = QStringLiteral("cannot read %1: %2").arg(strPath, file.errorString());
        return false;
    }
    if (!CScanReport::fromJson(file.readAll(), pReport, pStrError)) {
        *pStrError = strPath + QStringLiteral(": ") + *pStrError;
        return false;
    }
    return true;
}

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
        return fail(Exit_Engine, QStringLiteral("the scan failed; run again with --verbose for details"));
    case CScanRunner::EnResult::Done:
        break;
    }
    if (CInterruptWatcher::isInterrupted())
        return fail(Exit_Interrupted, QStringLiteral("interrupted; nothing was written"));
    QString strError;
    if (!writeOutput(strOutput, bCsv ? report.toCsv() : report.toJson(), &strError))
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

bool CCliCommand::parseCommand(QCommandLineParser &parser, const QString &strCommand,
                               const QList<QCommandLineOption> &listOptions, const QStringList &listArgs, int *pExit)
{
    parser.addOptions(listOptions);
    if (!parser.parse(QStringList{strCommand} + listArgs)) {
        *pExit = fail(Exit_Usage, parser.errorText());
        return false;
    }
    if (parser.isSet(kHelp)) {
        std::fprintf(g_pData, "%s", qPrintable(helpText()));
        std::fflush(g_pData);
        *pExit = Exit_Ok;
        return false;
    }
    m_bQuiet = parser.isSet(kQuiet);
    return true;
}

int CCliCommand::runScan(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("scan"), {kOutput, kFormat, kQuiet, kVerbose, kThreshold, kMinSize, kAllImages, kRotations, kHelp}, listArgs, &iExit))
        return iExit;
    CScanSettings settings;
    settings.bOriginalOnly = !parser.isSet(kAllImages);
    settings.bRotations = parser.isSet(kRotations);
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
    if (!checkWritable(parser.value(kOutput), &strError))
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
    if (!checkWritable(parser.value(kOutput), &strError))
        return fail(Exit_Output, strError);
    return scanAndWrite(settings, parser.value(kOutput), format == QLatin1String("csv"));
}

int CCliCommand::runApply(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("apply"), {kQuiet, kVerbose, kList, kPermanent, kMoveTo, kDryRun, kNoUndo, kHelp}, listArgs, &iExit))
        return iExit;
    if (parser.positionalArguments().size() != 1)
        return fail(Exit_Usage, QStringLiteral("apply needs one saved scan"));
    if (parser.isSet(kPermanent) && parser.isSet(kMoveTo))
        return fail(Exit_Usage, QStringLiteral("--permanent and --move-to exclude each other"));
    CScanReport report;
    QString strError;
    if (!loadReport(parser.positionalArguments().first(), &report, &strError))
        return fail(Exit_Input, strError);

    QStringList listWanted;
    if (parser.isSet(kList)) {
        QFile file;
        const QString listPath = parser.value(kList);
        const bool bOpen = listPath == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
                                                           : (file.setFileName(listPath),
                                                              file.open(QIODevice::ReadOnly | QIODevice::Text));
        if (!bOpen)
            return fail(Exit_Input, QStringLiteral("cannot read %1: %2").arg(listPath, file.errorString()));
        QTextStream stream(&file);
        stream.setCodec("UTF-8");
        while (!stream.atEnd()) {
            const QString line = stream.readLine();
            if (!line.trimmed().isEmpty())
                listWanted << line;
        }
    }

    auto method = CRemovalRunner::EnMethod::Trash;
    QString strFolder;
    if (parser.isSet(kPermanent)) {
        method = CRemovalRunner::EnMethod::Delete;
    } else if (parser.isSet(kMoveTo)) {
        method = CRemovalRunner::EnMethod::Move;
        strFolder = QDir::cleanPath(QFileInfo(parser.value(kMoveTo)).absoluteFilePath());
        // Moved into a scanned folder, the photos would be found again by the next scan, and
        // a second apply would nest the folder in itself.
        const QString strResolved = dp::platform::canonicalPath(strFolder);
        for (const QString &source : qAsConst(report.settings.listSources)) {
            QString strSource = QFileInfo(source).canonicalFilePath();
            if (strSource.isEmpty())
                strSource = dp::platform::canonicalPath(source);
            if (strSource == QLatin1String("/") || strResolved == strSource
                || strResolved.startsWith(strSource + QLatin1Char('/')))
                return fail(Exit_Usage, QStringLiteral("--move-to %1 lies inside the scanned folder %2: choose a "
                                                       "folder outside it")
                                            .arg(strFolder, source));
        }
        if (!parser.isSet(kDryRun) && !QDir().mkpath(strFolder))
            return fail(Exit_Output, QStringLiteral("cannot create folder %1").arg(strFolder));
        if (QFileInfo(strFolder).exists() && !QFileInfo(strFolder).isWritable())
            return fail(Exit_Output, QStringLiteral("cannot write into folder %1").arg(strFolder));
    }

    const bool bNeedUndo = method != CRemovalRunner::EnMethod::Delete && !parser.isSet(kNoUndo);
    if (bNeedUndo && !parser.isSet(kDryRun)) {
        CFileDelImplement service;
        if (!service.checkJournal(&strError))
            return fail(Exit_Output, QStringLiteral("the removal could not be recorded for undo (%1); nothing was "
                                                    "removed. Add --no-undo to remove without a way back")
                                         .arg(strError));
    }

    int iSkipped = 0;
    const CRemovalRunner::CPlan plan =
        CRemovalRunner::plan(report, listWanted, !parser.isSet(kList), &iSkipped, stderr);
    CInterruptWatcher watcher;
    const CRemovalRunner runner(method, strFolder, parser.isSet(kDryRun), g_pData);
    const CRemovalRunner::COutcome outcome = runner.run(plan, bNeedUndo);
    iSkipped += outcome.iSkipped;
    if (!m_bQuiet) {
        std::fprintf(stderr, "%s%d done, %d failed, %d skipped\n", parser.isSet(kDryRun) ? "dry run: " : "",
                     outcome.iDone, outcome.iFailed, iSkipped);
    }
    if (!m_bQuiet && !parser.isSet(kDryRun) && outcome.i64Request >= 0 && !parser.isSet(kPermanent))
        std::fprintf(stderr, "to undo: mirelle-cli undo --request %lld\n", outcome.i64Request);
    if (outcome.bInterrupted)
        return fail(Exit_Interrupted, QStringLiteral("interrupted after %1 files; the rest were left alone")
                                          .arg(outcome.iDone + outcome.iFailed));
    return outcome.iFailed > 0 ? Exit_Partial : Exit_Ok;
}

int CCliCommand::runDecisions(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("decisions"), {kQuiet, kVerbose, kHelp}, listArgs, &iExit))
        return iExit;
    const QStringList args = parser.positionalArguments();
    const QString action = args.value(0);
    const bool bList = action == QLatin1String("list") && args.size() == 1;
    const bool bForget = action == QLatin1String("forget") && args.size() == 2;
    const bool bForgetAll = action == QLatin1String("forget-all") && args.size() == 1;
    if (!bList && !bForget && !bForgetAll)
        return fail(Exit_Usage, QStringLiteral("decisions takes: list, forget ID or forget-all"));
    qint64 iId = 0;
    if (bForget) {
        bool bOk = false;
        iId = args.at(1).toLongLong(&bOk);
        if (!bOk || iId <= 0)
            return fail(Exit_Usage, QStringLiteral("forget takes a decision ID as \"decisions list\" shows it"));
    }

    const QString path = CDupPicsMgr::decisionStorePath();
    // Looking must not create the file: without one there is nothing remembered.
    if (!QFileInfo::exists(path)) {
        if (bForget)
            return fail(Exit_Input, QStringLiteral("no decision %1").arg(iId));
        return Exit_Ok;
    }
    CDecisionStore store;
    if (!store.open(path))
        return fail(Exit_Input, store.errorText());
    if (bList) {
        for (const CDecision &decision : store.decisions()) {
            std::fprintf(g_pData, "%lld\t%s\t%s\t%s\n", static_cast<long long>(decision.iId),
                         qPrintable(decision.created.toString(Qt::ISODate)), qPrintable(decision.strPathA),
                         qPrintable(decision.strPathB));
        }
        std::fflush(g_pData);
        return Exit_Ok;
    }
    if (bForget) {
        const QList<CDecision> list = store.decisions();
        const bool bKnown = std::any_of(list.cbegin(), list.cend(), [iId](const CDecision &d) { return d.iId == iId; });
        if (!bKnown)
            return fail(Exit_Input, QStringLiteral("no decision %1").arg(iId));
        if (!store.forget(iId))
            return fail(Exit_Output, QStringLiteral("cannot write %1").arg(path));
        if (!parser.isSet(kQuiet))
            std::fprintf(stderr, "forgot decision %lld\n", static_cast<long long>(iId));
        return Exit_Ok;
    }
    const int iCount = store.count();
    if (!store.forgetAll())
        return fail(Exit_Output, QStringLiteral("cannot write %1").arg(path));
    if (!parser.isSet(kQuiet))
        std::fprintf(stderr, "forgot %d decisions\n", iCount);
    return Exit_Ok;
}

int CCliCommand::runUndo(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("undo"), {kQuiet, kVerbose, kHistory, kRequest, kHelp}, listArgs, &iExit))
        return iExit;
    if (!parser.positionalArguments().isEmpty())
        return fail(Exit_Usage, QStringLiteral("undo takes no arguments besides its options"));
    if (parser.isSet(kHistory) && parser.isSet(kRequest))
        return fail(Exit_Usage, QStringLiteral("--list and --request exclude each other"));
    qint64 i64Request = -1;
    if (parser.isSet(kRequest)) {
        bool bOk = false;
        i64Request = parser.value(kRequest).toLongLong(&bOk);
        if (!bOk || i64Request <= 0)
            return fail(Exit_Usage, QStringLiteral("--request takes a number that undo --list shows"));
    }

    const CRemovalUndo undo;
    if (parser.isSet(kHistory)) {
        QList<CRemovalJournal::CRequest> listRequests;
        QString strError;
        if (!undo.history(&listRequests, &strError))
            return fail(Exit_Input, strError);
        for (const CRemovalJournal::CRequest &request : qAsConst(listRequests)) {
            std::fprintf(g_pData, "%lld\t%s\t%s\t%d files\t%d to undo\n", request.i64Id,
                         qPrintable(QDateTime::fromMSecsSinceEpoch(request.i64TimeMs).toString(Qt::ISODate)),
                         request.method == CRemovalJournal::EnMethod::Move ? "moved" : "trashed", request.iFiles,
                         request.iRestorable);
        }
        std::fflush(g_pData);
        return Exit_Ok;
    }

    const CRemovalUndo::COutcome outcome = undo.undo(i64Request);
    if (!outcome.strError.isEmpty())
        return fail(Exit_Input, outcome.strError);
    for (const QString &path : outcome.listRestored)
        std::fprintf(g_pData, "restored\t%s\n", qPrintable(path));
    std::fflush(g_pData);
    for (const auto &failed : outcome.listFailed)
        std::fprintf(stderr, "not restored: %s (%s)\n", qPrintable(failed.first), qPrintable(failed.second));
    if (!m_bQuiet) {
        std::fprintf(stderr, "removal %lld: %d restored, %d could not come back\n", outcome.i64Request,
                     int(outcome.listRestored.size()), int(outcome.listFailed.size()));
    }
    return outcome.listFailed.isEmpty() ? Exit_Ok : Exit_Partial;
}

bool CCliCommand::needsGui(const QStringList &listArgs)
{
    return listArgs.value(0) == QLatin1String("summary")
           && std::any_of(listArgs.begin(), listArgs.end(), [](const QString &strArg) {
                  return strArg == QLatin1String("--pdf") || strArg.startsWith(QLatin1String("--pdf="));
              });
}

int CCliCommand::runSummary(const QStringList &listArgs)
{
    QCommandLineParser parser;
    int iExit = Exit_Ok;
    if (!parseCommand(parser, QStringLiteral("summary"), {kQuiet, kVerbose, kHtml, kPdf, kHelp}, listArgs, &iExit))
        return iExit;
    if (parser.positionalArguments().size() != 1)
        return fail(Exit_Usage, QStringLiteral("summary needs one saved scan"));
    if (parser.isSet(kHtml) && parser.isSet(kPdf))
        return fail(Exit_Usage, QStringLiteral("--html and --pdf exclude each other"));
    const QString strPdf = parser.value(kPdf);
    if (parser.isSet(kPdf) && (strPdf.isEmpty() || strPdf == QLatin1String("-")))
        return fail(Exit_Usage, QStringLiteral("--pdf needs a file name"));
    // main() makes the application; a caller that runs the command itself must do the same.
    if (parser.isSet(kPdf) && !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fail(Exit_Usage, QStringLiteral("--pdf needs a graphical application object"));
    CScanReport report;
    QString strError;
    if (!loadReport(parser.positionalArguments().first(), &report, &strError))
        return fail(Exit_Input, strError);
    const QString strOutput = parser.isSet(kPdf) ? strPdf : parser.value(kHtml);
    if (!checkWritable(strOutput, &strError))
        return fail(Exit_Output, strError);

    const CReportSummary summary = CReportSummary::of(report);
    if (parser.isSet(kPdf)) {
        QString strReason;
        if (!summary.writePdf(strPdf, &strReason))
            return fail(Exit_Output, QStringLiteral("cannot write %1: %2").arg(strPdf, strReason));
        return Exit_Ok;
    }
    const QString text = parser.isSet(kHtml) ? summary.toHtml() : summary.toText();
    if (!writeOutput(strOutput, text.toUtf8(), &strError))
        return fail(Exit_Output, strError);
    return Exit_Ok;
}

QString CCliCommand::helpText()
{
    return QStringLiteral(R"(Usage: mirelle-cli COMMAND [OPTIONS] ARGUMENTS

Finds duplicate and similar photos with the same engine as the Mirelle window,
proposes which copies to remove, and removes them on request.

Commands:
  scan [OPTIONS] FOLDER...
      Scans the folders (and their sub-folders) and writes the groups of
      similar photos. Each photo carries its path, size, width, height,
      similarity to the group's first photo (percent), sharpness score, date,
      whether the engine prefers it as an original, and whether it is
      proposed for removal (one copy of every group is always kept), and in
      JSON whether it is a burst frame (burst frames are not proposed
      unless they are exact copies).
      --threshold PERCENT  similarity threshold, 0 to 100 in steps of 5
                           (default 70; 100 finds identical pictures only)
      --min-size SIZE      skip files smaller than SIZE: bytes, or with a
                           K, M or G suffix (default 100K)
      --all-images         take all images, not only camera originals
      --rotations          also find copies turned by 90, 180 or 270 degrees
                           or mirrored (needs an engine that can; saved with
                           the scan, so regroup repeats it)
      --format json|csv    output format (default json; only JSON can be
                           read back by regroup and apply)
      -o, --output FILE    write to FILE instead of standard output; the file
                           is written whole at the end or not at all

  regroup SAVED.json --threshold PERCENT [--format json|csv] [-o FILE]
      Groups the photos of a saved scan again at another threshold. It scans
      the saved scan's folders again with its options; the engine keeps the
      features of every photo in its cache, so photos that did not change are
      not decoded again and a regroup costs about a folder walk. SAVED.json
      may also be the output file.

  apply SAVED.json [--list FILE] [--permanent | --move-to FOLDER] [--dry-run]
                   [--no-undo]
      Removes the photos that the saved scan proposes, or with --list the
      photos named in FILE (one path a line; "-" reads standard input).
      Default: into the trash. --permanent deletes for good. --move-to moves
      the files into FOLDER (created when missing; not inside a scanned
      folder). Safety: only photos of the saved scan that lie under its
      folders are touched, each file once however it is spelled; the last
      copy of a group is always kept. Just before each file goes, it must
      still be a plain file with the size, time and content the scan read,
      and a copy its group keeps must still be on disk, as another file,
      with the content the scan read; otherwise the file is left alone and
      the reason printed ("the kept copy is gone", "changed since the
      scan"). Ctrl-C stops between two files. Each removed file is printed
      on standard output as "trashed|deleted|moved<TAB>PATH"; skipped and
      failed files on standard error.
      -n, --dry-run        print what would be done ("would trash<TAB>PATH")
                           and change nothing
      Trashed and moved files are recorded in the removal journal
      ($XDG_DATA_HOME/mirelle/removals.sqlite), so that undo can bring them
      back; permanent deletion cannot be undone. When the journal cannot be
      written, nothing is removed (exit 4) unless --no-undo is given.

  undo [--list | --request ID]
      Brings back the files of the last trash or move removal (of this
      program or the window), or with --request those of removal ID:
      trashed files out of the trash, moved files from their folder. A file
      whose original place is taken, or that changed since it was removed,
      is left where it is. Each file brought back is printed on standard
      output as "restored<TAB>PATH"; the others on standard error with the
      reason.
      --list               show the recorded removals, newest first:
                           "ID<TAB>TIME<TAB>trashed|moved<TAB>N files<TAB>
                           M to undo"
      --request ID         undo removal ID instead of the last one

  decisions list | forget ID | forget-all
      The photos remembered as "Not duplicates" in the window: they are
      never put into one group again, even after a rename. list prints
      "ID<TAB>DATE<TAB>PATH<TAB>PATH" per decision (the names the photos had
      then); forget ID forgets one, forget-all forgets every one. The next
      scan or regroup may group those photos again.

  summary SAVED.json [--html FILE | --pdf FILE]
      Prints what the saved scan found: groups, photos, the photos proposed
      for removal and the space their removal would free, per drive and per
      folder. Plain text on standard output by default.
      --html FILE          write the summary as an HTML page ("-" for
                           standard output)
      --pdf FILE           write the summary as a printable PDF (A4)

Common options:
  -q, --quiet      no progress or summary on standard error
  -v, --verbose    show the engine's and the manager's diagnostics
  -h, --help       this text
  --version        program and saved scan format versions

Progress goes to standard error: a bar on a terminal, plain
"progress: STEP N%" lines otherwise.

Exit codes:
  0    success (also when nothing was found)
  1    apply: some files could not be removed; undo: some files could
       not come back
  2    usage error: unknown command or option, bad value
  3    input error: missing folder, unreadable or foreign saved scan, a
       saved scan from another format version, an unknown decision ID, or a
       damaged decisions file (it is left as it is); undo: no removal
       journal, a damaged one or one of another version, or nothing left
       to undo
  4    output error: output file or move folder not writable, an output
       file that is not a saved scan of this program, or a removal journal
       that cannot be written
  5    the scan engine could not be loaded or the scan failed
  130  interrupted (Ctrl-C or SIGTERM): no output file is written, and no
       file is left half-removed

Environment:
  MIRELLE_SCAN_ENGINE  path of the scan engine module (default:
                       libScanEngine.so in ../lib/mirelle from the
                       program's folder, else beside the program)
  MIRELLE_DECISIONS_DB path of the decisions file (default:
                       $XDG_DATA_HOME/mirelle/decisions.sqlite)

Examples:
  mirelle-cli scan ~/Pictures -o scan.json
  mirelle-cli scan --threshold 90 --min-size 0 --format csv ~/Pictures
  mirelle-cli regroup scan.json --threshold 85 -o scan85.json
  mirelle-cli apply scan85.json --dry-run
  mirelle-cli apply scan85.json --move-to ~/duplicates
  mirelle-cli undo --list
  mirelle-cli undo
  mirelle-cli summary scan85.json --pdf summary.pdf
)");
}
