// The decisions and summary commands.
#include "CCliCommand.h"

#include "CCliOutput.h"
#include "CDecisionStore.h"
#include "CliOptions.h"
#include "CReportSummary.h"
#include "CScanReport.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>

using namespace dp::cli;

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

    const QString path = CDecisionStore::storePath();
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
            std::fprintf(CCliOutput::data(), "%lld\t%s\t%s\t%s\n", static_cast<long long>(decision.iId),
                         qPrintable(decision.created.toString(Qt::ISODate)), qPrintable(decision.strPathA),
                         qPrintable(decision.strPathB));
        }
        std::fflush(CCliOutput::data());
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
    if (!CCliOutput::checkWritable(strOutput, &strError))
        return fail(Exit_Output, strError);

    const CReportSummary summary = CReportSummary::of(report);
    if (parser.isSet(kPdf)) {
        QString strReason;
        if (!summary.writePdf(strPdf, &strReason))
            return fail(Exit_Output, QStringLiteral("cannot write %1: %2").arg(strPdf, strReason));
        return Exit_Ok;
    }
    const QString text = parser.isSet(kHtml) ? summary.toHtml() : summary.toText();
    if (!CCliOutput::write(strOutput, text.toUtf8(), &strError))
        return fail(Exit_Output, strError);
    return Exit_Ok;
}
