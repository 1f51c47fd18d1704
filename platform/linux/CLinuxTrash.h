#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// The freedesktop trash (the home trash and each volume's .Trash/$uid or .Trash-$uid), written
// with the system's own calls so that the record of any file name, bytes that are not UTF-8
// and line feeds included, names the file exactly. Used by CLinuxFileOps.
class CLinuxTrash
{
public:
    // Moves a file where a rename cannot: across filesystems, without replacing.
    using FnMove = std::function<bool(const QByteArray &source, const QByteArray &target, QString *pstrError)>;

    struct CDir
    {
        QByteArray dir;   // holds files/ and info/
        QByteArray top;   // relative record paths start here; empty for the home trash
        QString strProblem;
        qint64 i64Free = -1;
    };

    explicit CLinuxTrash(FnMove fnMove) : m_fnMove(std::move(fnMove)) {}

    // The trash a file goes to; with bCreate its folders are made, otherwise strProblem
    // tells whether they could be.
    static CDir trashFor(const QByteArray &path, bool bCreate);

    [[nodiscard]] bool put(const QByteArray &path, QByteArray *pTrashed, QString *pstrError) const;
    [[nodiscard]] bool restore(const QByteArray &trashed, const QByteArray &original, QString *pstrError) const;
    // The trashed file of the newest record naming original, or "" when there is none.
    static QByteArray find(const QByteArray &original);

    // RFC 2396 escaping as the trash standard asks: unreserved characters and "/" stay,
    // every other byte becomes %XX.
    static QByteArray encodePath(const QByteArray &path);
    // The absolute original paths a record may mean: as escaped by the standard, and as
    // written raw by writers that do not escape; empty when the record is unreadable.
    static QList<QByteArray> recordPaths(const QByteArray &infoFile, QByteArray *pDeletionDate = nullptr);

private:
    FnMove m_fnMove;
};
