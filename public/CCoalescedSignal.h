#pragma once

#include <QObject>
#include <QTimer>

#include <atomic>

// Many requests from any thread become at most one `fired` per interval on this object's
// thread: a scan's per-photo "the totals changed" would otherwise queue thousands of
// notifications that the screens handle all at once.
class CCoalescedSignal : public QObject
{
    Q_OBJECT
public:
    explicit CCoalescedSignal(int iIntervalMs, QObject *pParent = nullptr);

    // Thread-safe; cheap when a notice is already on its way.
    void request();
    // Fires now when a request is waiting (end of a scan: the last figures at once).
    void flush();

Q_SIGNALS:
    void fired();

private:
    void arm();
    void fire();

    QTimer m_timer;
    std::atomic<bool> m_bPending{false};
};
