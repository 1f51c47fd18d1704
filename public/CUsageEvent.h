#pragma once

#include <QString>
#include <QStringList>

namespace CUsageEvent {

// Encodes key, value, key, value, ... as {"key":"value",...}; an odd-length list gives "".
// Quotes are not escaped: the suite reads the text as it is.
QString encode(const QStringList &listKeyValues);

} // namespace CUsageEvent
