#pragma once

#include "IScanEngineExtras.h"

#include <QMetaType>
#include <QString>

// The program's own copy of an engine record: it holds its path string and keeps
// pszPath pointing at it through copies and moves.
class CPhotoRecordCopy
{
public:
    CPhotoRecordCopy() = default;
    explicit CPhotoRecordCopy(const PhotoRecord &record);
    CPhotoRecordCopy(const CPhotoRecordCopy &other);
    CPhotoRecordCopy &operator=(const CPhotoRecordCopy &other);

    const PhotoRecord &record() const { return m_record; }
    PhotoRecord &record() { return m_record; }
    const QString &path() const { return m_strPath; }
    // The path of an engine record in Qt's form.
    static QString pathOf(const PhotoRecord &record);

    bool isHidden() const { return m_record.flags & PhotoFlag_Hidden; }
    bool isPreferred() const { return m_record.flags & PhotoFlag_Preferred; }
    bool isMarked() const { return m_record.flags & PhotoFlag_Marked; }
    bool isBurst() const { return m_record.flags & PhotoFlag_Burst; }
    void setMarked(bool bMarked);

private:
    void repoint();

    PhotoRecord m_record;
    QString m_strPath;
};

Q_DECLARE_METATYPE(CPhotoRecordCopy)
