#include "ThumbBridge.h"

#include "ThumbForge.h"

#include <QImage>

namespace dp::thumbs {

int thumbnailState(const QString &strPath)
{
    // The image form answers exactly as GetThumb does but needs no QPixmap, so a model
    // can be built for a group of thousands of photos without converting each one.
    QImage image;
    if (!CImgThumbManager::GetInstance()->GetThumbImage(strPath, image))
        return 0;
    return image.isNull() ? 2 : 1;
}

void reserveThumbnail(quint64 pGroup, const QString &strPath)
{
    QList<stu_ThumbTask> listTasks{stu_ThumbTask{pGroup, strPath}};
    CImgThumbManager::GetInstance()->SetReserveThumbList(listTasks);
}

void requestBigImage(const QVariant &group, const QString &strPath)
{
    CImgThumbManager::GetInstance()->slotNewBigImgTask(group, strPath);
}

} // namespace dp::thumbs
