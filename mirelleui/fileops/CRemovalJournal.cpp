#include "CRemovalJournal.h"

#include "CFileStamp.h"
#include "CPathCodec.h"
#include "FileOpsLogging.h"

#include <QAtomicInteger>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace {

constexpr const char *kFormat = "mirelle-removals";

QAtomicInteger<quint32> g_connectionCount;

QString sqlError(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

// A null QString binds as NULL; a place not known yet is the empty text. A path whose name
// is not UTF-8 carries its bytes as lone surrogates, which SQLite's text would not keep: it
// is stored as its bytes, a BLOB, so that undo finds exactly that file again.
QVariant textOf(const QString &strText)
{
    if (dp::platform::needsRawAccess(strText))
        return dp::platform::pathToBytes(strText);
    return strText.isNull() ? QStringLiteral("") : strText;
}

QString pathOf(const QVariant &value)
{
    if (value.type() == QVariant::ByteArray)
        return dp::platform::pathFromBytes(value.toByteArray());
    return value.toString();
}

} // namespace

QString CRemovalJournal::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/mirelle/removals.sqlite");
}

CRemovalJournal::CRemovalJournal(const QString &strPath)
    : m_strPath(strPath.isEmpty() ? defaultPath() : strPath),
      m_strConnection(QStringLiteral("mirelle-journal-%1").arg(g_connectionCount.fetchAndAddRelaxed(1)))
{
}

CRemovalJournal::~CRemovalJournal()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_strConnection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_strConnection))
        QSqlDatabase::removeDatabase(m_strConnection);
}

bool CRemovalJournal::exec(const QString &strSql, QString *pstrError)
{
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    if (query.exec(strSql))
        return true;
    if (pstrError)
        *pstrError = sqlError(query.lastError());
    return false;
}

bool CRemovalJournal::open(bool bCreate, QString *pstrError)
{
    m_bOpen = false;
    const QFileInfo info(m_strPath);
    const bool bExists = info.exists();
    if (!bExists && !bCreate) {
        *pstrError = tr("No removals have been recorded (%1 does not exist).").arg(m_strPath);
        return false;
    }
    if (bExists && !info.isFile()) {
        *pstrError = tr("The removal journal %1 is not a file.").arg(m_strPath);
        return false;
    }
    if (!bExists && !QDir().mkpath(info.absolutePath())) {
        *pstrError = tr("The folder of the removal journal %1 cannot be created.").arg(m_strPath);
        return false;
    }

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_strConnection);
    db.setDatabaseName(m_strPath);
    if (!db.open()) {
        *pstrError = tr("The removal journal %1 cannot be opened: %2").arg(m_strPath, sqlError(db.lastError()));
        return false;
    }
    // Another process (the command line and the window) may write at the same moment.
    QString strError;
    exec(QStringLiteral("PRAGMA busy_timeout = 5000"), nullptr);

    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !tables.next()) {
        *pstrError = tr("The removal journal %1 is damaged (%2); undo is off and the file is left as it is.")
                         .arg(m_strPath, sqlError(tables.lastError()));
        return false;
    }
    const bool bEmpty = tables.value(0).toInt() == 0;
    tables.finish();

    if (bEmpty) {
        // A new journal, or an empty file: both are ours to lay out.
        const bool bMade = exec(QStringLiteral("PRAGMA journal_mode = WAL"), &strError)
            && exec(QStringLiteral("BEGIN"), &strError)
            && exec(QStringLiteral("CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT)"), &strError)
            && exec(QStringLiteral("CREATE TABLE requests (id INTEGER PRIMARY KEY AUTOINCREMENT, method INTEGER NOT NULL,"
                                   " time INTEGER NOT NULL)"), &strError)
            && exec(QStringLiteral("CREATE TABLE entries (id INTEGER PRIMARY KEY AUTOINCREMENT,"
                                   " request INTEGER NOT NULL REFERENCES requests(id), original TEXT NOT NULL,"
                                   " place TEXT NOT NULL DEFAULT '', size INTEGER NOT NULL, mtime INTEGER NOT NULL,"
                                   " state INTEGER NOT NULL, time INTEGER NOT NULL,"
                                   " resolved TEXT NOT NULL DEFAULT '')"), &strError)
            && exec(QStringLiteral("CREATE INDEX entries_request ON entries(request)"), &strError)
            && exec(QStringLiteral("INSERT INTO meta VALUES ('format', '%1'), ('version', '%2')")
                        .arg(QLatin1String(kFormat)).arg(kVersion), &strError)
            && exec(QStringLiteral("COMMIT"), &strError);
        if (!bMade) {
            exec(QStringLiteral("ROLLBACK"), nullptr);
            *pstrError = tr("The removal journal %1 cannot be written: %2").arg(m_strPath, strError);
            return false;
        }
        m_bResolvedColumn = true;
    } else {
        QSqlQuery meta(db);
        QString format;
        int iVersion = -1;
        if (meta.exec(QStringLiteral("SELECT key, value FROM meta"))) {
            while (meta.next()) {
                if (meta.value(0).toString() == QLatin1String("format"))
                    format = meta.value(1).toString();
                else if (meta.value(0).toString() == QLatin1String("version"))
                    iVersion = meta.value(1).toInt();
            }
        }
        if (format != QLatin1String(kFormat)) {
            *pstrError = tr("%1 is not a removal journal of this program; undo is off and the file is left as it is.")
                             .arg(m_strPath);
            return false;
        }
        if (iVersion != kVersion) {
            *pstrError = tr("The removal journal %1 was written by another version of the program (format %2, "
                                     "this one reads %3); undo is off and the file is left as it is.")
                             .arg(m_strPath).arg(iVersion).arg(kVersion);
            return false;
        }
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("SELECT id, request, original, place, size, mtime, state, time FROM entries LIMIT 1"))
            || !check.exec(QStringLiteral("SELECT id, method, time FROM requests LIMIT 1"))) {
            *pstrError = tr("The removal journal %1 is damaged (%2); undo is off and the file is left as it is.")
                             .arg(m_strPath, sqlError(check.lastError()));
            return false;
        }
        exec(QStringLiteral("PRAGMA journal_mode = WAL"), nullptr);
        // Journals written before the resolved folders were recorded gain the column; one that
        // cannot be altered is still read, its entries without it.
        m_bResolvedColumn = check.exec(QStringLiteral("SELECT resolved FROM entries LIMIT 1"));
        check.finish();
        if (!m_bResolvedColumn)
            m_bResolvedColumn = exec(QStringLiteral("ALTER TABLE entries ADD COLUMN resolved TEXT NOT NULL DEFAULT ''"), nullptr);
    }
    // Each file's outcome is committed on its own; without a sync per commit that costs
    // little, and a crash loses at most the last outcomes, which undo then works out itself.
    exec(QStringLiteral("PRAGMA synchronous = NORMAL"), nullptr);
    m_bOpen = true;
    return true;
}

bool CRemovalJournal::insertEntries(qint64 i64Request, QList<CEntry> *pEntries, QString *pstrError)
{
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(m_bResolvedColumn
                      ? QStringLiteral("INSERT INTO entries (request, original, place, size, mtime, state, time, resolved)"
                                       " VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                      : QStringLiteral("INSERT INTO entries (request, original, place, size, mtime, state, time)"
                                       " VALUES (?, ?, ?, ?, ?, ?, ?)"));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (CEntry &entry : *pEntries) {
        query.addBindValue(i64Request);
        query.addBindValue(textOf(entry.strOriginal));
        query.addBindValue(textOf(entry.strPlace));
        query.addBindValue(entry.i64Size);
        query.addBindValue(entry.i64MTimeMs);
        query.addBindValue(int(EnState::Pending));
        query.addBindValue(now);
        if (m_bResolvedColumn) {
            // Undo checks it: a folder swapped for a link since would lead the file elsewhere.
            if (entry.strResolved.isEmpty())
                entry.strResolved = dp::platform::canonicalPath(entry.strOriginal);
            query.addBindValue(textOf(entry.strResolved));
        }
        if (!query.exec()) {
            *pstrError = sqlError(query.lastError());
            return false;
        }
        entry.i64Id = query.lastInsertId().toLongLong();
        entry.state = EnState::Pending;
    }
    return true;
}

qint64 CRemovalJournal::beginRequest(EnMethod method, QList<CEntry> *pEntries, QString *pstrError)
{
    if (!m_bOpen || !exec(QStringLiteral("BEGIN IMMEDIATE"), pstrError))
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QStringLiteral("INSERT INTO requests (method, time) VALUES (?, ?)"));
    query.addBindValue(int(method));
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    if (!query.exec()) {
        *pstrError = sqlError(query.lastError());
        exec(QStringLiteral("ROLLBACK"), nullptr);
        return -1;
    }
    const qint64 i64Request = query.lastInsertId().toLongLong();
    if (!insertEntries(i64Request, pEntries, pstrError) || !exec(QStringLiteral("COMMIT"), pstrError)) {
        exec(QStringLiteral("ROLLBACK"), nullptr);
        return -1;
    }
    return i64Request;
}

bool CRemovalJournal::addToRequest(qint64 i64Request, QList<CEntry> *pEntries, QString *pstrError)
{
    if (!m_bOpen || !exec(QStringLiteral("BEGIN IMMEDIATE"), pstrError))
        return false;
    if (!insertEntries(i64Request, pEntries, pstrError) || !exec(QStringLiteral("COMMIT"), pstrError)) {
        exec(QStringLiteral("ROLLBACK"), nullptr);
        return false;
    }
    return true;
}

bool CRemovalJournal::confirm(qint64 i64Entry, bool bDone, const QString &strPlace)
{
    if (!m_bOpen)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(bDone ? QStringLiteral("UPDATE entries SET state = ?, place = ? WHERE id = ?")
                        : QStringLiteral("UPDATE entries SET state = ? WHERE id = ?"));
    query.addBindValue(int(bDone ? EnState::Done : EnState::Failed));
    if (bDone)
        query.addBindValue(textOf(strPlace));
    query.addBindValue(i64Entry);
    if (query.exec())
        return true;
    qCWarning(lcFileOps) << "removal journal" << m_strPath << ":" << sqlError(query.lastError());
    return false;
}

bool CRemovalJournal::confirmAll(const QList<CEntry> &listEntries)
{
    if (!m_bOpen || !exec(QStringLiteral("BEGIN IMMEDIATE"), nullptr))
        return false;
    bool bOk = true;
    for (const CEntry &entry : listEntries)
        bOk = confirm(entry.i64Id, entry.state == EnState::Done, entry.strPlace) && bOk;
    return exec(QStringLiteral("COMMIT"), nullptr) && bOk;
}

bool CRemovalJournal::closeRequest(qint64 i64Request)
{
    if (!m_bOpen)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QStringLiteral("UPDATE entries SET state = ? WHERE request = ? AND state = ?"));
    query.addBindValue(int(EnState::Failed));
    query.addBindValue(i64Request);
    query.addBindValue(int(EnState::Pending));
    return query.exec();
}

bool CRemovalJournal::markRestored(qint64 i64Entry)
{
    if (!m_bOpen)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QStringLiteral("UPDATE entries SET state = ? WHERE id = ?"));
    query.addBindValue(int(EnState::Restored));
    query.addBindValue(i64Entry);
    return query.exec();
}

namespace {

// Pending files count as restorable: a removal cut short by a crash never confirmed them.
const char *const kRequestSelect =
    "SELECT r.id, r.method, r.time,"
    " sum(CASE WHEN e.state IN (1, 3) THEN 1 ELSE 0 END),"
    " sum(CASE WHEN e.state IN (0, 1) THEN 1 ELSE 0 END)"
    " FROM requests r JOIN entries e ON e.request = r.id";

CRemovalJournal::CRequest requestOf(const QSqlQuery &query)
{
    CRemovalJournal::CRequest request;
    request.i64Id = query.value(0).toLongLong();
    request.method = query.value(1).toInt() == int(CRemovalJournal::EnMethod::Move) ? CRemovalJournal::EnMethod::Move
                                                                                   : CRemovalJournal::EnMethod::Trash;
    request.i64TimeMs = query.value(2).toLongLong();
    request.iFiles = query.value(3).toInt();
    request.iRestorable = query.value(4).toInt();
    return request;
}

} // namespace

bool CRemovalJournal::request(qint64 i64Request, CRequest *pRequest, QString *pstrError)
{
    if (!m_bOpen)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QLatin1String(kRequestSelect) + QStringLiteral(" WHERE r.id = ? GROUP BY r.id"));
    query.addBindValue(i64Request);
    if (!query.exec()) {
        *pstrError = sqlError(query.lastError());
        return false;
    }
    if (!query.next()) {
        *pstrError = tr("No removal %1 is recorded.").arg(i64Request);
        return false;
    }
    *pRequest = requestOf(query);
    return true;
}

bool CRemovalJournal::setStates(const QList<QPair<qint64, EnState>> &listStates)
{
    if (!m_bOpen || !exec(QStringLiteral("BEGIN IMMEDIATE"), nullptr))
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QStringLiteral("UPDATE entries SET state = ? WHERE id = ?"));
    bool bOk = true;
    for (const auto &state : listStates) {
        query.addBindValue(int(state.second));
        query.addBindValue(state.first);
        bOk = query.exec() && bOk;
    }
    if (bOk && exec(QStringLiteral("COMMIT"), nullptr))
        return true;
    exec(QStringLiteral("ROLLBACK"), nullptr);
    return false;
}

bool CRemovalJournal::requests(QList<CRequest> *pRequests, QString *pstrError, int iLimit)
{
    pRequests->clear();
    if (!m_bOpen)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QLatin1String(kRequestSelect)
                  + QStringLiteral(" GROUP BY r.id HAVING sum(CASE WHEN e.state IN (0, 1, 3) THEN 1 ELSE 0 END) > 0"
                                   " ORDER BY r.id DESC LIMIT ?"));
    query.addBindValue(iLimit);
    if (!query.exec()) {
        *pstrError = sqlError(query.lastError());
        return false;
    }
    while (query.next())
        pRequests->append(requestOf(query));
    return true;
}

bool CRemovalJournal::entries(qint64 i64Request, QList<CEntry> *pEntries, QString *pstrError)
{
    pEntries->clear();
    if (!m_bOpen)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT id, original, place, size, mtime, state%1 FROM entries WHERE request = ? ORDER BY id")
                      .arg(m_bResolvedColumn ? QStringLiteral(", resolved") : QString()));
    query.addBindValue(i64Request);
    if (!query.exec()) {
        *pstrError = sqlError(query.lastError());
        return false;
    }
    while (query.next()) {
        CEntry entry;
        entry.i64Id = query.value(0).toLongLong();
        entry.strOriginal = pathOf(query.value(1));
        entry.strPlace = pathOf(query.value(2));
        entry.i64Size = query.value(3).toLongLong();
        entry.i64MTimeMs = query.value(4).toLongLong();
        const int state = query.value(5).toInt();
        entry.state = state >= 0 && state <= int(EnState::Restored) ? EnState(state) : EnState::Failed;
        if (m_bResolvedColumn)
            entry.strResolved = pathOf(query.value(6));
        pEntries->append(entry);
    }
    return true;
}

QStringList CRemovalJournal::unconfirmedMovePlaces()
{
    QStringList list;
    if (!m_bOpen)
        return list;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    query.prepare(QStringLiteral("SELECT e.place FROM entries e JOIN requests r ON r.id = e.request"
                                 " WHERE e.state = ? AND r.method = ?"));
    query.addBindValue(int(EnState::Pending));
    query.addBindValue(int(EnMethod::Move));
    if (query.exec()) {
        while (query.next())
            list << pathOf(query.value(0));
    }
    return list;
}

qint64 CRemovalJournal::lastRestorableRequest(QString *pstrError)
{
    if (!m_bOpen)
        return -1;
    QSqlQuery query(QSqlDatabase::database(m_strConnection, false));
    if (!query.exec(QStringLiteral("SELECT max(request) FROM entries WHERE state IN (0, 1)"))) {
        *pstrError = sqlError(query.lastError());
        return -1;
    }
    return query.next() && !query.value(0).isNull() ? query.value(0).toLongLong() : -1;
}
