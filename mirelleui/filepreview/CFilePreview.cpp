#include "CFilePreview.h"

#include <QFile>
#include <QFileInfo>

CFilePreview::CFilePreview(QObject *parent) : QObject(parent)
{
    m_mapSuffixes = {
        {TypeText, QStringLiteral("*.txt *.ini *.log *.c *.h *.java *.cpp *.ui *.pro *.html *.xml *.qml")},
        {TypeImage, QStringLiteral("*.jpg *.png *.gif *.bmp *.ico *.jpeg")},
        {TypeVideo, QStringLiteral("*.ts *.mp4 *.avi *.flv *.mkv *.3gp")},
        {TypeAudio, QStringLiteral("*.mp3 *.ogg *.wav *.wma *.ape *.ra")},
    };
}

CFilePreview::EnType CFilePreview::getFileType(QString strFilePath)
{
    if (strFilePath.isEmpty())
        return TypeInvalid;
    const QFileInfo info(strFilePath);
    if (info.size() < 1)
        return TypeInvalid;
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return TypeInvalid;
    // Whole suffixes only ("ml" is not "xml"), and case-blind ("JPG" is "jpg").
    const QString pattern = QStringLiteral("*.") + suffix.toLower();
    for (auto it = m_mapSuffixes.cbegin(); it != m_mapSuffixes.cend(); ++it) {
        if (it.value().split(QLatin1Char(' ')).contains(pattern))
            return it.key();
    }
    return TypeInvalid;
}

QString CFilePreview::getTextContent(QString strFilePath)
{
    if (strFilePath.isEmpty())
        return QString();
    QFile file(strFilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.read(kTextPreviewBytes));
}
