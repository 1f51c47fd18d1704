#pragma once

#include "CPhotoRecordCopy.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVector>

// The rule that proposes which copies of a group to remove. Pure: it only sets
// and clears the mark bit of the records it is given.
namespace CAutoMarkRule {

// Why the rule marked a photo: the preference that decided it.
enum class EnMarkReason { None, LessDetail, HeicBesideOthers, LowerResolution, NotOriginal, Older, NoBetter, ByteCopy };

// The reason as the screens show it, in the user's language.
QString reasonText(EnMarkReason reason);
// The reason in the source language, for files other programs read; empty for None.
QString reasonKey(EnMarkReason reason);

// Clears the marks of the group's visible files; returns the paths it cleared.
QStringList clearMarks(QList<CPhotoRecordCopy> &files);

// Marks the copies to remove by the first preference that marks anything; returns the
// marked paths. Never marks every visible file of a group, and marks nothing in a group
// with fewer than two visible files. Burst frames are spared unless they are exact
// copies (similarity 100): the rule keeps at least one of the other candidates.
// listContentKeys, when given, holds the engine's content key of each file (0: unknown);
// of the files the preferences keep, byte-identical ones (equal key and size) are then
// marked too but one: the one in the folder holding most of the group's originals, then
// the one written first (listModified: milliseconds since the epoch, 0 unknown), then
// the first in the list. pMapReasons, when given, receives why each marked path was marked.
QStringList markGroup(QList<CPhotoRecordCopy> &files, const QVector<quint64> &listContentKeys = {},
                      const QVector<qint64> &listModified = {}, QHash<QString, EnMarkReason> *pMapReasons = nullptr);

// Which files of a group have a byte-identical partner by these content keys (0:
// unknown); only their modification times matter to markGroup.
QVector<bool> byteCopies(const QList<CPhotoRecordCopy> &files, const QVector<quint64> &listContentKeys);

} // namespace CAutoMarkRule
