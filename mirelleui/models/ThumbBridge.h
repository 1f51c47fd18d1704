#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// The few calls the models make into the thumbnail library, in one place so that the
// models build and test against any state of that library.
namespace dp::thumbs {

// 0: not made yet, 1: ready, 2: could not be made.
int thumbnailState(const QString &strPath);
// Makes this one photo the library's whole list of thumbnails wanted now.
void reserveThumbnail(quint64 pGroup, const QString &strPath);
// Asks for the large image; the answer comes back through the library's signal.
void requestBigImage(const QVariant &group, const QString &strPath);

} // namespace dp::thumbs
