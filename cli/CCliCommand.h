#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineOption;
class QCommandLineParser;

struct CScanReport;
struct CScanSettings;

// The command line: parses a command and its flags, runs it and answers with an exit code
// that scripts can rely on.
class CCliCommand
{
public:
    enum EnExitCode {
        Exit_Ok = 0,
        Exit_Partial = 1,     // apply, undo: some files could not be removed or brought back
        Exit_Usage = 2,       // unknown command or flag, bad value
        Exit_Input = 3,       // missing folder, unreadable or foreign saved scan or journal
        Exit_Output = 4,      // output file or move folder not writable
        Exit_Engine = 5,      // no scan engine, or the scan failed
        Exit_NothingDone = 6, // apply: every file it was to remove was skipped, none removed
        Exit_Interrupted = 130
    };

    [[nodiscard]] int run(const QStringList &listArgs);
    static QString helpText();
    // True when the command lays out text for print and so needs a QGuiApplication.
    static bool needsGui(const QStringList &listArgs);
    // Keeps Qt's and the libraries' chatter off standard error unless --verbose; main() calls it
    // before the application object, whose platform set-up talks too.
    static void installMessageFilter(const QStringList &listArgs);

private:
    int runScan(const QStringList &listArgs);
    int runRegroup(const QStringList &listArgs);
    int runApply(const QStringList &listArgs);
    int runDecisions(const QStringList &listArgs);
    int runUndo(const QStringList &listArgs);
    int runSummary(const QStringList &listArgs);
    int scanAndWrite(const CScanSettings &settings, const QString &strOutput, bool bCsv);

    int fail(int iCode, const QString &strMessage) const;
    // Parses one command's options; false when the command ends here (bad usage or
    // --help), with its exit code in *pExit.
    bool parseCommand(QCommandLineParser &parser, const QString &strCommand,
                      const QList<QCommandLineOption> &listOptions, const QStringList &listArgs, int *pExit);
    static bool parseSize(const QString &strText, qint64 *pBytes);
    static bool parseThreshold(const QString &strText, int *pThreshold);
    static bool loadReport(const QString &strPath, CScanReport *pReport, QString *pStrError);

    bool m_bQuiet = false;
};
