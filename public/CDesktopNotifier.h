#pragma once

#include <QString>

// Shows a message through the desktop's notification service (org.freedesktop.Notifications).
namespace CDesktopNotifier {

// The notification's id, or -1 when no notification service answered.
int notify(const QString &strText, const QString &strTitle = QString());

} // namespace CDesktopNotifier
