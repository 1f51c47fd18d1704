#include "CUsageEvent.h"

namespace CUsageEvent {

QString encode(const QStringList &listKeyValues)
{
    if (listKeyValues.size() % 2 != 0)
        return QString();
    QString text = QStringLiteral("{");
    for (int i = 0; i + 1 < listKeyValues.size(); i += 2)
        text += QStringLiteral("\"%1\":\"%2\",").arg(listKeyValues[i], listKeyValues[i + 1]);
    if (text.endsWith(QLatin1Char(',')))
        text.chop(1);
    return text + QLatin1Char('}');
}

} // namespace CUsageEvent
