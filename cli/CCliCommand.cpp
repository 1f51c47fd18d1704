#include "CCliCommand.h"

#include "CCliOutput.h"
#include "CliOptions.h"
#include "CScanReport.h"

#include <QCommandLineParser>
#include <QFile>

#include <algorithm>
#include <cstdio>

using namespace dp::cli;

namespace {

bool g_bVerbose = false;

void filterMessages(QtMsgType type, const QMessageLogContext &, const QString &strText)
{
    // The manager and the engine log for the window's diagnostics; a script wants quiet.
    if (!g_bVerbose && type != QtCriticalMsg && type != QtFatalMsg)
        return;
    std::fprintf(stderr, "%s\n", qPrintable(strText));
}

} // namespace

int CCliCommand::run(const QStringList &listArgs)
{
    installMessageFilter(listArgs);
    CCliOutput::reserveStandardOutput(g_bVerbose);
    if (listArgs.isEmpty())
        return fail(Exit_Usage, QStringLiteral("no command given (try: mirelle-cli --help)"));
    const QString command = listArgs.first();
    const QStringList listRest = listArgs.mid(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        std::fprintf(CCliOutput::data(), "%s", qPrintable(helpText()));
        std::fflush(CCliOutput::data());
        return Exit_Ok;
    }
    if (command == QLatin1String("--version")) {
        std::fprintf(CCliOutput::data(), "mirelle-cli %s (saved scan format %d)\n", DP_VERSION, CScanReport::kFormatVersion);
        std::fflush(CCliOutput::data());
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

bool CCliCommand::parseCommand(QCommandLineParser &parser, const QString &strCommand,
                               const QList<QCommandLineOption> &listOptions, const QStringList &listArgs, int *pExit)
{
    parser.addOptions(listOptions);
    if (!parser.parse(QStringList{strCommand} + listArgs)) {
        *pExit = fail(Exit_Usage, parser.errorText());
        return false;
    }
    if (parser.isSet(kHelp)) {
        std::fprintf(CCliOutput::data(), "%s", qPrintable(helpText()));
        std::fflush(CCliOutput::data());
        *pExit = Exit_Ok;
        return false;
    }
    m_bQuiet = parser.isSet(kQuiet);
    return true;
}

bool CCliCommand::needsGui(const QStringList &listArgs)
{
    return listArgs.value(0) == QLatin1String("summary")
           && std::any_of(listArgs.begin(), listArgs.end(), [](const QString &strArg) {
                  return strArg == QLatin1String("--pdf") || strArg.startsWith(QLatin1String("--pdf="));
              });
}

