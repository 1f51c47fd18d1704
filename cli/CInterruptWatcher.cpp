#include "CInterruptWatcher.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic_bool g_bInterrupted{false};

extern "C" void onSignal(int)
{
    g_bInterrupted = true;
}

constexpr int kPollMs = 50;

} // namespace

CInterruptWatcher::CInterruptWatcher(QObject *parent) : QObject(parent)
{
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        if (g_bInterrupted && !m_bReported) {
            m_bReported = true;
            Q_EMIT sigInterrupted();
        }
    });
    m_poll.start();
}

// The handler stays: an interrupt while the output is being committed must still be seen.
CInterruptWatcher::~CInterruptWatcher() = default;

bool CInterruptWatcher::isInterrupted()
{
    return g_bInterrupted;
}
