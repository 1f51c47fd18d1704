#include "CLocalMessage.h"

#include "CPathCodec.h"

#include <QByteArrayList>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace {

// Writes one message on its own thread. The socket is lent to the thread for the write
// (a socket may only be used from the thread it belongs to) and handed back afterwards.
class CSendDataThread : public QThread
{
public:
    CSendDataThread(QLocalSocket *pSocket, QByteArray message)
        : m_pSocket(pSocket), m_pHome(pSocket->thread()), m_message(std::move(message))
    {
    }

protected:
    void run() override
    {
        m_pSocket->write(m_message);
        m_pSocket->flush();
        m_pSocket->moveToThread(m_pHome);
    }

private:
    QLocalSocket *m_pSocket;
    QThread *m_pHome;
    QByteArray m_message;
};

QList<QByteArray> splitAt(const QByteArray &bytes, const QByteArray &separator)
{
    QList<QByteArray> parts;
    int from = 0;
    for (;;) {
        const int at = bytes.indexOf(separator, from);
        if (at < 0)
            break;
        parts << bytes.mid(from, at - from);
        from = at + separator.size();
    }
    if (from < bytes.size())
        parts << bytes.mid(from);
    return parts;
}

} // namespace

namespace CLocalMessage {

QByteArray build(const QByteArray &key, const QByteArray &value)
{
    return key + kValueSplitter + value + kMessageSplitter;
}

QMap<QString, QByteArray> parseLocalMessages(const QByteArray &bytes)
{
    QMap<QString, QByteArray> map;
    for (const QByteArray &piece : splitAt(bytes, kMessageSplitter)) {
        const QList<QByteArray> parts = splitAt(piece, kValueSplitter);
        if (parts.isEmpty())
            continue;
        map.insert(QString::fromUtf8(parts[0]), parts.size() > 1 ? parts[1] : QByteArray());
    }
    return map;
}

QByteArray encodePaths(const QStringList &listPaths)
{
    QByteArrayList listLines;
    for (const QString &path : listPaths)
        listLines << dp::platform::pathToBytes(path).toPercentEncoding();
    return listLines.join('\n');
}

QStringList decodePaths(const QByteArray &value)
{
    QStringList listPaths;
    for (const QByteArray &line : value.split('\n')) {
        if (!line.isEmpty())
            listPaths << dp::platform::pathFromBytes(QByteArray::fromPercentEncoding(line));
    }
    return listPaths;
}

QString userPrefixed(const QString &strName, const QStringList &listEnvironment)
{
    QString user;
    for (const QString &entry : listEnvironment) {
        if (!entry.contains(QLatin1String("USERNAME"), Qt::CaseInsensitive))
            continue;
        const QStringList parts = entry.split(QLatin1Char('='));
        if (parts.size() >= 2) {
            user = parts[1];
            break;
        }
    }
    // Linux sets no USERNAME: without the fallback every user of a machine would share one
    // server name, and a second user's start would talk to the first user's window.
    for (const QString &key : {QStringLiteral("USER="), QStringLiteral("LOGNAME=")}) {
        for (const QString &entry : listEnvironment) {
            if (user.isEmpty() && entry.startsWith(key))
                user = entry.mid(key.size()).section(QLatin1Char('='), 0, 0);
        }
    }
    return user + QLatin1Char('_') + strName;
}

QString ownServerName(const QString &strExecutableFileName, const QStringList &listEnvironment)
{
    QString name = QFileInfo(strExecutableFileName).fileName();
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    name = name.toLower();
    name.remove(QLatin1String(".exe"));
    name.replace(QLatin1Char('.'), QLatin1Char('_'));
    return userPrefixed(name + QLatin1String("_zkins_server"), listEnvironment);
}

QString suiteServerName(const QString &strProgram, const QStringList &listEnvironment)
{
    return userPrefixed(strProgram.toLower() + QLatin1String("_zkins_server"), listEnvironment);
}

void sendLocalMessage(QLocalSocket *pSocket, const QByteArray &key, const QByteArray &value, bool bDirect)
{
    if (!pSocket)
        return;
    const QByteArray message = build(key, value);
    if (bDirect) {
        pSocket->write(message);
        pSocket->flush();
        return;
    }
    // A socket with a parent cannot change threads; those are written here.
    if (pSocket->parent() || pSocket->thread() != QThread::currentThread()) {
        pSocket->write(message);
        pSocket->flush();
        return;
    }
    auto *pThread = new CSendDataThread(pSocket, message);
    pSocket->moveToThread(pThread);
    QEventLoop loop;
    QObject::connect(pThread, &QThread::finished, &loop, &QEventLoop::quit);
    pThread->start(QThread::InheritPriority);
    loop.exec();
    pThread->wait();
    pThread->deleteLater();
}

} // namespace CLocalMessage
