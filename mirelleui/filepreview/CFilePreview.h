#pragma once

#include <QMap>
#include <QObject>
#include <QString>

// Tells the screens what kind of file a path names and reads the start of text files
// for the preview pane. Created by the screens ("FPEnum"); holds only its suffix table.
class CFilePreview : public QObject
{
    Q_OBJECT
public:
    enum EnType {
        TypeInvalid = -1,
        TypeText = 0,
        TypeImage = 1,
        TypeVideo = 2,
        TypeAudio = 3,
    };
    Q_ENUM(EnType)

    static constexpr qint64 kTextPreviewBytes = 2048;

    explicit CFilePreview(QObject *parent = nullptr);

    Q_INVOKABLE EnType getFileType(QString strFilePath);
    Q_INVOKABLE QString getTextContent(QString strFilePath);

private:
    QMap<EnType, QString> m_mapSuffixes;
};
