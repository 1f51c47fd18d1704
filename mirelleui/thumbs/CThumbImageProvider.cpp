#include "CThumbImageProvider.h"

#include "ThumbForge.h"

#include <QUrl>

CThumbImageProvider::CThumbImageProvider(bool bLarge)
    : QQuickImageProvider(QQmlImageProviderBase::Image, QQmlImageProviderBase::ForceAsynchronousImageLoading)
    , m_bLarge(bLarge)
{
}

QImage CThumbImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    // QML scales the picture itself; the library already keeps it small.
    Q_UNUSED(size)
    Q_UNUSED(requestedSize)
    const QString strKey = QUrl::fromPercentEncoding(id.toUtf8());
    QImage image;
    if (strKey.isEmpty())
        return image;
    if (m_bLarge) {
        CImgThumbManager::GetInstance()->GetBigImgImage(strKey, image);
        return image;
    }
    if (CPageThumbCache::GetInstance()->GetThumbImage(strKey, image) && !image.isNull())
        return image;
    image = QImage();
    CImgThumbManager::GetInstance()->GetThumbImage(strKey, image);
    return image;
}
