// The apply and undo commands.
#include "CCliCommand.h"

#include "CCliOutput.h"
#include "CFileDelImplement.h"
#include "CInterruptWatcher.h"
#include "CPathCodec.h"
#include "CRemovalJournal.h"
#include "CRemovalRunner.h"
#include "CRemovalUndo.h"
#include "CliOptions.h"
#include "CScanReport.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

using namespace dp::cli;

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
        // A link to a scanned folder counts as that folder.
        const QString strProblem = CRemovalCoordinator::moveFolderProblem(strFolder, report.settings.listSources);
        if (!strProblem.isEmpty())
            return fail(Exit_Usage, QStringLiteral("--move-to ") + strProblem);
        if (!parser.isSet(kDryRun) && !QDir().mkpath(strFolder))
            return fail(Exit_Output, QStringLiteral("cannot create folder %1").arg(strFolder));
        if (QFileInfo(strFolder).exists() && !QFileInfo(strFolder).isWritable())
            return fail(Exit_Output, QStringLiteral("cannot write into folder %1").arg(strFolder));
    }

    const bool bNeedUndo = method != CRemovalRunner::EnMethod::Delete && !parser.isSet(kNoUndo);
    if (bNeedUndo && !parser.isSet(kDryRun)) {
        const CRemovalCoordinator coordinator;
        if (!coordinator.deletionService()->checkJournal(&strError))
            return fail(Exit_Output, QStringLiteral("the removal could not be recorded for undo (%1); nothing was "
                                                    "removed. Add --no-undo to remove without a way back")
                                         .arg(strError));
    }

    int iSkipped = 0;
    const CRemovalRunner::CPlan plan =
        CRemovalRunner::plan(report, listWanted, !parser.isSet(kList), &iSkipped, stderr);
    CInterruptWatcher watcher;
    const CRemovalRunner runner(method, strFolder, parser.isSet(kDryRun), CCliOutput::data());
    const CRemovalRunner::COutcome outcome = runner.run(plan, bNeedUndo);
    iSkipped += outcome.iSkipped;
    if (!m_bQuiet) {
        std::fprintf(stderr, "%s%d done, %d failed, %d skipped\n", parser.isSet(kDryRun) ? "dry run: " : "",
                     outcome.iDone, outcome.iFailed, iSkipped);
    }
    if (!m_bQuiet && !parser.isSet(kDryRun) && outcome.i64Request >= 0 && outcome.iDone > 0 && !parser.isSet(kPermanent))
        std::fprintf(stderr, "to undo: mirelle-cli undo --request %lld\n", outcome.i64Request);
    if (outcome.bInterrupted)
        return fail(Exit_Interrupted, QStringLiteral("interrupted after %1 files; the rest were left alone")
                                          .arg(outcome.iDone + outcome.iFailed));
    if (outcome.iFailed > 0)
        return Exit_Partial;
    // A script must be able to tell that the checks left every file where it was.
    return outcome.iDone == 0 && iSkipped > 0 ? Exit_NothingDone : Exit_Ok;
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
            std::fprintf(CCliOutput::data(), "%lld\t%s\t%s\t%d files\t%d to undo\n", request.i64Id,
                         qPrintable(QDateTime::fromMSecsSinceEpoch(request.i64TimeMs).toString(Qt::ISODate)),
                         request.method == CRemovalJournal::EnMethod::Move ? "moved" : "trashed", request.iFiles,
                         request.iRestorable);
        }
        std::fflush(CCliOutput::data());
        return Exit_Ok;
    }

    const CRemovalUndo::COutcome outcome = undo.undo(i64Request);
    if (!outcome.strError.isEmpty())
        return fail(Exit_Input, outcome.strError);
    for (const QString &path : outcome.listRestored)
        std::fprintf(CCliOutput::data(), "restored\t%s\n", dp::platform::pathToBytes(path).constData());
    std::fflush(CCliOutput::data());
    for (const auto &failed : outcome.listFailed)
        std::fprintf(stderr, "not restored: %s (%s)\n", dp::platform::pathToBytes(failed.first).constData(),
                     qPrintable(failed.second));
    if (!m_bQuiet) {
        std::fprintf(stderr, "removal %lld: %d restored, %d could not come back\n", outcome.i64Request,
                     int(outcome.listRestored.size()), int(outcome.listFailed.size()));
    }
    return outcome.listFailed.isEmpty() ? Exit_Ok : Exit_Partial;
}
