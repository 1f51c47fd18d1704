#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <deque>
#include <list>

struct CThumbRequest
{
    quint64 group = 0;
    QString path;
};

enum class EnThumbJobKind { Thumb, Reserved, BigImage };

struct CThumbJob
{
    EnThumbJobKind kind = EnThumbJobKind::Thumb;
    QVariant group;
    QString path;
};

// The library's pending work in the order the workers take it: large images (the
// user is waiting for one), then the reserved list (what is in view), then front-pushed
// and queued thumbnails. Not thread-safe: CThumbService guards it with its own lock.
class CThumbTaskQueue
{
public:
    // A request already waiting is not queued twice; bFront moves it to the head.
    void pushThumb(const CThumbRequest &request, bool bFront);
    // Replaces the whole reserved list.
    void setReserved(const QList<CThumbRequest> &listRequests);
    // Empties the reserved list and hands back what no worker has taken yet.
    [[nodiscard]] QList<CThumbRequest> takeReserved();
    void pushBigImage(const QVariant &group, const QString &strPath);

    // bSkipBig leaves the large images to another taker.
    [[nodiscard]] bool take(CThumbJob &job, bool bSkipBig = false);
    // Drops every waiting thumbnail, reserved or queued; large images stay.
    void clearThumbs();
    void clear();

    // A large image or a reserved thumbnail waits: someone is looking for it.
    [[nodiscard]] bool hasUrgent() const { return !m_listBig.empty() || hasReserved(); }
    [[nodiscard]] bool hasReserved() const { return !m_listReserved.empty(); }
    [[nodiscard]] int size() const;
    [[nodiscard]] bool isEmpty() const { return size() == 0; }

private:
    static QString keyOf(const CThumbRequest &request);

    std::deque<CThumbJob> m_listBig;
    std::deque<CThumbRequest> m_listReserved;
    std::list<CThumbRequest> m_listThumbs;
    QHash<QString, std::list<CThumbRequest>::iterator> m_mapThumbs;
};
