#include "CCliOutput.h"

#include "CInterruptWatcher.h"
#include "CPlatform.h"
#include "CReportFile.h"
#include "IConsole.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Standard output as the program found it: the only place the data go.
FILE *g_pData = stdout;

} // namespace

void CCliOutput::reserveStandardOutput(bool bVerbose)
{
    g_pData = dp::platform::console().reserveStandardOutput(bVerbose);
}

FILE *CCliOutput::data()
{
    return g_pData;
}

// The output is written whole or not at all: an interrupted run leaves no file behind.
bool CCliOutput::write(const QString &strPath, const QByteArray &arrData, QString *pStrError)
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
bool CCliOutput::checkWritable(const QString &strPath, QString *pStrError)
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
