#include "CLinuxShell.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool CLinuxShell::openFile(const QString &strPath)
{
    return !strPath.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(strPath));
}

bool CLinuxShell::showInFolder(const QString &strPath)
{
    if (strPath.isEmpty())
        return false;
    // File managers that implement the freedesktop FileManager1 interface select the file;
    // without one we can only open its folder.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(strPath).toString()} << QString();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(strPath).absolutePath()));
}
