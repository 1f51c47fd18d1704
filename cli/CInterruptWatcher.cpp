#include "CInterruptWatcher.h"

#include "CPlatform.h"
#include "IConsole.h"

#include <atomic>

namespace {

std::atomic_bool g_bInterrupted{false};

constexpr int kPollMs = 50;

} // namespace

CInterruptWatcher::CInterruptWatcher(QObject *parent) : QObject(parent)
{
    dp::platform::console().catchInterrupts(&g_bInterrupted);
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
