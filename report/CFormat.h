#pragma once

#include <QLocale>
#include <QObject>
#include <QVariant>

class QDateTime;

// The one way sizes, dates and pixel sizes read, on every screen and in the reports: binary
// units with their IEC names, dates in the locale's short form with the full year.
// Published to QML as the singleton Format (import Mirelle 1.0).
class CFormat : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    static QString sizeText(qint64 i64Bytes, const QLocale &locale = QLocale());
    static QString dateTimeText(const QDateTime &dateTime, const QLocale &locale = QLocale());
    // The photo model's "yyyy-MM-dd hh:mm:ss" text, an ISO text or a date-time.
    static QString dateTimeText(const QVariant &value, const QLocale &locale = QLocale());
    static QString dimensionsText(int iWidth, int iHeight);

    Q_INVOKABLE QString size(double dBytes) const { return sizeText(static_cast<qint64>(dBytes)); }
    Q_INVOKABLE QString dateTime(const QVariant &value) const { return dateTimeText(value); }
    Q_INVOKABLE QString dimensions(int iWidth, int iHeight) const { return dimensionsText(iWidth, iHeight); }
};
