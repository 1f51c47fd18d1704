#pragma once

#include <QObject>
#include <QTimer>

// Turns SIGINT and SIGTERM into a Qt signal on the event loop; the handler itself only
// sets a flag, which is all a signal handler may safely do.
class CInterruptWatcher : public QObject
{
    Q_OBJECT
public:
    explicit CInterruptWatcher(QObject *parent = nullptr);
    ~CInterruptWatcher() override;

    static bool isInterrupted();

Q_SIGNALS:
    void sigInterrupted();

private:
    QTimer m_poll;
    bool m_bReported = false;
};
