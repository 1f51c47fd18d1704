#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

// Where the command line's data go: standard output as the program found it, written whole
// or not at all.
class CCliOutput
{
public:
    // Keeps standard output for the data; what libraries print there goes to the null device,
    // or to standard error with bVerbose.
    static void reserveStandardOutput(bool bVerbose);
    static FILE *data();
    // Writes to strPath, or to the data stream for "" and "-".
    [[nodiscard]] static bool write(const QString &strPath, const QByteArray &arrData, QString *pStrError);
    // Whether strPath may be written, checked before a long scan.
    [[nodiscard]] static bool checkWritable(const QString &strPath, QString *pStrError);
};
