#include "CAutoMarkRule.h"

#include <algorithm>
#include <array>
#include <functional>

#include <QCoreApplication>
#include <QHash>

namespace {

using CAutoMarkRule::EnMarkReason;
using CPredicate = std::function<bool(const CPhotoRecordCopy &)>;

bool isHeic(const QString &strPath)
{
    return strPath.endsWith(QLatin1String(".heic"), Qt::CaseInsensitive);
}

bool hasSuffix(const QString &strPath)
{
    const int dot = strPath.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && dot < strPath.size() - 1 && dot > strPath.lastIndexOf(QLatin1Char('/'));
}

// A burst frame is another moment of the scene, not a copy, unless its content equals
// the group's first photo's.
bool isSpared(const CPhotoRecordCopy &file)
{
    return file.isBurst() && file.record().similarity != 100;
}

// Marks the visible unmarked candidates that match; if that would take every one of
// them, the first stays, so at least one copy is kept.
QList<int> markWhere(QList<CPhotoRecordCopy> &files, const CPredicate &predicate)
{
    int iCandidates = 0;
    QList<int> marked;
    for (int i = 0; i < files.size(); ++i) {
        CPhotoRecordCopy &file = files[i];
        if (file.isHidden() || file.isMarked() || isSpared(file))
            continue;
        ++iCandidates;
        if (predicate(file))
            marked << i;
    }
    if (marked.isEmpty())
        return {};
    if (marked.size() == iCandidates)
        marked.removeFirst();
    for (int i : qAsConst(marked))
        files[i].setMarked(true);
    return marked;
}

QStringList pathsOf(const QList<CPhotoRecordCopy> &files, const QList<int> &rows, EnMarkReason reason,
                    QHash<QString, EnMarkReason> *pMapReasons)
{
    QStringList paths;
    for (int i : rows) {
        paths << files.at(i).path();
        if (pMapReasons)
            pMapReasons->insert(files.at(i).path(), reason);
    }
    return paths;
}

QString folderOf(const QString &strPath)
{
    return strPath.left(strPath.lastIndexOf(QLatin1Char('/')) + 1);
}

using CBytesKey = QPair<quint64, quint64>;

// Files of equal content key and size, by key, in list order; unknown keys are left out.
QHash<CBytesKey, QList<int>> sameBytes(const QList<CPhotoRecordCopy> &files, const QVector<quint64> &listContentKeys,
                                       bool bKeptOnly)
{
    QHash<CBytesKey, QList<int>> map;
    if (listContentKeys.size() != files.size())
        return map;
    for (int i = 0; i < files.size(); ++i) {
        const CPhotoRecordCopy &file = files.at(i);
        if (listContentKeys.at(i) != 0 && !file.isHidden() && !(bKeptOnly && file.isMarked()))
            map[qMakePair(listContentKeys.at(i), quint64(file.record().fileSize))] << i;
    }
    return map;
}

// A backup beside the original is still a second copy to remove: of the kept files
// with equal bytes only one stays, preferably where the group's originals live, since
// that is the folder the user keeps, else the one written first, which a backup is not.
QList<int> markByteCopies(QList<CPhotoRecordCopy> &files, const QVector<quint64> &listContentKeys,
                          const QVector<qint64> &listModified)
{
    QHash<QString, int> mapOriginalsInFolder;
    for (const CPhotoRecordCopy &file : qAsConst(files)) {
        if (!file.isHidden() && file.isPreferred())
            ++mapOriginalsInFolder[folderOf(file.path())];
    }
    const auto modified = [&](int i) { return i < listModified.size() ? listModified.at(i) : 0; };
    const auto better = [&](int a, int b) {
        const int originalsA = mapOriginalsInFolder.value(folderOf(files.at(a).path()));
        const int originalsB = mapOriginalsInFolder.value(folderOf(files.at(b).path()));
        if (originalsA != originalsB)
            return originalsA > originalsB;
        if (modified(a) != 0 && modified(b) != 0 && modified(a) != modified(b))
            return modified(a) < modified(b);
        return a < b;
    };
    QList<int> marked;
    const QHash<CBytesKey, QList<int>> map = sameBytes(files, listContentKeys, true);
    for (const QList<int> &same : map) {
        if (same.size() < 2)
            continue;
        const int keep = *std::min_element(same.begin(), same.end(), better);
        for (int i : same) {
            if (i != keep)
                marked << i;
        }
    }
    std::sort(marked.begin(), marked.end());
    for (int i : qAsConst(marked))
        files[i].setMarked(true);
    return marked;
}

// In the order of EnMarkReason, from None.
constexpr const char *kReasonTexts[] = {
    "",
    QT_TRANSLATE_NOOP("CAutoMarkRule", "less detail"),
    QT_TRANSLATE_NOOP("CAutoMarkRule", "HEIC beside other formats"),
    QT_TRANSLATE_NOOP("CAutoMarkRule", "lower resolution"),
    QT_TRANSLATE_NOOP("CAutoMarkRule", "not a camera original"),
    QT_TRANSLATE_NOOP("CAutoMarkRule", "older"),
    QT_TRANSLATE_NOOP("CAutoMarkRule", "no better than the kept photo"),
    QT_TRANSLATE_NOOP("CAutoMarkRule", "byte copy of the kept photo"),
};

} // namespace

namespace CAutoMarkRule {

QString reasonKey(EnMarkReason reason)
{
    return QString::fromLatin1(kReasonTexts[int(reason)]);
}

QString reasonText(EnMarkReason reason)
{
    return reason == EnMarkReason::None ? QString()
                                        : QCoreApplication::translate("CAutoMarkRule", kReasonTexts[int(reason)]);
}

QStringList clearMarks(QList<CPhotoRecordCopy> &files)
{
    QStringList paths;
    for (CPhotoRecordCopy &file : files) {
        if (file.isHidden() || !file.isMarked())
            continue;
        file.setMarked(false);
        paths << file.path();
    }
    return paths;
}

QVector<bool> byteCopies(const QList<CPhotoRecordCopy> &files, const QVector<quint64> &listContentKeys)
{
    QVector<bool> list(files.size(), false);
    const QHash<CBytesKey, QList<int>> map = sameBytes(files, listContentKeys, false);
    for (const QList<int> &same : map) {
        for (int i : same)
            list[i] = same.size() > 1;
    }
    return list;
}

QStringList markGroup(QList<CPhotoRecordCopy> &files, const QVector<quint64> &listContentKeys,
                      const QVector<qint64> &listModified, QHash<QString, EnMarkReason> *pMapReasons)
{
    int iVisible = 0;
    double dMaxSharpness = 0.0;
    uint32_t iMaxPixels = 0;
    uint64_t iLatest = 0;
    bool bAnyHeic = false;
    bool bAnyOther = false;
    bool bAnyPreferred = false;
    bool bAnyPlain = false;
    for (const CPhotoRecordCopy &file : files) {
        const PhotoRecord &r = file.record();
        dMaxSharpness = qMax(dMaxSharpness, r.definition);
        iMaxPixels = qMax(iMaxPixels, uint32_t(r.width) * uint32_t(r.height));
        iLatest = qMax(iLatest, r.dateTime);
        if (file.isHidden())
            continue;
        ++iVisible;
        if (isHeic(file.path()))
            bAnyHeic = true;
        else if (hasSuffix(file.path()))
            bAnyOther = true;
        (file.isPreferred() ? bAnyPreferred : bAnyPlain) = true;
    }
    if (files.size() < 2 || iVisible < 2)
        return {};

    // Run once per group over the whole scan: a plain array keeps it free of allocations.
    // Rule i decides with reason i + 1.
    const std::array<CPredicate, 6> rules = {
        // A clearly blurred copy: sharpness within the band below the sharpest.
        [dMaxSharpness](const CPhotoRecordCopy &f) {
            const double d = f.record().definition;
            return dMaxSharpness > 0 && d >= dMaxSharpness / 6 && d <= 5 * dMaxSharpness / 6;
        },
        [bAnyHeic, bAnyOther](const CPhotoRecordCopy &f) {
            return bAnyHeic && bAnyOther && isHeic(f.path());
        },
        [iMaxPixels](const CPhotoRecordCopy &f) {
            return uint32_t(f.record().width) * uint32_t(f.record().height) < iMaxPixels;
        },
        [bAnyPreferred, bAnyPlain](const CPhotoRecordCopy &f) { return bAnyPreferred && bAnyPlain && !f.isPreferred(); },
        [iLatest](const CPhotoRecordCopy &f) { return f.record().dateTime < iLatest; },
        [](const CPhotoRecordCopy &) { return true; },
    };
    QStringList marked;
    for (size_t i = 0; i < rules.size() && marked.isEmpty(); ++i)
        marked = pathsOf(files, markWhere(files, rules[i]), EnMarkReason(i + 1), pMapReasons);
    return marked
        + pathsOf(files, markByteCopies(files, listContentKeys, listModified), EnMarkReason::ByteCopy, pMapReasons);
}

} // namespace CAutoMarkRule
