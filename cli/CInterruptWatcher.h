#pragma once

#include <QObject>
#include <QTimer>

// Turns an interrupt or a request to terminate into a Qt signal on the event loop; the
// platform's handler itself only sets a flag.
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
