#pragma once

#include <QObject>

// Stand-in for the manager's QML type: only its enumeration is used by the screens.
class CFakeDfmEnum : public QObject
{
    Q_OBJECT
public:
    enum EnDupPicDelType {
        DupPicType_Invalid = -1,
        DupPicType_DelPermanentiy = 0,
        DupPicType_MoveToTrash = 1,
        DupPicType_MoveToFolder = 2
    };
    Q_ENUM(EnDupPicDelType)

    explicit CFakeDfmEnum(QObject *parent = nullptr) : QObject(parent) {}
};

// Stand-in for the file preview type.
class CFakeFpEnum : public QObject
{
    Q_OBJECT
public:
    enum EnType { TypeInvalid = -1, TypeText = 0, TypeImage = 1, TypeVideo = 2, TypeAudio = 3 };
    Q_ENUM(EnType)

    explicit CFakeFpEnum(QObject *parent = nullptr) : QObject(parent) {}
    Q_INVOKABLE EnType getFileType(const QString &strFilePath) const
    {
        return strFilePath.endsWith(QLatin1String(".jpg")) ? TypeImage : TypeInvalid;
    }
    Q_INVOKABLE QString getTextContent(const QString &) const { return {}; }
};
