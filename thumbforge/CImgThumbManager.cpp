#include "ThumbForge.h"

#include "CImageDecoder.h"
#include "CImageFormat.h"
#include "CThumbDiskCache.h"
#include "CThumbService.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>

#include <memory>

namespace {

// The interface header is shared with the program and carries no members; the
// service the one manager drives lives here, made and destroyed with it.
std::unique_ptr<CThumbService> s_pService;

CThumbService &service()
{
    CImgThumbManager::GetInstance();
    return *s_pService;
}

// Workers must be gone before Qt's own globals are torn down at exit.
void stopAtExit()
{
    if (s_pService)
        s_pService->stop();
}

bool toPixmap(bool bFound, const QImage &image, QPixmap &pixmap)
{
    if (bFound)
        pixmap = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    return bFound;
}

} // namespace

CImgThumbManager *CImgThumbManager::GetInstance()
{
    static CImgThumbManager s_instance;
    return &s_instance;
}

CImgThumbManager::CImgThumbManager(QObject *parent)
    : QObject(parent)
{
    s_pService = std::make_unique<CThumbService>(CThumbDiskCache::defaultRoot(), CThumbService::defaultThreadCount(),
                                                 CThumbService::kThumbBudgetBytes, CThumbService::kIdleThreads);
    s_pService->setCallbacks(
        [this](const QVariant &group, const QString &strPath, bool bOk) { emit sigImgThumbResult(group, strPath, bOk); },
        [this](const QVariant &group, const QString &strPath, const QVariantMap &mapMeta, bool bOk) {
            emit sigBigImgResult(group, strPath, mapMeta, bOk);
        });
}

CImgThumbManager::~CImgThumbManager()
{
    Stop();
    s_pService.reset();
}

void CImgThumbManager::Start()
{
    static bool s_bHooked = false;
    if (!s_bHooked && QCoreApplication::instance()) {
        qAddPostRoutine(stopAtExit);
        s_bHooked = true;
    }
    s_pService->start();
}

void CImgThumbManager::Stop()
{
    if (s_pService)
        s_pService->stop();
}

void CImgThumbManager::EnPutThumbTask(const stu_ThumbTask &task, bool bFront)
{
    s_pService->pushThumb(task.group, task.path, bFront);
}

void CImgThumbManager::SetReserveThumbList(QList<stu_ThumbTask> &listTasks)
{
    QList<CThumbRequest> listRequests;
    listRequests.reserve(listTasks.size());
    for (const stu_ThumbTask &task : qAsConst(listTasks))
        listRequests.append(CThumbRequest{task.group, task.path});
    s_pService->setReserved(listRequests);
}

bool CImgThumbManager::GetThumb(const QString &strKey, QPixmap &pixmap)
{
    QImage image;
    return toPixmap(s_pService->findThumb(strKey, image), image, pixmap);
}

bool CImgThumbManager::GetBigImg(const QString &strKey, QPixmap &pixmap)
{
    QImage image;
    return toPixmap(s_pService->findBigImage(strKey, image), image, pixmap);
}

bool CImgThumbManager::GetThumbImage(const QString &strKey, QImage &image)
{
    return s_pService->findThumb(strKey, image);
}

bool CImgThumbManager::GetBigImgImage(const QString &strKey, QImage &image)
{
    return s_pService->findBigImage(strKey, image);
}

void CImgThumbManager::slotNewBigImgTask(QVariant group, QString path)
{
    s_pService->pushBigImage(group, path);
}

CImgThumbTaskDeque *CImgThumbTaskDeque::GetInstance()
{
    static CImgThumbTaskDeque s_instance;
    return &s_instance;
}

void CImgThumbTaskDeque::ClearAllThumbTask()
{
    service().clearThumbs();
}

CPageThumbCache *CPageThumbCache::GetInstance()
{
    static CPageThumbCache s_instance;
    return &s_instance;
}

bool CPageThumbCache::GetThumb(const QString &strKey, QPixmap &pixmap)
{
    QImage image;
    return toPixmap(service().findPageThumb(strKey, image), image, pixmap);
}

bool CPageThumbCache::GetThumbImage(const QString &strKey, QImage &image)
{
    return service().findPageThumb(strKey, image);
}

bool GetImgWidthHeight(const wchar_t *path, unsigned &width, unsigned &height)
{
    if (!path || !*path)
        return false;
    QSize size;
    if (!CImageDecoder::readSize(QString::fromWCharArray(path), size))
        return false;
    width = static_cast<unsigned>(size.width());
    height = static_cast<unsigned>(size.height());
    return true;
}

bool IsRawImagePath(const QString &strPath)
{
    return CImageFormat::isRawSuffix(QFileInfo(strPath).suffix());
}

void SetImgThumbSource(ImgThumbSourceFn fnSource)
{
    // Clearing must work during teardown too, when the manager may already be gone.
    if (!fnSource) {
        if (s_pService)
            s_pService->setPreparedSource({});
        return;
    }
    service().setPreparedSource(std::move(fnSource));
}
