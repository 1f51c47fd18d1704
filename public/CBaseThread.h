#pragma once

#include <QThread>

#include <atomic>

// Base of the program's one-shot workers. A started worker deletes itself after
// its run; owners hold it through a QPointer.
class CBaseThread : public QThread
{
    Q_OBJECT
public:
    static constexpr int kCancelledResult = 20130;

    explicit CBaseThread(QObject *parent = nullptr);

    bool isCancelled() const { return m_bCancelled.load(); }
    bool isFinishedRun() const { return m_bFinished.load(); }

protected:
    virtual int doRun() = 0;
    virtual bool canCancel() { return true; }

    // run() is final here so that every worker reports its result the same way.
    void run() final;

Q_SIGNALS:
    void sigFinished(int iResult);

public Q_SLOTS:
    void onIsRunning(bool &b);
    void onCancel();

private:
    std::atomic_bool m_bFinished{false};
    std::atomic_bool m_bCancelled{false};
};
