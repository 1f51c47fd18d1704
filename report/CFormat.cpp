#include "CFormat.h"

#include <QDateTime>

QString CFormat::sizeText(qint64 i64Bytes, const QLocale &locale)
{
    const qint64 i64Size = qMax<qint64>(0, i64Bytes);
    // Three significant digits at most: "1.5 MiB", "250 MiB".
    double dValue = double(i64Size);
    while (dValue >= 1024.0)
        dValue /= 1024.0;
    const int iPrecision = i64Size < 1024 || dValue >= 100.0 ? 0 : 1;
    return locale.formattedDataSize(i64Size, iPrecision, QLocale::DataSizeIecFormat);
}

QString CFormat::dateTimeText(const QDateTime &dateTime, const QLocale &locale)
{
    if (!dateTime.isValid())
        return {};
    QString strDate = locale.dateFormat(QLocale::ShortFormat);
    // Short formats give a two-digit year, which reads wrongly for old photos.
    if (!strDate.contains(QLatin1String("yyyy")))
        strDate.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return locale.toString(dateTime, strDate + QLatin1Char(' ') + locale.timeFormat(QLocale::ShortFormat));
}

QString CFormat::dateTimeText(const QVariant &value, const QLocale &locale)
{
    if (value.type() == QVariant::DateTime)
        return dateTimeText(value.toDateTime(), locale);
    const QString strText = value.toString();
    QDateTime dateTime = QDateTime::fromString(strText, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dateTime.isValid())
        dateTime = QDateTime::fromString(strText, Qt::ISODate);
    // Unknown forms are shown as given rather than dropped.
    return dateTime.isValid() ? dateTimeText(dateTime.toLocalTime(), locale) : strText;
}

QString CFormat::dimensionsText(int iWidth, int iHeight)
{
    return QStringLiteral("%1 × %2").arg(iWidth).arg(iHeight);
}
